#pragma once
// The form part of the fillable PDF: lays interactive fields (text fields,
// check boxes, radio groups) with their own appearances over the fields a
// printed PDF shows, through qpdf, and writes the result atomically.

#include "DrawnField.h"
#include "FileFailure.h"
#include "FieldNames.h"
#include "OrderColumns.h"

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <vector>

// Where the drawn pages sit in the PDF: device pixels per inch of the drawing
// and the top-left corner of the drawn area on the sheet, in points.
struct PdfPageGeometry {
    int dpi = 600;
    QPointF origin;
};

// Adds a form field over every field in `fields` (as the layout reported them
// while drawing `pdf`) that has a column in order (MakeOrderForm, OrderForm.h),
// named as the column names it, and writes the PDF to path through the
// checked atomic writer. The order form's identity, when it has one, goes
// into the document information and the form dictionary, so that a returned
// copy is known by the form it was made from. False with *failure set when
// the PDF cannot be read or written.
bool AddFormFieldsAndWrite(const QByteArray& pdf, const std::vector<DrawnField>& fields,
                           const PdfPageGeometry& geometry, const OrderForm& order,
                           const QString& path, FileFailure* failure);
