#pragma once
// Deciding a box the reader of scans left undecided ("?"): the scanned box
// with its neighbours, shown large, and one click for marked or empty.

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
