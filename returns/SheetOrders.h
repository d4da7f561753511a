#pragma once
// The pages of copies printed with sheet numbers, put together into orders:
// every page of a copy carries the copy's number in its page code, so its
// pages are gathered by that number whatever their order or file, and each
// copy becomes one order once the batch is read. A page that never came back
// (or was not taken) leaves its fields empty and the order incomplete; a
// second page of the same number and page is not taken.

#include "OrderCollection.h"

#include <map>
#include <vector>

class SheetOrders {
  public:
    // Takes page `page` of copy sheetNumber as read from the page named name.
    // False, with *why set, when that page of that copy came already.
    bool Add(int sheetNumber, int page, const QString& name, const std::vector<ReturnedCell>& cells,
             std::vector<UndecidedMark> marks, ReturnRejection* why);
    // Puts each copy into table as one order, by sheet number; the marks left
    // for the review get their orders' rows. Nothing is kept afterwards.
    void Flush(OrderTable& table, std::vector<UndecidedMark>& undecided);

  private:
    struct Copy {
        std::map<int, QString> names; // by page
        std::vector<ReturnedCell> cells;
        std::vector<UndecidedMark> marks;
    };
    std::map<int, Copy> copies; // by sheet number
};
