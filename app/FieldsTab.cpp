// The tab "Felder": the category list, the field list and the field's
// properties, as views of the document. The commands are in FieldsTabCommands.cpp.
#include "FieldsTab.h"

#include "CategoryDialog.h"
#include "CategoryListModel.h"
#include "Document.h"
#include "EditCommand.h"
#include "FieldListModel.h"
#include "MoveFieldsDialog.h"
#include "NamedLabel.h"
#include "PresetsTab.h"
#include "SizeSpinBox.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

namespace {
// A panel with a list on the left and its command buttons stacked on the right.
QWidget* ListPanel(QWidget* parent, const char* name, QWidget* list,
                   std::initializer_list<std::pair<const char*, QString>> buttons,
                   QList<QPushButton*>* made) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(list, 1);
    auto* column = new QVBoxLayout;
    for (const auto& [buttonName, caption] : buttons) {
        auto* b = new QPushButton(caption, panel);
        b->setObjectName(QString::fromLatin1(buttonName));
        b->setAutoDefault(false);
        column->addWidget(b);
        made->append(b);
    }
    column->addStretch(1);
    row->addLayout(column);
    return panel;
}

QTreeView* ReportList(const char* name, QAbstractItemModel* model) {
    auto* list = new QTreeView;
    list->setObjectName(QString::fromLatin1(name));
    list->setModel(model);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->header()->setStretchLastSection(false);
    list->setColumnWidth(0, 500);
    return list;
}
} // namespace

