#include "Translator.h"

#include "ProgramFiles.h"
#include "TranslationFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

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
    programDir = path;
    table.Clear();
    LoadTranslation();
    const bool filled = FillFromShippedTable();
    table.BuildIndex();
    if (filled) SaveTranslation();
}

QString Translator::ShippedFilePath() const {
    return QDir(ProgramDataDir(programDir)).filePath(kTranslationFile);
}

bool Translator::FillFromShippedTable() {
    const QFileInfo shipped(ShippedFilePath());
    if (!shipped.isFile()) return false;
    const QFileInfo own(FilePath());
    // Read already: a fresh installation works on the shipped table itself.
    if (own.exists() && own.canonicalFilePath() == shipped.canonicalFilePath()) return false;
    QFile file(shipped.filePath());
    if (!file.open(QIODevice::ReadOnly)) return false;
    TranslationTable from;
    if (ReadTranslationBytes(file.readAll(), from) <= 0) return false;

    QHash<QString, int> rowOf; // the first row of each German text, as the lookup finds it
    for (int r = 0; r < table.RowCount(); ++r) {
        const QString german = table.Cell(r, 0);
        if (!german.isEmpty() && !rowOf.contains(german)) rowOf.insert(german, r);
    }
    bool changed = false;
    for (int r = 0; r < from.RowCount(); ++r) {
        const QString german = from.Cell(r, 0);
        if (german.isEmpty()) continue;
        const auto found = rowOf.constFind(german);
        if (found == rowOf.cend()) {
            std::array<QString, kTranslationColumns> cells;
            for (int c = 0; c < kTranslationColumns; ++c)
                cells[std::size_t(c)] = from.Cell(r, c);
            if (!table.AppendRow(cells)) break;
            rowOf.insert(german, table.RowCount() - 1);
            changed = true;
            continue;
        }
        // The user's own wording wins; only cells left empty are filled.
        for (int c = 1; c < kTranslationColumns; ++c) {
            const QString text = from.Cell(r, c);
            if (text.isEmpty() || !table.Cell(*found, c).isEmpty()) continue;
            table.SetCell(*found, c, text);
            changed = true;
        }
    }
    return changed;
}

QString Translator::FilePath() const {
    return ReadPath(programDir, kTranslationFile);
}

void Translator::LoadTranslation() {
    QByteArray bytes;
    if (ReadProgramFile(programDir, kTranslationFile, &bytes)) ReadTranslationBytes(bytes, table);
}

bool Translator::SaveTranslation() {
    if (batchDepth > 0) {
        unsaved = true;
        return true;
    }
    unsaved = false;
    const bool saved = WriteProgramFile(programDir, kTranslationFile, TranslationBytes(table));
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
