#pragma once

#include "base/LanguageText.h"

#include <cstdint>
#include <vector>

// A page's or dialog's layout as data, in dialog units, the way resource templates describe
// it: the builder turns it into widgets. Controls carry their resource id, which becomes the
// widget's object name "id<N>"; pages find their controls by id.

enum class ControlKind {
    Label,       // static text
    Frame,       // static frame (a sunken rectangle, e.g. a preview area)
    Button,      // push button
    RadioButton, // option button; a new group starts at ControlFlag::GroupStart
    CheckBox,
    GroupBox,    // pages usually replace it by a painted caption frame
    HexEdit,     // CHexEdit
    HexGrid,     // CHexGrid: the paged hex grid, paired with a ScrollBar for its pages
    DecEdit,     // CDecEdit: decimal value entry
    TextEdit,    // plain single-line edit
    DropList,    // drop-down list (QComboBox, not editable)
    ListBox,
    DatePicker,
    TimePicker,
    ScrollBar,   // vertical
    Custom,      // a placeholder the page replaces with its own widget
};

enum ControlFlag : uint32_t {
    NoFlags = 0,
    Hidden = 1u << 0,     // created but not shown
    Locked = 1u << 1,     // hex or text field that refuses input (selectable, copyable)
    Disabled = 1u << 2,
    GroupStart = 1u << 3, // first radio button of a new exclusive group
    Multiline = 1u << 4,  // text fields: several lines
    DefaultButton = 1u << 5,
};

// The id of template controls that no code addresses (labels, frames).
inline constexpr int UnaddressedControlId = 65535;

struct ControlTemplate {
    int id;
    ControlKind kind;
    int x, y, width, height; // dialog units
    LanguageText caption;    // both languages, UTF-8; may be empty; the builder picks one
    uint32_t flags = NoFlags;
};

struct DialogTemplate {
    int id;            // resource id (104, 135, ...)
    int width, height; // dialog units
    std::vector<ControlTemplate> controls;
};

// Gathers a template's controls one call a line, as the pages list them:
// `add(id, kind, x, y, width, height, caption, flags)`.
struct ControlList {
    std::vector<ControlTemplate> controls;

    void operator()(int id, ControlKind kind, int x, int y, int width, int height, LanguageText caption = {},
                    uint32_t flags = NoFlags)
    {
        controls.push_back(ControlTemplate{id, kind, x, y, width, height, caption, flags});
    }
};
