// Reading the returned files one by one into the order table.
#include "OrderCollection.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

QStringList ExpandOrderInputs(const QStringList& inputs, std::vector<RejectedInput>* rejected) {
    QStringList files;
    for (const QString& input : inputs) {
        const QFileInfo info(input);
        if (info.isDir()) {
            QStringList names = QDir(input).entryList({QStringLiteral("*.pdf")},
                                                      QDir::Files | QDir::Readable | QDir::Hidden,
                                                      QDir::NoSort);
            // By name, character by character: the same order everywhere.
            std::sort(names.begin(), names.end());
            if (names.isEmpty())
                rejected->push_back({input,
                                     {QStringLiteral("a folder without PDF files"),
                                      QStringLiteral("Der Ordner enthält keine PDF-Dateien.")}});
            for (const QString& name : names)
                files << QDir(input).filePath(name);
        } else if (info.exists()) {
            files << input;
        } else {
            rejected->push_back({input,
                                 {QStringLiteral("no such file or folder"),
                                  QStringLiteral("Die Datei gibt es nicht.")}});
        }
    }
    return files;
}

OrderCollection CollectOrders(const OrderForm& form, const QStringList& inputs,
                              const std::function<bool(int done, int total)>& progress,
                              const OrderTable::RowSink& rowSink) {
    OrderCollection collection(form);
    collection.table.SetRowSink(rowSink);
    // The inputs that name no file come first, then the files that fail.
    std::vector<RejectedInput> expansion;
    const QStringList files = ExpandOrderInputs(inputs, &expansion);
    collection.rejected = expansion;
    const int total = static_cast<int>(files.size());
    for (int i = 0; i < total; ++i) {
        if (progress && !progress(i, total)) {
            collection.cancelled = true;
            break;
        }
        const QString& path = files[i];
        const ReturnedRead read = ReadReturnedPdf(path, form);
        if (read.ok)
            collection.table.Add(QFileInfo(path).fileName(), read.cells);
        else
            collection.rejected.push_back({path, read.rejection});
    }
    collection.table.Finish();
    collection.table.SetRowSink({});
    if (progress && !collection.cancelled) progress(total, total);
    return collection;
}
