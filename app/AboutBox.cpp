#include "AboutBox.h"

#include "LayoutSettings.h"

#include <QDate>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Info"));
    auto* layout = new QVBoxLayout(this);

    auto* product = new QLabel(QStringLiteral("Torvane Quillora 1.0"), this);
    product->setObjectName(QStringLiteral("ProductName"));
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    product->setFont(big);
    layout->addWidget(product);

    auto* purpose = new QLabel(QStringLiteral("Bestellformulare gestalten und drucken"), this);
    purpose->setObjectName(QStringLiteral("Comments"));
    layout->addWidget(purpose);

    CopyrightLabel = new QLabel(QStringLiteral("Copyright © XXXX Torvane"), this);
    CopyrightLabel->setObjectName(QStringLiteral("Copyright"));
    // The maker's name and the year read the same in every language; looked up,
    // the year would make a new table row every year.
    CopyrightLabel->setProperty("quilloraKeepText", true);
    CopyrightLabel->setText(CopyrightLabel->text().replace(
        QStringLiteral("XXXX"),
        QString::number(QDate::currentDate().year()).rightJustified(4, u'0')));
    layout->addWidget(CopyrightLabel);

    auto* buttons = new QHBoxLayout;
    WebBtn = new QPushButton(QStringLiteral("Besuchen Sie uns im Internet"), this);
    WebBtn->setObjectName(QStringLiteral("WebBtn"));
    WebBtn->setToolTip(QString::fromUtf16(kMakerWebAddress));
    connect(WebBtn, &QPushButton::clicked, this, &AboutBox::openWebsite);
    buttons->addWidget(WebBtn);
    buttons->addStretch();
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(OKBtn);
    layout->addLayout(buttons);
}

void AboutBox::openWebsite() {
    QDesktopServices::openUrl(QUrl(QString::fromUtf16(kMakerWebAddress)));
}
