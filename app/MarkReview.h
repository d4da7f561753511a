#pragma once
// The review of scanned sheets: deciding a box the reader left undecided
// ("?"), shown large with its neighbours, with one click for marked or empty;
// and typing in what was written into a text box, with its scan in view.

#include <QDialog>
#include <QString>

struct UndecidedMark;

class MarkReviewDialog : public QDialog {
    Q_OBJECT
  public:
    // head names the box's column.
    MarkReviewDialog(const UndecidedMark& mark, const QString& head, QWidget* parent);
    // "1" when the user saw a mark, "0" when the box is empty; empty when undecided.
    QString Decision() const { return decision; }

  private:
    QString decision;
};

class HandwritingDialog : public QDialog {
    Q_OBJECT
  public:
    // head names the box's column; value is what the table holds now. When
    // it holds nothing, the reader's guess (box.suggestion) is shown and
    // offered in the line, selected, to be confirmed or typed over.
    HandwritingDialog(const UndecidedMark& box, const QString& head, const QString& value,
                      QWidget* parent);
    QString Text() const;

  private:
    class QLineEdit* edit;
};
