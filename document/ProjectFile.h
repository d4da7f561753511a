#pragma once
// The ".qlr" project file: the categories with their fields, the category
// records and every layout value, fonts included, as one flat little-endian
// sequence with no header. Reading builds a fresh document and a fresh copy of
// the layout, so a damaged file never touches the document that is open.

#include "FileFailure.h"
#include "FormDocument.h"
#include "LayoutSettings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>

// The message for a file that ends where it must go on or holds impossible counts.
extern const char* const kReadBeyondEndOfFile; // "Read beyond end of file"

enum class ProjectReadStatus {
    Ok,
    CannotOpen, // the file could not be opened; nothing to tell the user
    Damaged,    // error holds the message to show
};

struct ProjectReadResult {
    ProjectReadStatus status = ProjectReadStatus::Damaged;
    // What went wrong, in English, as the command line prints it.
    QString error;
    // The same for the window, a fixed text to show through the translation
    // table: German, or kReadBeyondEndOfFile for a file that ends too early.
    QString reason;
    // Set only when status is Ok.
    std::unique_ptr<FormDocument> document;
    // The layout after the load: the values the file holds, the others as they
    // were in the `current` settings handed to the reader.
    LayoutSettings settings;

    bool ok() const { return status == ProjectReadStatus::Ok; }
};

// Parses a whole project file. Trailing sections the file lacks keep their
// values from `current`.
ProjectReadResult ReadProjectFile(QByteArrayView bytes, const LayoutSettings& current);
// Reads the file at path and parses it; CannotOpen when it cannot be opened.
ProjectReadResult ReadProjectFileFromPath(const QString& path, const LayoutSettings& current);

// The complete file for a document and its layout.
QByteArray SerializeProject(const FormDocument& document, const LayoutSettings& settings);
// Writes the file atomically: on failure (false) the former file is untouched and
// *failure (if given) names the file and the reason.
bool WriteProjectFile(const QString& path, const FormDocument& document,
                      const LayoutSettings& settings, FileFailure* failure = nullptr);
