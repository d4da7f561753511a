#pragma once
// The OK and "Abbrechen" buttons of the program's small dialogs.

#include <QDialog>
#include <QGridLayout>
#include <QPushButton>

// Adds OK (BitBtn1, the default button) and "Abbrechen" (BitBtn2) side by side
// at row, column and column + 1 of grid, closing dialog with OK or Cancel.
inline void AddOkCancelButtons(QDialog* dialog, QGridLayout* grid, int row, int column) {
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), dialog);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    grid->addWidget(ok, row, column);
    grid->addWidget(cancel, row, column + 1);
}
