#pragma once
// The form the returned-order fuzz target reads against, as plain columns
// (the target builds without the document model). Its seeds in
// fuzz/corpus/returned are filled-in fillable PDFs of the same form, made by
// returns_order_collect_test, which also checks that the document it exports
// gives exactly these columns and this identity.

#include "OrderColumns.h"

// The document: category "Getränke" with the text field "Menge", the check
// box "Lieferung", the single choices "S" and "M", and a second text field
// "Menge"; default layout.
inline OrderForm ReturnedOrderFuzzForm() {
    OrderForm form;
    form.identity = QStringLiteral("b7c7a1792144b74bc0433ecdff3e6ae2");
    auto column = [](const char* head, std::int32_t kind, const char* pdfField,
                     const char* state, int group, int index) {
        return OrderColumn{QString::fromUtf8(head), kind, QString::fromUtf8(pdfField),
                           QString::fromUtf8(state), group, index};
    };
    form.columns = {
        column("Getränke - Menge", kTextColumn, "Getränke - Menge", "", -1, 0),
        column("Getränke - Lieferung", kCheckBoxColumn, "Getränke - Lieferung", "", -1, 0),
        column("Getränke - S", kSingleChoiceColumn, "Getränke", "S", 0, 0),
        column("Getränke - M", kSingleChoiceColumn, "Getränke", "M", 0, 1),
        column("Getränke - Menge 2", kTextColumn, "Getränke - Menge 2", "", -1, 0),
    };
    form.groupCount = 1;
    return form;
}
