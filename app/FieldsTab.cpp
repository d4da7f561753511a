// The tab "Felder": the category list, the field list and the field's properties.
#include "FieldsTab.h"

#include "CategoryListModel.h"
#include "Document.h"
#include "FieldListModel.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

namespace {
// A panel with a list on the left and its command buttons stacked on the right.
QWidget* ListPanel(QWidget* parent, const char* name, QWidget* list,
                   std::initializer_list<std::pair<const char*, QString>> buttons,
                   QList<QPushButton*>* made = nullptr) {
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
        if (made) made->append(b);
    }
    column->addStretch(1);
    row->addLayout(column);
    return panel;
}

QDoubleSpinBox* SizeSpin(QWidget* parent, const char* name, double value) {
    auto* spin = new QDoubleSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setDecimals(2);
    spin->setRange(0.01, 10000);
    spin->setSingleStep(0.1);
    spin->setValue(value);
    return spin;
}

QLabel* Label(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}
} // namespace

FieldsTab::FieldsTab(Document& document, QWidget* parent)
    : QWidget(parent), doc(document), categories(new CategoryListModel(document, this)),
      fields(new FieldListModel(document, this)) {
    auto* tab = this;
    tab->setObjectName(QStringLiteral("TabSheet1"));
    auto* column = new QVBoxLayout(tab);

    ListView2 = new QTreeView;
    ListView2->setObjectName(QStringLiteral("ListView2"));
    ListView2->setModel(categories);
    ListView2->setRootIsDecorated(false);
    ListView2->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView2->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView2->setEditTriggers(QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::SelectedClicked);
    ListView2->header()->setStretchLastSection(true);
    column->addWidget(ListPanel(tab, "Panel4", ListView2,
                                {{"NewKategorieBtn", QStringLiteral("Neue Kategorie")},
                                 {"KategorieBearbeitenBtn", QStringLiteral("Bearbeiten")},
                                 {"KategorieLoechenBtn", QStringLiteral("Löschen")},
                                 {"KategorienachObenBtn", QStringLiteral("Nach oben")},
                                 {"KategorienachuntenBtn", QStringLiteral("Nach unten")}}),
                      1);

    ListView1 = new QTreeView;
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setModel(fields);
    ListView1->setColumnHidden(1, true); // the description travels along unseen
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QList<QPushButton*> fieldButtons;
    column->addWidget(
        ListPanel(tab, "Panel5", ListView1,
                  {{"NeuesProduktBtn", QStringLiteral("Neues Feld")},
                   {"NeuesAnkreuzfeldBtn", QStringLiteral("Neues Ankreuzfeld")},
                   {"NewRadioBtnBtn", QStringLiteral("Neues Ankreuzfeld (nur eine Antwort)")},
                   {"ProduktLoeschenBtn", QStringLiteral("Löschen")},
                   {"AndereKategorieBtn", QStringLiteral("Andere Kateg.")},
                   {"ProduktNachObenBtn", QStringLiteral("Nach oben")},
                   {"ProduktNachUntenBtn", QStringLiteral("Nach unten")}},
                  &fieldButtons),
        1);
    // "Neues Ankreuzfeld" and "Neues Ankreuzfeld (nur eine Antwort)" stay enabled.
    for (QPushButton* b : fieldButtons)
        if (b->objectName() != QLatin1String("NeuesAnkreuzfeldBtn") &&
            b->objectName() != QLatin1String("NewRadioBtnBtn"))
            fieldCommands.append(b);

    auto* panel7 = new QWidget(tab);
    panel7->setObjectName(QStringLiteral("Panel7"));
    panel7->setFixedHeight(84);
    auto* grid = new QGridLayout(panel7);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Label(panel7, "Label1", QStringLiteral("Bezeichnung:")), 0, 0);
    ProdNameEd = new QPlainTextEdit(panel7);
    ProdNameEd->setObjectName(QStringLiteral("ProdNameEd"));
    ProdNameEd->setFixedHeight(ProdNameEd->fontMetrics().height() + 12);
    ProdNameEd->setLineWrapMode(QPlainTextEdit::NoWrap);
    ProdNameEd->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->addWidget(ProdNameEd, 0, 1, 1, 5);
    TextCheck = new QRadioButton(QStringLiteral("Text"), panel7);
    TextCheck->setObjectName(QStringLiteral("TextCheck"));
    TextCheck->setChecked(true);
    CheckCheck = new QRadioButton(QStringLiteral("Ankreuzfeld"), panel7);
    CheckCheck->setObjectName(QStringLiteral("CheckCheck"));
    RadioCheck = new QRadioButton(QStringLiteral("Ankreuzfeld (nur eine Antwort möglich)"), panel7);
    RadioCheck->setObjectName(QStringLiteral("RadioCheck"));
    grid->addWidget(TextCheck, 1, 0);
    grid->addWidget(CheckCheck, 1, 1);
    grid->addWidget(RadioCheck, 1, 2, 1, 4);
    grid->addWidget(Label(panel7, "Label3", QStringLiteral("Breite:")), 2, 0);
    BreitFeldEd = SizeSpin(panel7, "BreitFeldEd", 7);
    grid->addWidget(BreitFeldEd, 2, 1);
    grid->addWidget(Label(panel7, "Label4", QStringLiteral("cm")), 2, 2);
    grid->addWidget(Label(panel7, "Label2", QStringLiteral("Höhe:")), 2, 3);
    HochFeldEd = SizeSpin(panel7, "HochFeldEd", 1);
    grid->addWidget(HochFeldEd, 2, 4);
    grid->addWidget(Label(panel7, "Label5", QStringLiteral("cm")), 2, 5);
    column->addWidget(panel7);

    connect(ListView2->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FieldsTab::ListView2Change);
    connect(categories, &QAbstractItemModel::dataChanged, this, &FieldsTab::ListView2Change);
    connect(categories, &QAbstractItemModel::rowsInserted, this, &FieldsTab::ListView2Change);
    connect(categories, &QAbstractItemModel::rowsRemoved, this, &FieldsTab::ListView2Change);
    connect(categories, &QAbstractItemModel::modelReset, this, [this] { ListProds(); });
    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!donotupdate) ListView1Click();
    });
    ListProds();
}

