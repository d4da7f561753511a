#pragma once
// Collecting returned orders: the inputs (files, or folders of them) read one
// after the other into the order table; those that cannot be taken are listed
// with their reasons and never mixed into the table. Only one file is open at
// a time, so memory does not grow with the number of files beyond the table.

#include "OrderForm.h"
#include "OrderTable.h"
#include "ReturnedPdf.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

struct RejectedInput {
    QString path;
    ReturnRejection rejection;
};

// The files the inputs name, in input order: a file as it is, a folder's PDF
// files sorted by name. An input that is neither, or a folder without a PDF
// file, is added to *rejected.
QStringList ExpandOrderInputs(const QStringList& inputs, std::vector<RejectedInput>* rejected);

struct OrderCollection {
    explicit OrderCollection(const OrderForm& form) : table(form) {}
    OrderTable table;
    std::vector<RejectedInput> rejected; // inputs and files, in input order
    bool cancelled = false;
};

// Reads every file of the inputs into the table. progress (if given) is told
// before each file how many of how many are done; returning false cancels,
// and the table then holds the files read so far. With a rowSink, the orders
// go there as they are complete and the table keeps only the totals
// (OrderTable::SetRowSink).
OrderCollection CollectOrders(const OrderForm& form, const QStringList& inputs,
                              const std::function<bool(int done, int total)>& progress = {},
                              const OrderTable::RowSink& rowSink = {});
