#include "Translator.h"

#include "ProgramFiles.h"
#include "TranslationFile.h"

#include <QFile>

namespace {
const QString kTranslationFile = QStringLiteral("translate.dat");

// Removes U+0020 only, counting how many went from each end.
QString StripSpaces(const QString& text, int& lead, int& trail) {
    lead = 0;
    trail = 0;
    const qsizetype n = text.size();
    while (lead < n && text.at(lead) == u' ')
        ++lead;
    while (trail < n - lead && text.at(n - 1 - trail) == u' ')
        ++trail;
    return text.mid(lead, n - lead - trail);
}

// Removes every character up to and including U+0020 from both ends.
QString StripBlanks(const QString& text) {
    qsizetype from = 0, to = text.size();
    while (from < to && text.at(from).unicode() <= 0x20)
        ++from;
    while (to > from && text.at(to - 1).unicode() <= 0x20)
        --to;
    return text.mid(from, to - from);
}
} // namespace

void Translator::InitTranslation(const QString& path) {
    progpath = path;
    table.Clear();
    LoadTranslation();
    table.BuildIndex();
}

QString Translator::FilePath() const {
    return ReadPath(progpath, kTranslationFile);
}

void Translator::LoadTranslation() {
    QByteArray bytes;
    if (ReadProgramFile(progpath, kTranslationFile, &bytes)) ReadTranslationBytes(bytes, table);
}

bool Translator::SaveTranslation() {
    if (batchDepth > 0) {
        unsaved = true;
        return true;
    }
    unsaved = false;
    const bool saved = WriteProgramFile(progpath, kTranslationFile, TranslationBytes(table));
    if (saved == !saveFailing) return saved;
    // Set before the handler runs: it may look a text up, which saves again.
    saveFailing = !saved;
    if (saveStateHandler) saveStateHandler(saved);
    return saved;
}

void Translator::EndBatch() {
    if (batchDepth > 0 && --batchDepth == 0 && unsaved) SaveTranslation();
}

QString Translator::TranslateText(const QString& text) {
    if (text.isEmpty()) return text;
    int lead = 0, trail = 0;
    const QString key = StripSpaces(text, lead, trail);
    if (key.isEmpty()) return text;
    const int row = table.FindRow(key);
    if (row >= 0) {
        // A language with no column of its own translates nothing.
        if (language < 0 || language >= kTranslationColumns) return text;
        const QString cell = table.Cell(row, language);
        if (cell.isEmpty()) return text;
        return QString(lead, u' ') + StripBlanks(cell) + QString(trail, u' ');
    }
    std::array<QString, kTranslationColumns> cells;
    cells[0] = key;
    if (table.AppendRow(cells)) {
        table.AddIndexEntry(key, table.RowCount() - 1);
        SaveTranslation();
    }
    return text;
}

Translator& ProgramTranslator() {
    static Translator translator;
    return translator;
}

QString TranslateText(const QString& text) {
    return ProgramTranslator().TranslateText(text);
}
