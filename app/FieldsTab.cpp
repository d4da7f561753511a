// The tab "Felder": the category list, the field list and the field's properties.
#include "MainUnit.h"

#include "CategoryListModel.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
// A panel with a list on the left and its command buttons stacked on the right.
QWidget* ListPanel(QWidget* parent, const char* name, QWidget* list,
                   std::initializer_list<std::pair<const char*, QString>> buttons) {
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

QWidget* TMainForm::BuildFieldsTab() {
    auto* tab = new QWidget;
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

    ListView1 = new QTreeWidget;
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(2);
    ListView1->setHeaderLabels({QStringLiteral("Bezeichnung"), QString()});
    ListView1->setColumnHidden(1, true); // the description travels along unseen
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    column->addWidget(
        ListPanel(tab, "Panel5", ListView1,
                  {{"NeuesProduktBtn", QStringLiteral("Neues Feld")},
                   {"NeuesAnkreuzfeldBtn", QStringLiteral("Neues Ankreuzfeld")},
                   {"NewRadioBtnBtn", QStringLiteral("Neues Ankreuzfeld (nur eine Antwort)")},
                   {"ProduktLoeschenBtn", QStringLiteral("Löschen")},
                   {"AndereKategorieBtn", QStringLiteral("Andere Kateg.")},
                   {"ProduktNachObenBtn", QStringLiteral("Nach oben")},
                   {"ProduktNachUntenBtn", QStringLiteral("Nach unten")}}),
        1);

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
    return tab;
}

QWidget* TMainForm::BuildPresetsTab() {
    auto* tab = new QWidget;
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
    return tab;
}
