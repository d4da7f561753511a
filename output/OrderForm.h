#pragma once
// What a returned order is read against: the form's identity, which every
// fillable PDF made from the form carries, and the columns of the order
// table, one per form field in form order, each with the name of the PDF
// field that holds its value.

#include "FormDocument.h"
#include "LayoutSettings.h"
#include "OrderColumns.h"

#include <QString>

// A hash of everything that decides which fields a form has and where they
// stand: categories, fields, kinds, labels, sizes, category pictures and
// texts, and the layout values that move fields (margins, fonts, header and
// footer). 32 lower-case hex digits.
QString FormIdentity(const FormDocument& form, const LayoutSettings& layout);

// The columns of a form, named as the fillable PDF names its fields (made
// unique the same way); fields of a kind the form does not know get none.
OrderForm MakeOrderForm(const FormDocument& form, const LayoutSettings& layout);
