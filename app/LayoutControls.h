#pragma once
// The controls that hold the page layout values, and the two directions between
// them and a LayoutSettings value: Read() for the layout engine and the project
// file, Apply() to give every value to its control as if the user had typed it.

#include "LayoutSettings.h"

#include <QString>
#include <vector>

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QWidget;
class ColourSwatch;
class FontSettingButton;
class FilenameEditBox;

class LayoutControls {
  public:
    // Creation: each control gets its name as objectName, its caption, range and default.
    QDoubleSpinBox* MakeSpin(const SpinSetting& s, QWidget* parent);
    QCheckBox* MakeCheck(const CheckSetting& s, QWidget* parent);
    ColourSwatch* MakeSwatch(const ColourSetting& s, QWidget* parent);
    FontSettingButton* MakeFontButton(const FontSetting& s, QWidget* parent);
    QLineEdit* MakeText(const char* name, QString LayoutSettings::*value, QWidget* parent);

    QSpinBox* firstPageNr = nullptr;
    QRadioButton* bildLinks = nullptr;
    QRadioButton* bildZentr = nullptr;
    QRadioButton* bildRechts = nullptr;
    FilenameEditBox* backgroundFile = nullptr; // FilenameEdit2
    FilenameEditBox* logoFile = nullptr;       // FilenameEdit1

    LayoutSettings Read() const;
    void Apply(const LayoutSettings& settings);

  private:
    std::vector<std::pair<const SpinSetting*, QDoubleSpinBox*>> spins;
    std::vector<std::pair<const CheckSetting*, QCheckBox*>> checks;
    std::vector<std::pair<const ColourSetting*, ColourSwatch*>> swatches;
    std::vector<std::pair<const FontSetting*, FontSettingButton*>> fonts;
    std::vector<std::pair<QString LayoutSettings::*, QLineEdit*>> texts;
};
