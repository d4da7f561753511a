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

    copyrightLine = new QLabel(QStringLiteral("Copyright © XXXX Torvane"), this);
    copyrightLine->setObjectName(QStringLiteral("Copyright"));
    // The maker's name and the year read the same in every language; looked up,
    // the year would make a new table row every year.
    copyrightLine->setProperty("quilloraKeepText", true);
    copyrightLine->setText(copyrightLine->text().replace(
        QStringLiteral("XXXX"),
        QString::number(QDate::currentDate().year()).rightJustified(4, u'0')));
    layout->addWidget(copyrightLine);

    auto* buttons = new QHBoxLayout;
    websiteButton = new QPushButton(QStringLiteral("Besuchen Sie uns im Internet"), this);
    websiteButton->setObjectName(QStringLiteral("WebBtn"));
    websiteButton->setToolTip(QString::fromUtf16(kMakerWebAddress));
    connect(websiteButton, &QPushButton::clicked, this, &AboutBox::openWebsite);
    buttons->addWidget(websiteButton);
    buttons->addStretch();
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("OKBtn"));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(okButton);
    layout->addLayout(buttons);
}

void AboutBox::openWebsite() {
    QDesktopServices::openUrl(QUrl(QString::fromUtf16(kMakerWebAddress)));
}
