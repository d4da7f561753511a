#pragma once
// What is selected in a document: one category, or none, and some of its
// fields. It belongs to the document and follows every change of it before
// any view hears of the change, so that whoever reads it meets only places
// that exist: indexes move with inserts and moves, and what is removed is no
// longer selected. A file opened or a new document selects the first category.
// Views show it and set it; none keeps an index of its own across a change.

#include <QList>
#include <QObject>

class Document;

class Selection : public QObject {
    Q_OBJECT
  public:
    explicit Selection(Document& document);

    // The selected category, -1 for none.
    int Category() const { return category; }
    // The selected fields of that category, ascending.
    const QList<int>& Fields() const { return fields; }
    // The first selected field, -1 for none.
    int Field() const { return fields.isEmpty() ? -1 : fields.first(); }

    // Selects category c (-1 or a place that does not exist: none) and these of its fields.
    void Select(int c, const QList<int>& rows = {});
    // Selects these fields of the selected category; rows that do not exist are left out.
    void SelectFields(const QList<int>& rows);

  signals:
    // The selection is another now; announced once the document's change is complete.
    void changed();

  private:
    void FollowReset();
    void FollowCategoryInserted(int index);
    void FollowCategoryRemoved(int index);
    void FollowCategoryMoved(int from, int to);
    void FollowFieldInserted(int c, int index);
    void FollowFieldRemoved(int c, int index);
    void FollowFieldMoved(int c, int from, int to);
    // Sets the selection; true when it is another than before.
    bool Set(int c, QList<int> rows);

    const Document& doc;
    int category = -1;
    QList<int> fields;
    bool moved = false; // changed by the document, not yet announced
};

// Whether two lists of rows are the same (Qt's own comparison compares two
// empty lists through a null pointer).
bool SameRows(const QList<int>& a, const QList<int>& b);

// Where the entry at place i stands after the entry at from moved to to.
int PlaceAfterMove(int i, int from, int to);
