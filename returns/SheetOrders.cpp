// Gathering the pages of numbered copies into one order each.
#include "SheetOrders.h"

#include <QStringList>

bool SheetOrders::Add(int sheetNumber, int page, const QString& name,
                      const std::vector<ReturnedCell>& cells, std::vector<UndecidedMark> marks,
                      ReturnRejection* why) {
    Copy& copy = copies[sheetNumber];
    const auto first = copy.names.find(page);
    if (first != copy.names.end()) {
        *why = {QStringLiteral("page %1 of sheet %2 came back twice (first as %3); this one is "
                               "not taken")
                    .arg(page)
                    .arg(sheetNumber)
                    .arg(first->second),
                QStringLiteral("Diese Seite dieses Bogens kam schon einmal zurück; sie wird nicht "
                               "übernommen.")};
        return false;
    }
    copy.names[page] = name;
    if (copy.cells.size() < cells.size()) copy.cells.resize(cells.size());
    for (std::size_t c = 0; c < cells.size(); ++c)
        if (cells[c].present) copy.cells[c] = cells[c];
    for (UndecidedMark& mark : marks)
        copy.marks.push_back(std::move(mark));
    return true;
}

void SheetOrders::Flush(OrderTable& table, std::vector<UndecidedMark>& undecided) {
    // An order still waiting for its parts must not take a copy's fields.
    table.Finish();
    for (auto& [number, copy] : copies) {
        QStringList names;
        for (const auto& [page, name] : copy.names)
            names << name;
        table.Add(names.join(QStringLiteral(" + ")), copy.cells);
        table.Finish();
        for (UndecidedMark& mark : copy.marks) {
            mark.row = table.RowCount() - 1;
            undecided.push_back(std::move(mark));
        }
    }
    copies.clear();
}
