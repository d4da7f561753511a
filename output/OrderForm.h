#pragma once
// What a returned order is read against: the form's identity, which every
// fillable PDF made from the form carries, and the columns of the order
// table, one per form field in form order, each with the name of the PDF
// field that holds its value.

#include "FormDocument.h"
#include "LayoutSettings.h"

#include <QString>
#include <cstdint>
#include <vector>

// The key under which a fillable PDF keeps the identity, in its document
// information and in its form dictionary.
inline constexpr const char* kFormIdentityKey = "/QuilloraForm";

// A hash of everything that decides which fields a form has and where they
// stand: categories, fields, kinds, labels, sizes, category pictures and
// texts, and the layout values that move fields (margins, fonts, header and
// footer). 32 lower-case hex digits.
QString FormIdentity(const FormDocument& form, const LayoutSettings& layout);

struct OrderColumn {
    QString head;       // "Category - Label", unique among the columns
    std::int32_t kind;  // fkText, fkCheckBox or fkSingleChoice
    QString pdfField;   // the PDF field: the field itself, or its radio group
    QString state;      // a single choice: its button's "on" state in the group
    int group = -1;     // a single choice: its group, from 0 in form order
    int indexInGroup = 0;
};

struct OrderForm {
    QString identity;
    std::vector<OrderColumn> columns;
    int groupCount = 0;
};

// The columns of a form, named as the fillable PDF names its fields (made
// unique the same way); fields of a kind the form does not know get none.
OrderForm MakeOrderForm(const FormDocument& form, const LayoutSettings& layout);