FieldsTab::FieldsTab(Document& document, QWidget* parent)
    : QWidget(parent), doc(document), categories(new CategoryListModel(document, this)),
      fields(new FieldListModel(document, this)) {
    setObjectName(QStringLiteral("TabSheet1"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("FelderSplitter"));
    splitter->setChildrenCollapsible(false);
    row->addWidget(splitter);
    listsPane = new QWidget(splitter);
    listsPane->setObjectName(QStringLiteral("FelderListen"));
    listsPane->installEventFilter(this);
    splitter->addWidget(listsPane);
    categoryEditor = new CategoryDialog(this);
    moveChooser = new MoveFieldsDialog(this);
    BuildCategoryPanel();
    BuildFieldPanel();
    BuildPropertyPanel();
    ConnectHandlers();
    ListFields();
}

void FieldsTab::BuildCategoryPanel() {
    categoryList = ReportList("ListView2", categories);
    categoryList->setAccessibleName(QStringLiteral("Kategorie"));
    categoryList->setSelectionMode(QAbstractItemView::SingleSelection);
    categoryList->setItemDelegate(new CategoryNameDelegate(categoryList));
    categoryList->setEditTriggers(QAbstractItemView::EditKeyPressed |
                                  QAbstractItemView::SelectedClicked);
    categoryList->installEventFilter(this);
    categoryPanel = ListPanel(listsPane, "Panel4", categoryList,
                              {{"NewKategorieBtn", QStringLiteral("Neue Kategorie")},
                               {"KategorieBearbeitenBtn", QStringLiteral("Bearbeiten")},
                               {"KategorieLoechenBtn", QStringLiteral("Löschen")},
                               {"KategorienachObenBtn", QStringLiteral("Nach oben")},
                               {"KategorienachuntenBtn", QStringLiteral("Nach unten")}},
                              &categoryButtons);
    categories->rename = [this](int row, const QString& name) { RenameInPlace(row, name); };
}

void FieldsTab::BuildFieldPanel() {
    fieldList = ReportList("ListView1", fields);
    fieldList->setAccessibleName(QStringLiteral("Bezeichnung"));
    fieldList->setColumnHidden(1, true); // the description travels along unseen
    fieldList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    fieldList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fieldList->installEventFilter(this);
    fieldPanel =
        ListPanel(listsPane, "Panel5", fieldList,
                  {{"NeuesProduktBtn", QStringLiteral("Neues Feld")},
                   {"NeuesAnkreuzfeldBtn", QStringLiteral("Neues Ankreuzfeld")},
                   {"NewRadioBtnBtn", QStringLiteral("Neues Ankreuzfeld (nur eine Antwort)")},
                   {"ProduktLoeschenBtn", QStringLiteral("Löschen")},
                   {"AndereKategorieBtn", QStringLiteral("Andere Kateg.")},
                   {"ProduktNachObenBtn", QStringLiteral("Nach oben")},
                   {"ProduktNachUntenBtn", QStringLiteral("Nach unten")}},
                  &fieldButtons);
    // "Neues Ankreuzfeld" and "Neues Ankreuzfeld (nur eine Antwort)" stay enabled.
    for (QPushButton* b : fieldButtons)
        if (b->objectName() != QLatin1String("NeuesAnkreuzfeldBtn") &&
            b->objectName() != QLatin1String("NewRadioBtnBtn"))
            fieldCommands.append(b);
}

void FieldsTab::BuildPropertyPanel() {
    propertyPanel = new QWidget(listsPane);
    propertyPanel->setObjectName(QStringLiteral("Panel7"));
    propertyPanel->setFixedHeight(84);
    auto* grid = new QGridLayout(propertyPanel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(NamedLabel(propertyPanel, "Label1", QStringLiteral("Bezeichnung:")), 0, 0);
    nameEditor = new QPlainTextEdit(propertyPanel);
    nameEditor->setObjectName(QStringLiteral("ProdNameEd"));
    nameEditor->setFixedHeight(nameEditor->fontMetrics().height() + 12);
    nameEditor->setLineWrapMode(QPlainTextEdit::NoWrap);
    nameEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    nameEditor->setTabChangesFocus(true);
    // Enter alone does not break lines; Ctrl+Enter and Shift+Enter do.
    nameEditor->installEventFilter(this);
    grid->addWidget(nameEditor, 0, 1, 1, 5);
    textKindButton = new QRadioButton(QStringLiteral("Text"), propertyPanel);
    textKindButton->setObjectName(QStringLiteral("TextCheck"));
    textKindButton->setChecked(true);
    checkBoxKindButton = new QRadioButton(QStringLiteral("Ankreuzfeld"), propertyPanel);
    checkBoxKindButton->setObjectName(QStringLiteral("CheckCheck"));
    choiceKindButton =
        new QRadioButton(QStringLiteral("Ankreuzfeld (nur eine Antwort möglich)"), propertyPanel);
    choiceKindButton->setObjectName(QStringLiteral("RadioCheck"));
    grid->addWidget(textKindButton, 1, 0);
    grid->addWidget(checkBoxKindButton, 1, 1);
    grid->addWidget(choiceKindButton, 1, 2, 1, 4);
    grid->addWidget(NamedLabel(propertyPanel, "Label3", QStringLiteral("Breite:")), 2, 0);
    widthBox = SizeSpinBox(propertyPanel, "BreitFeldEd", 7);
    grid->addWidget(widthBox, 2, 1);
    grid->addWidget(NamedLabel(propertyPanel, "Label4", QStringLiteral("cm")), 2, 2);
    grid->addWidget(NamedLabel(propertyPanel, "Label2", QStringLiteral("Höhe:")), 2, 3);
    heightBox = SizeSpinBox(propertyPanel, "HochFeldEd", 1);
    grid->addWidget(heightBox, 2, 4);
    grid->addWidget(NamedLabel(propertyPanel, "Label5", QStringLiteral("cm")), 2, 5);
}

void FieldsTab::ConnectHandlers() {
    // The lists show the document's selection; what the user selects in them goes there.
    connect(categoryList->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!mirroring && ListedCategory() != SelectedCategory())
            doc.selection().Select(ListedCategory());
        CategorySelected();
    });
    connect(&doc.selection(), &Selection::changed, this, &FieldsTab::FollowSelection);
    connect(categories, &QAbstractItemModel::dataChanged, this, &FieldsTab::CategorySelected);
    connect(categories, &QAbstractItemModel::rowsInserted, this, &FieldsTab::CategorySelected);
    connect(categories, &QAbstractItemModel::rowsRemoved, this, &FieldsTab::CategorySelected);
    connect(categories, &QAbstractItemModel::rowsMoved, this, &FieldsTab::CategorySelected);
    connect(categories, &QAbstractItemModel::modelReset, this, [this] { ListFields(); });
    connect(categoryList, &QAbstractItemView::doubleClicked, this, &FieldsTab::editCategory);
    connect(fieldList->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!mirroring) doc.selection().SelectFields(ListedFields());
    });
    connect(&doc, &Document::fieldChanged, this, &FieldsTab::FieldChangedInDocument);
    // A file opened or a new document: its first category is selected.
    connect(&doc, &Document::reset, this, [this] {
        holdFieldList = true;
        MirrorCategory();
        holdFieldList = false;
        ListFields();
    });
    // An undone or redone edit selects what it changed.
    connect(&doc, &Document::undone, this, [this](const QUndoCommand* command) {
        if (const auto selection = SelectionAfter(command, true)) ShowSelection(*selection);
    });
    connect(&doc, &Document::redone, this, [this](const QUndoCommand* command) {
        if (const auto selection = SelectionAfter(command, false)) ShowSelection(*selection);
    });

    using Handler = void (FieldsTab::*)();
    const std::pair<const char*, Handler> commands[] = {
        {"NewKategorieBtn", &FieldsTab::newCategory},
        {"KategorieBearbeitenBtn", &FieldsTab::editCategory},
        {"KategorieLoechenBtn", &FieldsTab::deleteCategory},
        {"KategorienachObenBtn", &FieldsTab::moveCategoryUp},
        {"KategorienachuntenBtn", &FieldsTab::moveCategoryDown},
        {"NeuesProduktBtn", &FieldsTab::newTextField},
        {"NeuesAnkreuzfeldBtn", &FieldsTab::newCheckBox},
        {"NewRadioBtnBtn", &FieldsTab::newChoiceField},
        {"ProduktLoeschenBtn", &FieldsTab::deleteFields},
        {"AndereKategorieBtn", &FieldsTab::moveFieldsToCategory},
        {"ProduktNachObenBtn", &FieldsTab::moveFieldsUp},
        {"ProduktNachUntenBtn", &FieldsTab::moveFieldsDown}};
    for (const auto& [name, handler] : commands)
        for (QPushButton* b : categoryButtons + fieldButtons)
            if (b->objectName() == QLatin1String(name))
                connect(b, &QPushButton::clicked, this, handler);

    connect(nameEditor, &QPlainTextEdit::textChanged, this, &FieldsTab::NameEdited);
    QRadioButton* kinds[] = {textKindButton, checkBoxKindButton, choiceKindButton};
    for (int kind = 0; kind < 3; ++kind)
        connect(kinds[kind], &QRadioButton::toggled, this, [this, kind](bool on) {
            if (on) KindChosen(kind);
        });
    connect(widthBox, &QDoubleSpinBox::valueChanged, this, [this] { WidthEdited(false); });
    connect(heightBox, &QDoubleSpinBox::valueChanged, this, [this] { HeightEdited(false); });
}

