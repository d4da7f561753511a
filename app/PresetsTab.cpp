#include "PresetsTab.h"

#include "NamedLabel.h"
#include "SizeSpinBox.h"

#include <QDoubleSpinBox>
#include <QGridLayout>

PresetsTab::PresetsTab(QWidget* parent) : QWidget(parent) {
    auto* tab = this;
    tab->setObjectName(QStringLiteral("TabSheet2"));
    auto* grid = new QGridLayout(tab);
    grid->addWidget(
        NamedLabel(tab, "Label6",
                   QStringLiteral("Neue Formularfelder sollen folgende Breite und Höhe haben:")),
        0, 0, 1, 3);
    grid->addWidget(NamedLabel(tab, "Label4", QStringLiteral("Breite:")), 1, 0);
    newWidthBox = SizeSpinBox(tab, "BreitDefEd", 6);
    grid->addWidget(newWidthBox, 1, 1);
    grid->addWidget(NamedLabel(tab, "Label8", QStringLiteral("cm")), 1, 2);
    grid->addWidget(NamedLabel(tab, "Label5", QStringLiteral("Höhe:")), 2, 0);
    newHeightBox = SizeSpinBox(tab, "HochDefEd", 1.25);
    grid->addWidget(newHeightBox, 2, 1);
    grid->addWidget(NamedLabel(tab, "Label10", QStringLiteral("cm")), 2, 2);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(3, 1);
}

double PresetsTab::NewFieldWidth() const {
    return newWidthBox->value();
}

double PresetsTab::NewFieldHeight() const {
    return newHeightBox->value();
}
