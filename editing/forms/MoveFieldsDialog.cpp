#include "MoveFieldsDialog.h"

#include "DialogButtons.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

MoveFieldsDialog::MoveFieldsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AndereKategorieForm"));
    setWindowTitle(QStringLiteral("In andere Kategorie verschieben"));
    resize(418, 284);
    auto* grid = new QGridLayout(this);
    auto* label = new QLabel(QStringLiteral("Kategorie:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    categoryBox = new QComboBox(this);
    categoryBox->setObjectName(QStringLiteral("ComboBox1"));
    categoryBox->setAccessibleName(QStringLiteral("Kategorie"));
    categoryBox->setEditable(false);
    grid->addWidget(label, 0, 0);
    grid->addWidget(categoryBox, 1, 0, 1, 2);
    grid->setRowStretch(2, 1);
    AddOkCancelButtons(this, grid, 3, 0);
}
