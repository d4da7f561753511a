// The field list of the selected category and the selected field's properties.
#include "MainUnit.h"

#include <QDoubleSpinBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QTreeWidget>

void TMainForm::ListProds() {
    ListView1->setUpdatesEnabled(false);
    ListView1->clear();
    const int cat = SelectedCategory();
    if (cat >= 0) {
        FieldArray* fields = doc->Fields(cat);
        for (std::uint32_t i = 0; i < fields->count; ++i) {
            const FieldRecord* f = fields->at(static_cast<std::int32_t>(i));
            new QTreeWidgetItem(ListView1, {ToQString(f->name), ToQString(f->descr)});
        }
    }
    ListView1->setUpdatesEnabled(true);
    for (const char* name : {"ProduktNachUntenBtn", "ProduktNachObenBtn", "ProduktLoeschenBtn",
                             "AndereKategorieBtn", "NeuesProduktBtn"})
        findChild<QPushButton*>(QString::fromLatin1(name))->setEnabled(cat >= 0);
    ListView1Click();
}

int TMainForm::SelectedField() const {
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    int first = -1;
    for (QTreeWidgetItem* item : selected) {
        const int i = ListView1->indexOfTopLevelItem(item);
        if (first < 0 || i < first) first = i;
    }
    return first;
}

void TMainForm::ListView1Click() {
    const int cat = SelectedCategory();
    const int f = cat >= 0 ? SelectedField() : -1;
    QWidget* editors[] = {ProdNameEd, HochFeldEd, BreitFeldEd, TextCheck, CheckCheck, RadioCheck};
    if (f < 0) {
        ProdNameEd->clear();
        for (QWidget* w : editors)
            w->setEnabled(false);
        return;
    }
    const FieldRecord* field = doc->Fields(cat)->at(f);
    ProdNameEd->setPlainText(ToQString(field->name));
    HochFeldEd->setValue(field->height);
    BreitFeldEd->setValue(field->width);
    QRadioButton* kinds[] = {TextCheck, CheckCheck, RadioCheck};
    if (field->kind >= 0 && field->kind <= 2) kinds[field->kind]->setChecked(true);
    for (QWidget* w : editors)
        w->setEnabled(true);
}
