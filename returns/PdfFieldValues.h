#pragma once
// What the fields of a filled-in PDF form hold, as viewers take them: a
// field's value (its own or a parent's), a check box's state, a radio group's
// choice. Written once over the object handles of either PDF reader (qpdf's
// QPDFObjectHandle and PlainPdf's PlainObject, which answer the same
// questions), so that both readers follow one rule.

#include <qpdf/QUtil.hh>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace pdf_fields {

// How deep the field tree may nest, how many fields a file may hold.
inline constexpr int kMaxFieldDepth = 32;
inline constexpr std::size_t kMaxFields = 200000;

// The field's value, /V here or on a parent.
template <typename Obj> Obj ValueOf(Obj field) {
    for (int depth = 0; field.isDictionary() && depth <= kMaxFieldDepth; ++depth) {
        Obj v = field.getKey("/V");
        if (!v.isNull()) return v;
        field = field.getKey("/Parent");
    }
    return Obj::newNull();
}

// A button's value as viewers take it: a name, or a text string that names
// a state with or without its leading "/" (some libraries write "/Off" as a
// string). The state name with its slash; empty for anything else.
template <typename Obj> std::string StateNameOf(Obj value) {
    if (value.isName()) return value.getName();
    if (!value.isString()) return {};
    std::string text = value.getUTF8Value();
    if (!text.empty() && text.front() == '/') text.erase(0, 1);
    return "/" + text;
}

inline bool IsOffState(const std::string& state) {
    return state == "/Off" || state == "/";
}

// Whether a value names the state on: byte for byte, or read as
// PDFDocEncoding, as pdftk writes a name whose state is stored in UTF-8.
inline bool NamesState(const std::string& value, const std::string& on) {
    return !on.empty() && (value == on || QUtil::pdf_doc_to_utf8(value) == on);
}

// The widgets of a field: its kids without a name, or itself.
template <typename Obj> std::vector<Obj> WidgetsOf(Obj field) {
    std::vector<Obj> widgets;
    Obj kids = field.getKey("/Kids");
    if (kids.isArray()) {
        for (int i = 0; i < kids.getArrayNItems() && i < static_cast<int>(kMaxFields); ++i) {
            Obj kid = kids.getArrayItem(i);
            if (kid.isDictionary() && !kid.getKey("/T").isString()) widgets.push_back(kid);
        }
    }
    if (widgets.empty()) widgets.push_back(field);
    return widgets;
}

// The "on" state of a button widget: the state of its normal appearance that is not /Off.
template <typename Obj> std::string OnStateOf(Obj widget) {
    Obj ap = widget.getKey("/AP");
    if (!ap.isDictionary()) return {};
    Obj normal = ap.getKey("/N");
    if (!normal.isDictionary()) return {};
    for (const std::string& key : normal.getKeys())
        if (key != "/Off") return key;
    return {};
}

// What a button's value or appearance state says: on, off, or nothing a
// viewer would take (absent, or naming a state the button does not have).
enum class Says { Nothing, On, Off };

// What the check box's value says, against its widgets' own "on" states.
template <typename Obj> Says ValueSays(Obj field, std::vector<Obj>& widgets) {
    const std::string state = StateNameOf(ValueOf(field));
    if (state.empty()) return Says::Nothing;
    if (IsOffState(state)) return Says::Off;
    bool statesKnown = false;
    for (Obj& widget : widgets) {
        const std::string on = OnStateOf(widget);
        if (NamesState(state, on)) return Says::On;
        statesKnown = statesKnown || !on.empty();
    }
    // Without appearances, any state but off is on.
    return statesKnown ? Says::Nothing : Says::On;
}

// What the widgets' appearance states say: on when one shows its "on" state.
template <typename Obj> Says AppearanceSays(std::vector<Obj>& widgets) {
    Says says = Says::Nothing;
    for (Obj& widget : widgets) {
        const std::string state = StateNameOf(widget.getKey("/AS"));
        if (state.empty()) continue;
        const std::string on = OnStateOf(widget);
        if (!IsOffState(state) && (on.empty() || state == on)) return Says::On;
        if (IsOffState(state)) says = Says::Off;
    }
    return says;
}

// A check box is on as viewers show it: by its value when that names one of
// its states (viewers take the value, and redraw the box from it when asked
// to), else by the state its widgets show.
template <typename Obj> bool CheckBoxOn(Obj field) {
    std::vector<Obj> widgets = WidgetsOf(field);
    const Says value = ValueSays(field, widgets);
    if (value != Says::Nothing) return value == Says::On;
    return AppearanceSays(widgets) == Says::On;
}

// Which button of a radio group is on: its place among the group's widgets
// and its state name; -1 when none is. The group's value, a name or a
// string naming a button's "on" state, decides; a value that names no
// button's state leaves it to the buttons' appearance states.
template <typename Obj> std::pair<int, std::string> RadioChoice(Obj group) {
    std::vector<Obj> widgets = WidgetsOf(group);
    const std::string value = StateNameOf(ValueOf(group));
    if (!value.empty() && IsOffState(value)) return {-1, {}};
    if (!value.empty()) {
        for (std::size_t i = 0; i < widgets.size(); ++i)
            if (NamesState(value, OnStateOf(widgets[i])))
                return {static_cast<int>(i), OnStateOf(widgets[i])};
    }
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        Obj as = widgets[i].getKey("/AS");
        if (as.isName() && !IsOffState(as.getName())) return {static_cast<int>(i), as.getName()};
    }
    return {-1, {}};
}

} // namespace pdf_fields
