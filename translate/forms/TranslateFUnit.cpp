#include "TranslateFUnit.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>

TTranslateForm::TTranslateForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TranslateForm"));
    setWindowTitle(QStringLiteral("Übersetzen"));
    resize(705, 453);
    auto* column = new QVBoxLayout(this);

    auto* panel1 = new QWidget(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFixedHeight(35);
    auto* row1 = new QHBoxLayout(panel1);
    row1->setContentsMargins(0, 0, 0, 0);
    auto* back = new QPushButton(QStringLiteral("Zurück..."), panel1);
    back->setObjectName(QStringLiteral("BackBtn"));
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    row1->addWidget(back);
    row1->addStretch(1);
    column->addWidget(panel1);

    auto* panel2 = new QWidget(this);
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setFixedHeight(40);
    auto* row2 = new QHBoxLayout(panel2);
    row2->setContentsMargins(0, 0, 0, 0);
    FilterEdit = new QLineEdit(panel2);
    FilterEdit->setObjectName(QStringLiteral("FilterEdit"));
    row2->addWidget(FilterEdit);
    auto* search = new QPushButton(QStringLiteral("Suchen"), panel2);
    search->setObjectName(QStringLiteral("FilterBtn"));
    row2->addWidget(search);
    auto* remove = new QPushButton(QStringLiteral("Zeile löchen"), panel2);
    remove->setObjectName(QStringLiteral("DeleteRowBtn"));
    row2->addWidget(remove);
    FixedColCheck = new QCheckBox(QStringLiteral("Erste Spalte fixieren"), panel2);
    FixedColCheck->setObjectName(QStringLiteral("FixedColCheck"));
    row2->addWidget(FixedColCheck);
    row2->addStretch(1);
    column->addWidget(panel2);

    StringGrid1 = new QTableWidget(1, 20, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->horizontalHeader()->setDefaultSectionSize(250);
    column->addWidget(StringGrid1, 1);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    column->addWidget(status);
}
