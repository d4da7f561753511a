#pragma once
// A workbook read back by an independent reader (openpyxl, through
// read_workbook.py): its sheets with their cells, frozen panes, filters and
// widths, for comparing with the CSV table the same orders make.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

struct WorkbookCell {
    QString type; // "n" number, "s" text, "f" formula, "n" with a null value when empty
    QJsonValue value, cached;
    QString format, fill;
    bool bold = false;
    bool Empty() const { return value.isNull(); }
};

struct WorkbookSheet {
    QString name, freeze, filter;
    QJsonObject widths;
    std::vector<std::vector<WorkbookCell>> rows;
    // Cell (row, column) from 0; an empty cell outside the sheet's cells.
    WorkbookCell At(std::size_t row, std::size_t column) const {
        if (row >= rows.size() || column >= rows[row].size()) return {};
        return rows[row][column];
    }
};

// The sheets of the workbook at path; empty (and a test failure) when it
// cannot be read.
inline std::vector<WorkbookSheet> ReadWorkbook(const QString& path) {
    QProcess reader;
    // Debian's own interpreter, which python3-openpyxl installs into.
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(QUILLORA_SOURCE_DIR "/tests/support/read_workbook.py"), path});
    const bool finished = reader.waitForFinished(60000);
    EXPECT_TRUE(finished && reader.exitStatus() == QProcess::NormalExit && reader.exitCode() == 0)
        << reader.readAllStandardError().constData();
    const QJsonDocument json = QJsonDocument::fromJson(reader.readAllStandardOutput());
    std::vector<WorkbookSheet> sheets;
    for (const QJsonValue s : json.object().value(QStringLiteral("sheets")).toArray()) {
        const QJsonObject o = s.toObject();
        WorkbookSheet sheet{o.value(QStringLiteral("name")).toString(),
                            o.value(QStringLiteral("freeze")).toString(),
                            o.value(QStringLiteral("filter")).toString(),
                            o.value(QStringLiteral("widths")).toObject(),
                            {}};
        for (const QJsonValue r : o.value(QStringLiteral("rows")).toArray()) {
            std::vector<WorkbookCell> row;
            for (const QJsonValue c : r.toArray()) {
                const QJsonObject cell = c.toObject();
                row.push_back({cell.value(QStringLiteral("type")).toString(),
                               cell.value(QStringLiteral("value")),
                               cell.value(QStringLiteral("cached")),
                               cell.value(QStringLiteral("format")).toString(),
                               cell.value(QStringLiteral("fill")).toString(),
                               cell.value(QStringLiteral("bold")).toBool()});
            }
            sheet.rows.push_back(std::move(row));
        }
        sheets.push_back(std::move(sheet));
    }
    EXPECT_FALSE(sheets.empty()) << path.toStdString();
    return sheets;
}

// The table's CSV text split into rows of cells (RFC 4180: quoted cells may
// hold separators, doubled quotes and line breaks; rows end with CR LF).
inline std::vector<QStringList> SplitCsv(const QByteArray& csv, QChar separator) {
    const QString text = QString::fromUtf8(csv);
    std::vector<QStringList> rows;
    QStringList cells;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                cell += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == separator) {
            cells << cell;
            cell.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            cells << cell;
            rows.push_back(cells);
            cells.clear();
            cell.clear();
            ++i;
        } else {
            cell += c;
        }
    }
    return rows;
}

// The number a CSV cell holds, with a decimal comma or point.
inline double CsvNumber(QString text) {
    return text.replace(u',', u'.').toDouble();
}

// Every cell of sheet equals the CSV's: the same text, or a number of the same
// value, or a sum whose cached value is the CSV's total; empty where it is empty.
inline void ExpectSameAsCsv(const WorkbookSheet& sheet, const std::vector<QStringList>& csv) {
    ASSERT_EQ(sheet.rows.size(), csv.size());
    for (std::size_t r = 0; r < csv.size(); ++r)
        for (qsizetype c = 0; c < csv[r].size(); ++c) {
            const WorkbookCell cell = sheet.At(r, static_cast<std::size_t>(c));
            const QString want = csv[r][c];
            const std::string where = "row " + std::to_string(r) + " column " +
                                      std::to_string(c) + ": " + want.toStdString();
            if (want.isEmpty()) {
                EXPECT_TRUE(cell.Empty()) << where;
            } else if (cell.type == QLatin1String("n")) {
                EXPECT_DOUBLE_EQ(cell.value.toDouble(), CsvNumber(want)) << where;
            } else if (cell.type == QLatin1String("f")) {
                EXPECT_TRUE(cell.value.toString().startsWith(QLatin1String("=SUM("))) << where;
                EXPECT_DOUBLE_EQ(cell.cached.toDouble(), CsvNumber(want)) << where;
            } else {
                EXPECT_EQ(cell.type, QStringLiteral("s")) << where;
                EXPECT_EQ(cell.value.toString(), want) << where;
            }
        }
}
