#pragma once
// The layout tabs as a view of the document's layout values. Each control is
// made from its row of the settings tables and bound to its layout key: a
// change by the user becomes an undoable layout change of the document, and a
// value set in the document (a file opened, an undo) shows in its control.

#include "LayoutKeys.h"

#include <QObject>
#include <QString>
#include <functional>
#include <initializer_list>
#include <vector>

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QWidget;
class ColourSwatch;
class Document;
class FilenameEditBox;
class FontSettingButton;

class LayoutBinding : public QObject {
    Q_OBJECT
  public:
    LayoutBinding(Document& document, QObject* parent = nullptr);

    // Each control gets its name as objectName, its caption, range and the
    // document's value; hidden ones stay hidden.
    QDoubleSpinBox* MakeSpin(const SpinSetting& s, QWidget* parent);
    QCheckBox* MakeCheck(const CheckSetting& s, QWidget* parent);
    ColourSwatch* MakeSwatch(const ColourSetting& s, QWidget* parent);
    FontSettingButton* MakeFontButton(const FontSetting& s, QWidget* parent);
    QLineEdit* MakeText(const TextSetting& s, QWidget* parent);
    QSpinBox* MakeWholeNumber(const OtherSetting& s, QWidget* parent);
    FilenameEditBox* MakeFileName(const OtherSetting& s, QWidget* parent);
    // A group of radio buttons holding one choice, one button for each part of
    // the row's name ("A/B/C"): button i stands for value i and shows captions[i].
    std::vector<QRadioButton*> MakeChoice(const OtherSetting& s,
                                          std::initializer_list<QString> captions, QWidget* parent);

  private:
    // Registers how key's control shows the document's value, and shows it.
    void Bind(int key, std::function<void()> show);
    void Show(int key);
    void ShowAll();
    // A change made by the user in a control.
    template <typename T> void Changed(int key, const T& value);
    // A value chosen in a font or colour dialog: one undo step, never merged.
    void Chosen(int key, const LayoutValue& value);

    Document& doc;
    std::vector<std::vector<std::function<void()>>> shows; // by key
};
