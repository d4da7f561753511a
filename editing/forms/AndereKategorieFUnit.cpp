#include "AndereKategorieFUnit.h"

#include "DialogButtons.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

TAndereKategorieForm::TAndereKategorieForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AndereKategorieForm"));
    setWindowTitle(QStringLiteral("In andere Kategorie verschieben"));
    resize(418, 284);
    auto* grid = new QGridLayout(this);
    auto* label = new QLabel(QStringLiteral("Kategorie:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setAccessibleName(QStringLiteral("Kategorie"));
    ComboBox1->setEditable(false);
    grid->addWidget(label, 0, 0);
    grid->addWidget(ComboBox1, 1, 0, 1, 2);
    grid->setRowStretch(2, 1);
    AddOkCancelButtons(this, grid, 3, 0);
}
