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
// footer), taken as the pages are printed: within their ranges
// (WithinRanges), whether layout holds a file's values or the printed ones.
// 32 lower-case hex digits.
QString FormIdentity(const FormDocument& form, const LayoutSettings& layout);

// The form as it is printed, for the fillable PDF that names its fields
// after it and for every reader of returns: the identity, and one column
// per field of a known kind, in form order, with the name of its PDF field
// (unique in the form) and, for a single choice, its group and state.
OrderForm MakeOrderForm(const FormDocument& form, const LayoutSettings& layout);
