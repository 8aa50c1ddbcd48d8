// Dialog templates: each control's kind, numeric id, text, position and size in
// dialog units. Templates are constant data; TemplateDialog turns one into widgets.
#pragma once

#include <cstdint>
#include <span>

namespace vantor {

enum class ControlKind {
    Static,          // text, left aligned
    StaticCentered,  // text, centred
    StaticRight,     // text, right aligned
    StaticFrame,     // sunken frame holding a text (file names, paths)
    Picture,         // a picture from the registry, centred at its real size
    Icon,            // the program icon
    Edit,
    ComboDropDown,   // editable combo box: only a selection from its list counts
    ComboDropList,   // list only
    CheckBox,
    PushButton,
    DefaultButton,   // hidden default button: Enter lands here and does nothing
    OkButton,        // default push button that confirms the dialog
    BitmapButton,    // faces looked up by caption + U, D or F
    GroupBox,
    ProgressBar,
    Custom,          // a placeholder the dialog fills with a widget of its own
};

struct ControlTemplate {
    ControlKind kind;
    int id;  // -1 for controls nobody addresses
    const char* text;
    int x, y, width, height;  // dialog units
};

struct DialogTemplate {
    int id;
    const char* caption;
    int width, height;  // dialog units
    const char* fontFamily;
    int fontPointSize;
    std::span<const ControlTemplate> controls;
};

// A key and the command it sends, as in an accelerator table.
struct Accelerator {
    int key;        // Qt::Key
    int modifiers;  // Qt::KeyboardModifiers
    int command;
};

}  // namespace vantor
