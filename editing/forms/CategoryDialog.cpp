#include "CategoryDialog.h"

#include "DialogButtons.h"
#include "Dib.h"
#include "FilenameEditBox.h"
#include "NamedLabel.h"

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

CategoryDialog::CategoryDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("KategorieBearbeitenForm"));
    setWindowTitle(QStringLiteral("Kategorie bearbeiten"));
    resize(418, 414);
    auto* grid = new QGridLayout(this);
    grid->addWidget(NamedLabel(this, "Label1", QStringLiteral("Name:")), 0, 0);
    nameEdit = new QLineEdit(this);
    nameEdit->setObjectName(QStringLiteral("Edit1"));
    nameEdit->setMaxLength(std::numeric_limits<int>::max()); // no name is cut
    grid->addWidget(nameEdit, 0, 1, 1, 2);
    grid->addWidget(NamedLabel(this, "Label31", QStringLiteral("Bild:")), 1, 0);
    pictureFile = new FilenameEditBox(this);
    pictureFile->setObjectName(QStringLiteral("FilenameEdit1"));
    grid->addWidget(pictureFile, 1, 1, 1, 2);
    QLabel* widthLabel = NamedLabel(this, "Label5", QStringLiteral("Bild Breite in cm:"));
    widthLabel->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    grid->addWidget(widthLabel, 2, 0);
    pictureWidth = new QDoubleSpinBox(this);
    pictureWidth->setObjectName(QStringLiteral("BildBreitEd"));
    pictureWidth->setDecimals(2);
    pictureWidth->setRange(0.01, 10000);
    pictureWidth->setSingleStep(1);
    pictureWidth->setValue(3);
    pictureWidth->setToolTip(
        QStringLiteral("Die Breite VOR dem Hinzufügen der Bilder einstellen."));
    grid->addWidget(pictureWidth, 2, 1);
    auto* choose = new QPushButton(QStringLiteral("Bild auswählen..."), this);
    choose->setObjectName(QStringLiteral("BitBtn3"));
    choose->setAutoDefault(false);
    grid->addWidget(choose, 2, 2);
    connect(choose, &QPushButton::clicked, pictureFile, &FilenameEditBox::browse);
    pictureBeforeName = new QRadioButton(QStringLiteral("Bild vor Kategorienamen anzeigen"), this);
    pictureBeforeName->setObjectName(QStringLiteral("RadioButton1"));
    pictureBeforeName->setChecked(true);
    pictureBelowName = new QRadioButton(QStringLiteral("Bild unter Kategorienamen anzeigen"), this);
    pictureBelowName->setObjectName(QStringLiteral("RadioButton2"));
    grid->addWidget(pictureBeforeName, 3, 0, 1, 3);
    grid->addWidget(pictureBelowName, 4, 0, 1, 3);
    grid->addWidget(NamedLabel(this, "Label2", QStringLiteral("Kategorie Einführungstext:")), 5, 0,
                    1, 3);
    introText = new QPlainTextEdit(this);
    introText->setAccessibleName(QStringLiteral("Kategorie Einführungstext:"));
    introText->setObjectName(QStringLiteral("Memo1"));
    introText->setTabChangesFocus(true); // Tab moves on, as everywhere in the dialog
    grid->addWidget(introText, 6, 0, 1, 3);
    introBelowPicture =
        new QCheckBox(QStringLiteral("Einführungstext unter dem Bild statt neben dem Bild"), this);
    introBelowPicture->setObjectName(QStringLiteral("CheckBox1"));
    grid->addWidget(introBelowPicture, 7, 0, 1, 3);
    AddOkCancelButtons(this, grid, 8, 1);
    // Tab goes down the dialog; the picture button, beside the width, comes
    // after OK and "Abbrechen", as the dialog was designed.
    QWidget* order[] = {nameEdit,
                        pictureFile,
                        pictureWidth,
                        pictureBeforeName,
                        pictureBelowName,
                        introText,
                        findChild<QPushButton*>(QStringLiteral("BitBtn1")),
                        findChild<QPushButton*>(QStringLiteral("BitBtn2")),
                        choose,
                        introBelowPicture};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void CategoryDialog::Fill(const QString& name, const std::optional<CategoryValues>& record) {
    const CategoryValues shown = record.value_or(CategoryValues{QString(), 3, QString(), 0, false});
    nameEdit->setText(name);
    introText->setPlainText(shown.introtext);
    pictureFile->setFileName(shown.picfile);
    pictureWidth->setValue(shown.picwidth);
    if (shown.picbelow != 0)
        pictureBelowName->setChecked(true);
    else
        pictureBeforeName->setChecked(true);
    introBelowPicture->setChecked(shown.textbelowpic);
    filled = shown;
    shownWidth = pictureWidth->value();
    shownBelow = pictureBelowName->isChecked();
    shownIntro = introText->toPlainText();
}

QString CategoryDialog::Name() const {
    return nameEdit->text();
}

CategoryValues CategoryDialog::Values() const {
    // A width or placement the controls cannot show exactly (a width out of the
    // box's range, more decimals, a placement other than 0 and 1, all possible in
    // a file) is kept unless the user changed that control.
    CategoryValues v = filled;
    v.picfile = pictureFile->fileName();
    // The text box keeps line breaks its own way (a stored CR LF comes back as
    // LF): an introduction the user left alone keeps its stored text.
    const QString intro = introText->toPlainText();
    if (intro != shownIntro) v.introtext = intro;
    v.textbelowpic = introBelowPicture->isChecked();
    if (pictureWidth->value() != shownWidth) v.picwidth = pictureWidth->value();
    if (pictureBelowName->isChecked() != shownBelow)
        v.picbelow = pictureBeforeName->isChecked() ? 0 : 1;
    return v;
}

void CategoryDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    pictureFile->setFilter(QString::fromUtf8(GetDIBOpenFilter()));
    nameEdit->setFocus();
}

void CategoryDialog::setVisible(bool visible) {
    // Showing a dialog hands its focus widget the focus as if by Tab, on which a
    // line edit selects its whole text; the name is to be continued, not
    // replaced, so the caret goes after its last character with nothing selected.
    QDialog::setVisible(visible);
    if (visible) nameEdit->end(false);
}
