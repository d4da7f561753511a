#include "LayoutBinding.h"

#include "ColourSwatch.h"
#include "Document.h"
#include "ExactSpinBox.h"
#include "FilenameEditBox.h"
#include "FontSettingButton.h"
#include "LayoutCommands.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStringList>
#include <QUndoStack>

#include <climits>
#include <limits>

namespace {
// A value chosen in a dialog is an undo step of its own: two colours chosen one
// after the other for the same swatch are undone one at a time.
class ChooseLayoutValue final : public ChangeLayoutValue {
  public:
    using ChangeLayoutValue::ChangeLayoutValue;
    int id() const override { return -1; }
};
} // namespace

LayoutBinding::LayoutBinding(Document& document, QObject* parent)
    : QObject(parent), doc(document), shows(LayoutKeys().size()) {
    connect(&doc, &Document::layoutValueChanged, this, &LayoutBinding::Show);
    connect(&doc, &Document::reset, this, &LayoutBinding::ShowAll);
}

void LayoutBinding::Bind(int key, std::function<void()> show) {
    Q_ASSERT(key >= 0);
    show();
    shows[static_cast<std::size_t>(key)].push_back(std::move(show));
}

void LayoutBinding::Show(int key) {
    if (key < 0 || key >= static_cast<int>(shows.size())) return;
    for (const auto& show : shows[static_cast<std::size_t>(key)])
        show();
}

void LayoutBinding::ShowAll() {
    for (int key = 0; key < static_cast<int>(shows.size()); ++key)
        Show(key);
}

template <typename T> void LayoutBinding::Changed(int key, const T& value) {
    PushLayoutValue(doc, key, LayoutValue(value));
}

void LayoutBinding::Chosen(int key, const LayoutValue& value) {
    if (!WouldChange(doc, key, value)) return;
    doc.undoStack()->push(new ChooseLayoutValue(doc, key, value));
}

QDoubleSpinBox* LayoutBinding::MakeSpin(const SpinSetting& s, QWidget* parent) {
    QDoubleSpinBox* spin = s.decimals > 0 ? new ExactSpinBox(parent) : new QDoubleSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(s.name));
    if (s.decimals == 0) spin->setDecimals(0);
    spin->setMinimumWidth(90);
    spin->setRange(s.minimum, s.maximum);
    spin->setSingleStep(s.step);
    spin->setVisible(!s.hidden);
    const int key = LayoutKeyOf(s.value);
    Bind(key, [this, spin, s] {
        const QSignalBlocker quiet(spin);
        spin->setValue(doc.layout().*s.value);
    });
    connect(spin, &QDoubleSpinBox::valueChanged, this, [this, key](double v) { Changed(key, v); });
    return spin;
}

QCheckBox* LayoutBinding::MakeCheck(const CheckSetting& s, QWidget* parent) {
    auto* check = new QCheckBox(QString::fromUtf8(s.caption), parent);
    check->setObjectName(QString::fromLatin1(s.name));
    check->setVisible(!s.hidden);
    const int key = LayoutKeyOf(s.value);
    Bind(key, [this, check, s] {
        const QSignalBlocker quiet(check);
        check->setChecked(doc.layout().*s.value);
    });
    connect(check, &QCheckBox::toggled, this, [this, key](bool on) { Changed(key, on); });
    return check;
}

ColourSwatch* LayoutBinding::MakeSwatch(const ColourSetting& s, QWidget* parent) {
    auto* swatch = new ColourSwatch(parent);
    swatch->setObjectName(QString::fromLatin1(s.name));
    swatch->setVisible(!s.hidden);
    const int key = LayoutKeyOf(s.value);
    Bind(key, [this, swatch, s] {
        const QSignalBlocker quiet(swatch);
        swatch->setColour(doc.layout().*s.value);
    });
    connect(swatch, &ColourSwatch::colourChanged, this,
            [this, key](ColourValue c) { Chosen(key, LayoutValue(c)); });
    return swatch;
}

FontSettingButton* LayoutBinding::MakeFontButton(const FontSetting& s, QWidget* parent) {
    auto* button = new FontSettingButton(QString::fromUtf8(s.caption), parent);
    button->setObjectName(QString::fromLatin1(s.buttonName));
    button->dialogName = QString::fromLatin1(s.dialogName);
    button->setVisible(!s.hidden);
    const auto role = static_cast<FontRole>(s.index);
    const int key = LayoutKeyOf(role);
    Bind(key, [this, button, role] { button->setFontRecord(doc.layout().font(role)); });
    connect(button, &FontSettingButton::fontChosen, this,
            [this, key](const FontRecord& f) { Chosen(key, LayoutValue(f)); });
    return button;
}

QLineEdit* LayoutBinding::MakeText(const TextSetting& s, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(s.name));
    // A text of any length stays whole (the default limit cuts at 32,767).
    edit->setMaxLength(std::numeric_limits<int>::max());
    const int key = LayoutKeyOf(s.value);
    Bind(key, [this, edit, s] {
        if (edit->text() == doc.layout().*s.value) return;
        const QSignalBlocker quiet(edit);
        edit->setText(doc.layout().*s.value);
    });
    connect(edit, &QLineEdit::textChanged, this,
            [this, key](const QString& text) { Changed(key, text); });
    return edit;
}

QSpinBox* LayoutBinding::MakeWholeNumber(const OtherSetting& s, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(s.name));
    spin->setRange(INT_MIN, INT_MAX);
    const int key = LayoutKeyOf(s.number);
    Bind(key, [this, spin, s] {
        const QSignalBlocker quiet(spin);
        spin->setValue(doc.layout().*s.number);
    });
    connect(spin, &QSpinBox::valueChanged, this,
            [this, key](int v) { Changed(key, static_cast<std::int32_t>(v)); });
    return spin;
}

FilenameEditBox* LayoutBinding::MakeFileName(const OtherSetting& s, QWidget* parent) {
    auto* box = new FilenameEditBox(parent);
    box->setObjectName(QString::fromLatin1(s.name));
    const int key = LayoutKeyOf(s.text);
    Bind(key, [this, box, s] {
        if (box->fileName() == doc.layout().*s.text) return;
        const QSignalBlocker quiet(box);
        box->setFileName(doc.layout().*s.text);
    });
    connect(box, &FilenameEditBox::fileNameChanged, this,
            [this, key](const QString& name) { Changed(key, name); });
    return box;
}

std::vector<QRadioButton*> LayoutBinding::MakeChoice(const OtherSetting& s,
                                                     std::initializer_list<QString> captions,
                                                     QWidget* parent) {
    const QStringList names = QString::fromLatin1(s.name).split(QLatin1Char('/'));
    std::vector<QRadioButton*> buttons;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString caption =
            i < static_cast<qsizetype>(captions.size()) ? captions.begin()[i] : QString();
        auto* button = new QRadioButton(caption, parent);
        button->setObjectName(names[i]);
        buttons.push_back(button);
    }
    const int key = LayoutKeyOf(s.number);
    Bind(key, [this, buttons, s] {
        const std::int32_t v = doc.layout().*s.number;
        // A value without a button leaves the buttons as they are.
        if (v < 0 || v >= static_cast<std::int32_t>(buttons.size())) return;
        const QSignalBlocker quiet(buttons[static_cast<std::size_t>(v)]);
        buttons[static_cast<std::size_t>(v)]->setChecked(true);
    });
    for (std::size_t i = 0; i < buttons.size(); ++i)
        connect(buttons[i], &QRadioButton::toggled, this, [this, key, i](bool on) {
            if (on) Changed(key, static_cast<std::int32_t>(i));
        });
    return buttons;
}
