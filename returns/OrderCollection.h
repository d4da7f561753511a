#pragma once
// Collecting returned orders: the inputs (files, or folders of them) read one
// after the other into the order table; those that cannot be taken are listed
// with their reasons and never mixed into the table. The PDFs are read on
// every core, a few files ahead (ReadAhead.h), and taken in input order, so
// memory does not grow with the number of files beyond the table.

#include "OrderForm.h"
#include "OrderTable.h"
#include "PaperReturns.h"
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
// files and scanned images sorted by name. An input that is neither, or a folder without a PDF
// file, is added to *rejected.
QStringList ExpandOrderInputs(const QStringList& inputs, std::vector<RejectedInput>* rejected);

// A box of a scanned page the reader left undecided ("?"), or a text box to be
// typed in from its hand-writing: which order and column, and the part of the
// page around it (the box and its neighbours; a text box alone) with the
// box's outline in it, for the review.
struct UndecidedMark {
    int row = -1; // the order, counted from 0 as the table counts them
    int column = -1;
    QImage scan;
    QPolygonF outline;
    bool text = false;
    QString suggestion; // a text box: the reader's guess at its number, if any
    QImage inside;      // a text box: its inside as read, to learn from what is typed in
};

struct OrderCollection {
    explicit OrderCollection(const OrderForm& form) : table(form) {}
    OrderTable table;
    std::vector<RejectedInput> rejected; // inputs, files and pages, in input order
    std::vector<UndecidedMark> undecided;
    int leftForReview = 0; // boxes of scanned pages not surely read, kept or not
    bool cancelled = false;
};

// How scanned paper is read: the form as printed, and whether the undecided
// boxes keep their page images for a review (memory grows with them then).
// With a completeness column shown, each order says whether all of it came back.
struct PaperReading {
    PaperForm* form = nullptr;
    bool keepUndecided = false;
    CompletenessColumn completeness{};
};

// The completeness column for orders of form on paper: shown, in the
// language translate gives, when its fields spread over several pages (only
// then can an order come back in part); none otherwise.
CompletenessColumn CompletenessFor(PaperForm& paper,
                                   const std::function<QString(const QString&)>& translate);

// Reads every file of the inputs into the table. progress (if given) is told
// before each file how many of how many are done; returning false cancels,
// and the table then holds the files read so far. With a rowSink, the orders
// go there as they are complete and the table keeps only the totals
// (OrderTable::SetRowSink). With paper, a PDF without form fields and every
// image is read as scanned paper, page by page. Pages whose code carries a
// sheet number are gathered by it (SheetOrders.h) and become orders after
// all others, by number; on pages without, a form's page 1 starts an order
// and its further pages join it. A page that cannot be read is rejected by
// its file's name and page number.
OrderCollection CollectOrders(const OrderForm& form, const QStringList& inputs,
                              const std::function<bool(int done, int total)>& progress = {},
                              const OrderTable::RowSink& rowSink = {},
                              const PaperReading& paper = {});
