#pragma once
// The fillable PDF: the printed pages, as "Drucken" puts them into a PDF file,
// with a form field over every field box, check box and single-choice circle.

#include "FileFailure.h"
#include "PaintToCanvas.h"
#include "PrintTarget.h"

#include <QString>

// Prints every page with the set-up's page layout and resolution and lays the
// form fields over them in the one layout pass of the print run; writes path
// through the checked atomic writer (a failed run leaves a former file as it
// was). The PDF carries the form's identity (OrderForm.h). Returns the
// number of pages, or -1 with *failure set.
int PrintFillablePdf(const PdfPageSetup& setup, const PageInput& input, const QString& jobTitle,
                     const QString& path, FileFailure* failure = nullptr);
