#include "KategorieBearbeitenFUnit.h"

#include "DialogButtons.h"
#include "Dib.h"
#include "FilenameEditBox.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
QLabel* Label(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}
} // namespace

TKategorieBearbeitenForm::TKategorieBearbeitenForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("KategorieBearbeitenForm"));
    setWindowTitle(QStringLiteral("Kategorie bearbeiten"));
    resize(418, 414);
    auto* grid = new QGridLayout(this);
    grid->addWidget(Label(this, "Label1", QStringLiteral("Name:")), 0, 0);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    grid->addWidget(Edit1, 0, 1, 1, 2);
    grid->addWidget(Label(this, "Label31", QStringLiteral("Bild:")), 1, 0);
    FilenameEdit1 = new FilenameEditBox(this);
    FilenameEdit1->setObjectName(QStringLiteral("FilenameEdit1"));
    grid->addWidget(FilenameEdit1, 1, 1, 1, 2);
    QLabel* widthLabel = Label(this, "Label5", QStringLiteral("Bild Breite in cm:"));
    widthLabel->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    grid->addWidget(widthLabel, 2, 0);
    BildBreitEd = new QDoubleSpinBox(this);
    BildBreitEd->setObjectName(QStringLiteral("BildBreitEd"));
    BildBreitEd->setDecimals(2);
    BildBreitEd->setRange(0.01, 10000);
    BildBreitEd->setSingleStep(1);
    BildBreitEd->setValue(3);
    BildBreitEd->setToolTip(QStringLiteral("Die Breite VOR dem Hinzufügen der Bilder einstellen."));
    grid->addWidget(BildBreitEd, 2, 1);
    auto* choose = new QPushButton(QStringLiteral("Bild auswählen..."), this);
    choose->setObjectName(QStringLiteral("BitBtn3"));
    choose->setAutoDefault(false);
    grid->addWidget(choose, 2, 2);
    connect(choose, &QPushButton::clicked, FilenameEdit1, &FilenameEditBox::browse);
    RadioButton1 = new QRadioButton(QStringLiteral("Bild vor Kategorienamen anzeigen"), this);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("Bild unter Kategorienamen anzeigen"), this);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    grid->addWidget(RadioButton1, 3, 0, 1, 3);
    grid->addWidget(RadioButton2, 4, 0, 1, 3);
    grid->addWidget(Label(this, "Label2", QStringLiteral("Kategorie Einführungstext:")), 5, 0, 1,
                    3);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setAccessibleName(QStringLiteral("Kategorie Einführungstext:"));
    Memo1->setObjectName(QStringLiteral("Memo1"));
    grid->addWidget(Memo1, 6, 0, 1, 3);
    CheckBox1 =
        new QCheckBox(QStringLiteral("Einführungstext unter dem Bild statt neben dem Bild"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    grid->addWidget(CheckBox1, 7, 0, 1, 3);
    AddOkCancelButtons(this, grid, 8, 1);
}

void TKategorieBearbeitenForm::Fill(const QString& name,
                                    const std::optional<CategoryValues>& record) {
    const CategoryValues shown = record.value_or(CategoryValues{QString(), 3, QString(), 0, false});
    Edit1->setText(name);
    Memo1->setPlainText(shown.introtext);
    FilenameEdit1->setFileName(shown.picfile);
    BildBreitEd->setValue(shown.picwidth);
    if (shown.picbelow != 0)
        RadioButton2->setChecked(true);
    else
        RadioButton1->setChecked(true);
    CheckBox1->setChecked(shown.textbelowpic);
    filled = shown;
    shownWidth = BildBreitEd->value();
    shownBelow = RadioButton2->isChecked();
}

QString TKategorieBearbeitenForm::Name() const {
    return Edit1->text();
}

CategoryValues TKategorieBearbeitenForm::Values() const {
    // A width or placement the controls cannot show exactly (a width out of the
    // box's range, more decimals, a placement other than 0 and 1, all possible in
    // a file) is kept unless the user changed that control.
    CategoryValues v = filled;
    v.picfile = FilenameEdit1->fileName();
    v.introtext = Memo1->toPlainText();
    v.textbelowpic = CheckBox1->isChecked();
    if (BildBreitEd->value() != shownWidth) v.picwidth = BildBreitEd->value();
    if (RadioButton2->isChecked() != shownBelow) v.picbelow = RadioButton1->isChecked() ? 0 : 1;
    return v;
}

void TKategorieBearbeitenForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FilenameEdit1->setFilter(QString::fromUtf8(GetDIBOpenFilter()));
    Edit1->setFocus();
    Edit1->end(false);
}