void FieldsTab::ConnectPresets(PresetsTab* tab) {
    presets = tab;
    connect(tab->WidthBox(), &QDoubleSpinBox::valueChanged, this, [this] { WidthEdited(true); });
    connect(tab->HeightBox(), &QDoubleSpinBox::valueChanged, this, [this] { HeightEdited(true); });
}

void FieldsTab::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOutListsPane();
}

void FieldsTab::LayOutListsPane() {
    // The two lists share what the properties leave, rounded down.
    const int width = listsPane->width(), height = listsPane->height();
    const int half = (height - propertyPanel->height()) / 2;
    categoryPanel->setGeometry(0, 0, width, std::max(half, 0));
    fieldPanel->setGeometry(0, std::max(half, 0), width, std::max(half, 0));
    propertyPanel->setGeometry(0, height - propertyPanel->height(), width,
                               propertyPanel->height());
}

bool FieldsTab::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == listsPane) {
        LayOutListsPane();
    } else if (event->type() == QEvent::Resize && (watched == fieldList || watched == categoryList)) {
        // A list keeps its one column as wide as itself.
        auto* list = static_cast<QTreeView*>(watched);
        list->setColumnWidth(0, std::max(list->width() - 10, 0));
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == nameEditor &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            if (key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier))
                nameEditor->insertPlainText(QStringLiteral("\n"));
            return true;
        }
        if (watched == fieldList && key->key() == Qt::Key_A &&
            key->modifiers() == Qt::ControlModifier) {
            fieldList->selectAll();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FieldsTab::CategorySelected() {
    if (!holdFieldList) ListFields();
    doc.MarkChanged();
}

int FieldsTab::SelectedCategory() const {
    return doc.selection().Category();
}

QList<int> FieldsTab::SelectedFields() const {
    return doc.selection().Fields();
}

int FieldsTab::SelectedField() const {
    return doc.selection().Field();
}

void FieldsTab::SelectCategory(int row) {
    // The category shown already keeps its selected fields.
    if (row != SelectedCategory()) doc.selection().Select(row);
}

void FieldsTab::SelectFields(const QList<int>& rows) {
    doc.selection().SelectFields(rows);
}

void FieldsTab::ShowSelection(const EditSelection& selection) {
    if (SelectedCategory() != selection.category || selection.category < 0)
        SelectCategory(selection.category);
    else
        ListFields();
    SelectFields(selection.fields);
}

int FieldsTab::ListedCategory() const {
    const QModelIndexList rows = categoryList->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QList<int> FieldsTab::ListedFields() const {
    QList<int> rows;
    for (const QModelIndex& index : fieldList->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void FieldsTab::MirrorCategory() {
    const QScopedValueRollback guard(mirroring, true);
    const int row = SelectedCategory();
    if (ListedCategory() == row) return;
    QItemSelectionModel* model = categoryList->selectionModel();
    if (row < 0)
        model->clearSelection();
    else
        model->setCurrentIndex(categories->index(row),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void FieldsTab::MirrorFields() {
    const QScopedValueRollback guard(mirroring, true);
    const QList<int>& rows = doc.selection().Fields();
    if (fields->Category() != SelectedCategory() || SameRows(ListedFields(), rows)) return;
    QItemSelection selection;
    for (int row : rows)
        selection.select(fields->index(row, 0), fields->index(row, 0));
    QItemSelectionModel* model = fieldList->selectionModel();
    model->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (!rows.isEmpty())
        model->setCurrentIndex(fields->index(rows.first(), 0), QItemSelectionModel::NoUpdate);
}

void FieldsTab::FollowSelection() {
    MirrorCategory();
    if (fields->Category() != SelectedCategory()) {
        RefillFields();
        return;
    }
    MirrorFields();
    ShowSelectedField();
}

void FieldsTab::ListFields() {
    // A list filled anew has no field selected.
    doc.selection().SelectFields({});
    RefillFields();
}

void FieldsTab::RefillFields() {
    const int cat = SelectedCategory();
    {
        const QScopedValueRollback guard(mirroring, true);
        fields->SetCategory(cat);
    }
    MirrorFields();
    for (QPushButton* b : fieldCommands)
        b->setEnabled(cat >= 0);
    ShowSelectedField();
}

void FieldsTab::ShowSelectedField() {
    const int cat = SelectedCategory();
    const int f = cat >= 0 ? SelectedField() : -1;
    QWidget* editors[] = {nameEditor, heightBox, widthBox, textKindButton, checkBoxKindButton, choiceKindButton};
    const FieldRecord* field = doc.FieldAt(cat, f);
    showing = true;
    if (!field) {
        nameEditor->clear();
        for (QWidget* w : editors)
            w->setEnabled(false);
        showing = false;
        return;
    }
    QRadioButton* kinds[] = {textKindButton, checkBoxKindButton, choiceKindButton};
    auto shown = [&] {
        return QStringList{nameEditor->toPlainText(), heightBox->text(), widthBox->text(),
                           QString::number(textKindButton->isChecked()),
                           QString::number(checkBoxKindButton->isChecked())};
    };
    const QStringList before = shown();
    // Compared as stored, so that a name with line breaks is not set again
    // (and its cursor kept) when it is shown once more.
    const QString name = ToQString(field->name);
    if (StoredFieldName(nameEditor->toPlainText()) != name) nameEditor->setPlainText(name);
    heightBox->setValue(field->height);
    widthBox->setValue(field->width);
    if (field->kind >= 0 && field->kind <= 2) kinds[field->kind]->setChecked(true);
    for (QWidget* w : editors)
        w->setEnabled(true);
    showing = false;
    // Showing writes nothing back, but a control that shows something else
    // counts as a change, as it always has.
    if (shown() != before) doc.MarkChanged();
}

QString StoredFieldName(const QString& shown) {
    // The box holds a line break as one LF; the page breaks lines at CR LF.
    QString stored = shown;
    stored.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return stored;
}

void FieldsTab::FieldChangedInDocument(int category, int field) {
    // An undo or redo changed the shown field: show its values again.
    if (editing || category != SelectedCategory() || field != SelectedField()) return;
    ShowSelectedField();
}
