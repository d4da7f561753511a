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

#include <iterator>
#include <limits>

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
    Edit1->setMaxLength(std::numeric_limits<int>::max()); // no name is cut
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
    Memo1->setTabChangesFocus(true); // Tab moves on, as everywhere in the dialog
    grid->addWidget(Memo1, 6, 0, 1, 3);
    CheckBox1 =
        new QCheckBox(QStringLiteral("Einführungstext unter dem Bild statt neben dem Bild"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    grid->addWidget(CheckBox1, 7, 0, 1, 3);
    AddOkCancelButtons(this, grid, 8, 1);
    // Tab goes down the dialog; the picture button, beside the width, comes
    // after OK and "Abbrechen", as the dialog was designed.
    QWidget* order[] = {Edit1,
                        FilenameEdit1,
                        BildBreitEd,
                        RadioButton1,
                        RadioButton2,
                        Memo1,
                        findChild<QPushButton*>(QStringLiteral("BitBtn1")),
                        findChild<QPushButton*>(QStringLiteral("BitBtn2")),
                        choose,
                        CheckBox1};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
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
    shownIntro = Memo1->toPlainText();
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
    // The text box keeps line breaks its own way (a stored CR LF comes back as
    // LF): an introduction the user left alone keeps its stored text.
    const QString intro = Memo1->toPlainText();
    if (intro != shownIntro) v.introtext = intro;
    v.textbelowpic = CheckBox1->isChecked();
    if (BildBreitEd->value() != shownWidth) v.picwidth = BildBreitEd->value();
    if (RadioButton2->isChecked() != shownBelow) v.picbelow = RadioButton1->isChecked() ? 0 : 1;
    return v;
}

void TKategorieBearbeitenForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FilenameEdit1->setFilter(QString::fromUtf8(GetDIBOpenFilter()));
    Edit1->setFocus();
}

void TKategorieBearbeitenForm::setVisible(bool visible) {
    // Showing a dialog hands its focus widget the focus as if by Tab, on which a
    // line edit selects its whole text; the name is to be continued, not
    // replaced, so the caret goes after its last character with nothing selected.
    QDialog::setVisible(visible);
    if (visible) Edit1->end(false);
}
