#pragma once
// The dialog "Kategorie bearbeiten": a category's name, picture and introduction text.
// Created once and reused; it keeps no data of its own between uses.

#include "Document.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class FilenameEditBox;

class CategoryDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CategoryDialog(QWidget* parent = nullptr);

    // Shows a category's name and record; without a record the defaults: no
    // picture, width 3, picture before the name, no introduction text.
    void Fill(const QString& name, const std::optional<CategoryValues>& record);
    // The name as typed (may be empty) and the record the controls describe.
    QString Name() const;
    CategoryValues Values() const;
    // Shown, the dialog has the caret after the name's last character.
    void setVisible(bool visible) override;

    QLineEdit* nameEdit;
    FilenameEditBox* pictureFile;
    QDoubleSpinBox* pictureWidth;
    QRadioButton* pictureBeforeName;
    QRadioButton* pictureBelowName;
    QPlainTextEdit* introText;
    QCheckBox* introBelowPicture;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    CategoryValues filled; // as given to Fill
    double shownWidth = 3;
    bool shownBelow = false;
    QString shownIntro; // the introduction as the text box showed it after Fill
};
