#pragma once
// The names a form's fields go by in its fillable PDF and in the order
// table: category and label joined into one line, and made unique.

#include <QHash>
#include <QSet>
#include <QString>

// The name of a form field: category and label, without control characters
// and periods (a period separates the parts of a PDF field name).
QString FormFieldName(const QString& category, const QString& label);
// The label as one line: its lines joined by spaces, control characters dropped.
QString OneLineLabel(const QString& label);

// Makes names unique: the second "Name" becomes "Name 2", and so on.
class UniqueNames {
  public:
    explicit UniqueNames(QSet<QString> taken = {}) : used(std::move(taken)) {}
    QString Take(const QString& wanted);

  private:
    QSet<QString> used;
    QHash<QString, int> lastNumber; // by wanted name: the last number tried
};
