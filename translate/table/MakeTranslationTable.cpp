// Build tool: turns the readable table source (UTF-8, one German text and its
// English, French and Dutch texts per line, separated by tabs) into the binary
// "translate.dat" the program ships.
//
// Usage: quillora_make_table SOURCE.tsv OUTPUT.dat
//
// Lines that are empty or begin with "#" are notes. Inside a cell "\n" stands
// for a line break, "\t" for a tab and "\\" for a backslash. A source with a
// missing cell, a key with spaces around it or a key given twice is refused, so
// that the build stops instead of shipping a table the lookup cannot use.

#include "TranslationFile.h"
#include "TranslationTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QStringList>

#include <array>
#include <cstdio>

namespace {

constexpr int kSourceColumns = 4; // German, English, French, Dutch

QString Unescape(const QString& cell, bool& ok) {
    QString out;
    out.reserve(cell.size());
    for (qsizetype i = 0; i < cell.size(); ++i) {
        const QChar c = cell.at(i);
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++i >= cell.size()) {
            ok = false;
            break;
        }
        switch (cell.at(i).unicode()) {
        case u'n':
            out += u'\n';
            break;
        case u't':
            out += u'\t';
            break;
        case u'\\':
            out += u'\\';
            break;
        default:
            ok = false;
        }
    }
    return out;
}

int Fail(const QString& message) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) return Fail(QStringLiteral("usage: quillora_make_table SOURCE.tsv OUTPUT.dat"));
    const QString sourcePath = QString::fromLocal8Bit(argv[1]);
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        return Fail(sourcePath + QStringLiteral(": cannot read"));
    const QStringList lines = QString::fromUtf8(source.readAll()).split(u'\n');

    TranslationTable table;
    QSet<QString> keys;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString line = lines.at(n);
        if (line.endsWith(u'\r')) line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        const QString where = QStringLiteral("%1:%2: ").arg(sourcePath).arg(n + 1);
        const QStringList raw = line.split(u'\t');
        if (raw.size() != kSourceColumns)
            return Fail(where +
                        QStringLiteral("%1 cells, not %2").arg(raw.size()).arg(kSourceColumns));
        std::array<QString, kTranslationColumns> cells;
        for (int c = 0; c < kSourceColumns; ++c) {
            bool ok = true;
            cells[c] = Unescape(raw.at(c), ok);
            if (!ok)
                return Fail(where + QStringLiteral("a backslash that is not \\n, \\t or \\\\"));
            if (cells[c].trimmed().isEmpty()) return Fail(where + QStringLiteral("an empty cell"));
        }
        const QString& key = cells[0];
        if (key.startsWith(u' ') || key.endsWith(u' '))
            return Fail(where + QStringLiteral("the German text has spaces around it; the lookup "
                                               "never sees them"));
        if (keys.contains(key))
            return Fail(where + QStringLiteral("\"%1\" is given twice").arg(key));
        keys.insert(key);
        if (!table.AppendRow(cells)) return Fail(QStringLiteral("out of memory"));
    }

    const QString outputPath = QString::fromLocal8Bit(argv[2]);
    QFile output(outputPath);
    const QByteArray bytes = TranslationBytes(table);
    if (!output.open(QIODevice::WriteOnly) || output.write(bytes) != bytes.size() ||
        !output.flush())
        return Fail(outputPath + QStringLiteral(": cannot write"));
    return 0;
}
