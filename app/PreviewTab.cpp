// The tab "Formular erzeugen": zoom, page number and the page preview.
#include "MainUnit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedLayout>

QWidget* TMainForm::BuildPreviewTab() {
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabSheet3"));
    auto* grid = new QGridLayout(tab);
    auto* zoomLabel = new QLabel(QStringLiteral("Zoom in %:"), tab);
    zoomLabel->setObjectName(QStringLiteral("ZoomLabel"));
    ZoomEd = new QSpinBox(tab);
    ZoomEd->setObjectName(QStringLiteral("ZoomEd"));
    ZoomEd->setRange(1, 1000);
    ZoomEd->setSingleStep(10);
    ZoomEd->setValue(100);
    auto* pageLabel = new QLabel(QStringLiteral("Seite:"), tab);
    pageLabel->setObjectName(QStringLiteral("SeiteLabel"));
    SeiteEd = new QSpinBox(tab);
    SeiteEd->setObjectName(QStringLiteral("SeiteEd"));
    SeiteEd->setRange(1, 100000);
    SeiteEd->setValue(1);
    grid->addWidget(zoomLabel, 0, 0);
    grid->addWidget(ZoomEd, 0, 1);
    grid->addWidget(pageLabel, 0, 2);
    grid->addWidget(SeiteEd, 0, 3);
    grid->setColumnStretch(4, 1);

    // KeyEdit lies under the scroll box, covered by it: it only takes the keyboard focus.
    auto* holder = new QWidget(tab);
    holder->setObjectName(QStringLiteral("PreviewHolder"));
    auto* stack = new QStackedLayout(holder);
    stack->setStackingMode(QStackedLayout::StackAll);
    KeyEdit = new QLineEdit(holder);
    KeyEdit->setObjectName(QStringLiteral("KeyEdit"));
    ScrollBox1 = new QScrollArea(holder);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    stack->addWidget(KeyEdit);
    stack->addWidget(ScrollBox1);
    stack->setCurrentWidget(ScrollBox1);
    ScrollBox1->raise();
    grid->addWidget(holder, 1, 0, 1, 5);
    grid->setRowStretch(1, 1);
    BuildPagePreview();
    return tab;
}
