#pragma once
// The form the returned-order fuzz target reads against, shared with the test
// that writes its seeds (filled-in fillable PDFs of this form) so that the
// seeds carry its identity and reach the field reader.

#include "FormDocument.h"
#include "Records.h"
#include "TakenRecords.h"

inline void FillReturnedOrderFuzzForm(FormDocument& doc) {
    doc.InsertCategory(0, TakenCategory::Make(QStringLiteral("Getränke")));
    doc.InsertField(0, 0, TakenField::Make(fkText, QStringLiteral("Menge"), 3, 1));
    doc.InsertField(0, 1, TakenField::Make(fkCheckBox, QStringLiteral("Lieferung"), 1, 1));
    doc.InsertField(0, 2, TakenField::Make(fkSingleChoice, QStringLiteral("S"), 1, 1));
    doc.InsertField(0, 3, TakenField::Make(fkSingleChoice, QStringLiteral("M"), 1, 1));
    doc.InsertField(0, 4, TakenField::Make(fkText, QStringLiteral("Menge"), 3, 1));
}
