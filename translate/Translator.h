#pragma once
// The program-wide translation: the table, the current language and where
// "translate.dat" lives. Every German text shown passes through TranslateText.

#include "TranslationTable.h"

#include <QString>
#include <cstdint>
#include <functional>

class Translator {
  public:
    // Empties the table, reads "translate.dat" (the user's copy first, see
    // ProgramFiles.h) and builds the index. Starts empty when there is no file.
    // When the file read is not the table shipped with the program, the shipped
    // table's texts fill the cells the user's table leaves empty and its rows
    // missing there are appended; the user's cells are never replaced. The
    // result is saved once when anything was filled.
    void InitTranslation(const QString& programDir);
    // Fills the table read from the shipped one as InitTranslation says; true
    // when anything changed.
    bool FillFromShippedTable();
    // Where the table shipped with the program lies (ProgramDataDir).
    QString ShippedFilePath() const;
    // Appends the rows of "translate.dat"; used by InitTranslation.
    void LoadTranslation();
    // Rewrites "translate.dat" from all rows, atomically. False when nothing could be
    // written; the table in memory goes on working. While a batch is open
    // (BeginBatch) the write waits for the batch's end.
    bool SaveTranslation();

    // The text in the current language; a German text not in the table is
    // appended as a new row with empty translations and the file rewritten.
    QString TranslateText(const QString& text);

    // For the editor: cell access, change and row deletion. Callers save afterwards.
    int RowCount() const { return table.RowCount(); }
    QString Cell(int row, int cell) const { return table.Cell(row, cell); }
    void SetTranslationCell(int row, int cell, const QString& text) {
        table.SetCell(row, cell, text);
    }
    void DeleteTranslationRow(int row) { table.DeleteRow(row); }

    // Told when saving starts to fail (false) and when it works again (true):
    // a run of failed saves, one per keystroke in the editor, is reported once.
    void SetSaveStateHandler(std::function<void(bool saved)> handler) {
        saveStateHandler = std::move(handler);
    }
    bool SaveFailing() const { return saveFailing; }

    // Rows appended during a batch are written once, when the outermost batch ends.
    void BeginBatch() { ++batchDepth; }
    void EndBatch();

    const TranslationTable& Table() const { return table; }
    QString FilePath() const; // where the file is read from now
    QString ProgramPath() const { return programDir; }

    // Current language: 0 German, 1 English, 2 French, 3 Dutch; 4..19 free
    // columns. Any other number translates nothing.
    std::int32_t language = 0;
    // The language stored in the options file at start.
    std::int32_t storedLanguage = 0;

  private:
    TranslationTable table;
    QString programDir;
    int batchDepth = 0;
    bool unsaved = false;
    bool saveFailing = false;
    std::function<void(bool)> saveStateHandler;
};

// The one table of the program.
Translator& ProgramTranslator();

// TranslateText of the program-wide table.
QString TranslateText(const QString& text);

// Opens a batch on construction and closes it on destruction.
class TranslationBatch {
  public:
    explicit TranslationBatch(Translator& t) : translator(t) { translator.BeginBatch(); }
    ~TranslationBatch() { translator.EndBatch(); }
    TranslationBatch(const TranslationBatch&) = delete;
    TranslationBatch& operator=(const TranslationBatch&) = delete;

  private:
    Translator& translator;
};