void FieldsTab::ListView2Change() {
    if (!donotupdate) ListProds();
    emit categoryListChanged();
}

int FieldsTab::SelectedCategory() const {
    const QModelIndexList rows = ListView2->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void FieldsTab::SelectCategory(int row) {
    if (row < 0 || row >= categories->rowCount()) {
        ListView2->selectionModel()->clearSelection();
        return;
    }
    ListView2->selectionModel()->select(
        categories->index(row), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QList<int> FieldsTab::SelectedFields() const {
    QList<int> rows;
    for (const QModelIndex& index : ListView1->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int FieldsTab::SelectedField() const {
    const QList<int> rows = SelectedFields();
    return rows.isEmpty() ? -1 : rows.first();
}

void FieldsTab::ListProds() {
    const int cat = SelectedCategory();
    fields->SetCategory(cat);
    for (QPushButton* b : fieldCommands)
        b->setEnabled(cat >= 0);
    ListView1Click();
}

void FieldsTab::ListView1Click() {
    const int cat = SelectedCategory();
    const int f = cat >= 0 ? SelectedField() : -1;
    QWidget* editors[] = {ProdNameEd, HochFeldEd, BreitFeldEd, TextCheck, CheckCheck, RadioCheck};
    const FieldRecord* field = doc.FieldAt(cat, f);
    if (!field) {
        ProdNameEd->clear();
        for (QWidget* w : editors)
            w->setEnabled(false);
        return;
    }
    ProdNameEd->setPlainText(ToQString(field->name));
    HochFeldEd->setValue(field->height);
    BreitFeldEd->setValue(field->width);
    QRadioButton* kinds[] = {TextCheck, CheckCheck, RadioCheck};
    if (field->kind >= 0 && field->kind <= 2) kinds[field->kind]->setChecked(true);
    for (QWidget* w : editors)
        w->setEnabled(true);
}

PresetsTab::PresetsTab(QWidget* parent) : QWidget(parent) {
    auto* tab = this;
    tab->setObjectName(QStringLiteral("TabSheet2"));
    auto* grid = new QGridLayout(tab);
    grid->addWidget(
        Label(tab, "Label6",
              QStringLiteral("Neue Formularfelder sollen folgende Breite und Höhe haben:")),
        0, 0, 1, 3);
    grid->addWidget(Label(tab, "Label7", QStringLiteral("Breite:")), 1, 0);
    BreitDefEd = SizeSpin(tab, "BreitDefEd", 6);
    grid->addWidget(BreitDefEd, 1, 1);
    grid->addWidget(Label(tab, "Label8", QStringLiteral("cm")), 1, 2);
    grid->addWidget(Label(tab, "Label9", QStringLiteral("Höhe:")), 2, 0);
    HochDefEd = SizeSpin(tab, "HochDefEd", 1.25);
    grid->addWidget(HochDefEd, 2, 1);
    grid->addWidget(Label(tab, "Label10", QStringLiteral("cm")), 2, 2);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(3, 1);
}

double PresetsTab::NewFieldWidth() const {
    return BreitDefEd->value();
}

double PresetsTab::NewFieldHeight() const {
    return HochDefEd->value();
}
