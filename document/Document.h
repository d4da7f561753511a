#pragma once
// The document: the one owner of what a project file holds, the categories
// with their fields and the page layout values, of the undo stack of the
// edits made to them, and of what is known about its saving: the file it is
// saved in and whether it has changed since. Every change goes through the few primitives below and
// is announced by a signal; views read the document and follow the signals,
// and keep none of its data themselves.

#include "FormDocument.h"
#include "LayoutKeys.h"
#include "LayoutSettings.h"
#include "Selection.h"
#include "TakenRecords.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QUndoStack;
class QUndoCommand;
class Document;

// Whether setting the layout value key to value would change the document;
// an edit that changes nothing is not pushed.
bool WouldChange(const Document& document, int key, const LayoutValue& value);

// The values of a category record that the category dialog edits.
struct CategoryValues {
    QString picfile;
    double picwidth = 0; // cm
    QString introtext;
    std::int32_t picbelow = 0;
    bool textbelowpic = false;
    bool operator==(const CategoryValues&) const = default;
};

// The values of a field that the field editors edit.
struct FieldValues {
    QString name;
    std::int32_t kind = fkText;
    double width = 0;  // cm
    double height = 0; // cm
    bool operator==(const FieldValues&) const = default;
};

class Document : public QObject {
    Q_OBJECT
  public:
    explicit Document(QObject* parent = nullptr);
    ~Document() override;

    const FormDocument& form() const { return *content; }
    const LayoutSettings& layout() const { return settings; }
    QUndoStack* undoStack() const { return undo; }
    // What is selected; it follows every change before the views are told of it.
    Selection& selection() { return *selected; }
    const Selection& selection() const { return *selected; }

    // The whole document replaced (a file opened): the undo stack is cleared.
    void Reset(std::unique_ptr<FormDocument> form, const LayoutSettings& layout);
    // Every category goes; the layout values stay. The undo stack is cleared.
    void NewAll();

    // Categories. Indexes out of range change nothing.
    int CategoryCount() const { return content->CategoryCount(); }
    QString CategoryName(int i) const { return content->CategoryName(i); }
    std::optional<CategoryValues> CategoryRecordValues(int i) const;
    void InsertCategory(int index, TakenCategory category);
    TakenCategory TakeCategory(int index);
    void MoveCategory(int from, int to);
    void SetCategoryName(int index, const QString& name);
    // Gives the category a record with these values, or none.
    void SetCategoryRecord(int index, const std::optional<CategoryValues>& values);

    // Fields of a category.
    int FieldCount(int category) const { return content->FieldCount(category); }
    const FieldRecord* FieldAt(int category, int f) const { return content->FieldAt(category, f); }
    FieldValues FieldValuesAt(int category, int f) const;
    void InsertField(int category, int index, TakenField field);
    TakenField TakeField(int category, int f);
    void MoveField(int category, int from, int to);
    void SetFieldValues(int category, int f, const FieldValues& values);

    // Layout values, by key (LayoutKeys.h). A value equal to the present one
    // changes nothing and is not announced.
    LayoutValue LayoutValueOf(int key) const { return ReadLayoutValue(settings, key); }
    void SetLayoutValue(int key, const LayoutValue& value);

    // The project file the document is saved in; empty for a new document.
    const QString& FileName() const { return fileName; }
    void SetFileName(const QString& name);

    // Unsaved changes: the undo stack has left the state last saved, or a
    // change that has no undo step was marked since.
    bool IsChanged() const;
    // A change without an undo step (another category selected, a name
    // committed unchanged): it stays marked until the next save, open or "Neu".
    void MarkChanged();
    // Saved, opened or new: the present state is the saved one.
    void MarkUnchanged();
    // While set, MarkChanged records nothing: a window's start-up is no change of the user's.
    void SetMarksIgnored(bool ignored) { marksIgnored = ignored; }

    // Undoes or redoes the last edit and announces which one, so that each
    // view can select what it changed. Nothing happens when there is none.
    void Undo();
    void Redo();

  signals:
    void aboutToBeReset();
    void reset();
    void categoryAboutToBeInserted(int index);
    void categoryInserted(int index);
    void categoryAboutToBeRemoved(int index);
    void categoryRemoved(int index);
    void categoryAboutToBeMoved(int from, int to);
    void categoryMoved(int from, int to);
    void categoryChanged(int index); // name or record
    void fieldAboutToBeInserted(int category, int index);
    void fieldInserted(int category, int index);
    void fieldAboutToBeRemoved(int category, int index);
    void fieldRemoved(int category, int index);
    void fieldAboutToBeMoved(int category, int from, int to);
    void fieldMoved(int category, int from, int to);
    void fieldChanged(int category, int index);
    void layoutValueChanged(int key);
    // Any of the changes above, after its own signal: for views that redraw whole.
    void contentChanged();
    void changedStateChanged(bool changed);
    void fileNameChanged(const QString& name);
    // After Undo or Redo: the edit undone or redone (it stays on the stack).
    void undone(const QUndoCommand* command);
    void redone(const QUndoCommand* command);

  private:
    std::unique_ptr<FormDocument> content;
    LayoutSettings settings;
    QUndoStack* undo;
    Selection* selected;
    QString fileName;
    bool marked = false; // a change without undo step since the last save
    bool marksIgnored = false;
    bool announced = false; // the changed state last announced
    void AnnounceChangedState();
};
