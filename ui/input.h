// Keyboard and mouse event types: virtual-key codes (Windows VK_* values),
// modifier state, shortcuts as menus show them ("Ctrl+Alt+S").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ui/geometry.h"

namespace ui {

// Virtual-key codes; letters and digits are their upper-case ASCII codes.
namespace keys {
inline constexpr int Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11, Menu = 0x12, Escape = 0x1B,
                     Space = 0x20, Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24, Left = 0x25, Up = 0x26,
                     Right = 0x27, Down = 0x28, Insert = 0x2D, Delete = 0x2E, F1 = 0x70, F2 = 0x71, F3 = 0x72,
                     F4 = 0x73, F5 = 0x74, F10 = 0x79, F12 = 0x7B;
}  // namespace keys

struct ShiftState {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    friend bool operator==(const ShiftState&, const ShiftState&) = default;
};

// A key going down (WM_KEYDOWN/WM_SYSKEYDOWN). Setting handled stops the key:
// the control's own handling (navigation, default processing) is skipped.
struct KeyEvent {
    int key = 0;
    ShiftState shift;
    bool handled = false;
};

enum class MouseButton : std::uint8_t { None, Left, Right, Middle };

struct MouseEvent {
    Point pos;  // in the control's client coordinates
    MouseButton button = MouseButton::None;
    ShiftState shift;
};

// A menu accelerator: a virtual key plus modifiers. Empty when key is 0.
struct ShortCut {
    int key = 0;
    ShiftState shift;

    bool empty() const { return key == 0; }
    // "Ctrl+Alt+S", "Shift+Del", "F1": the text a menu shows beside the caption.
    std::string text() const;
    // Parses that same text form; nullopt when it is not one.
    static std::optional<ShortCut> parse(std::string_view text);
    friend bool operator==(const ShortCut&, const ShortCut&) = default;
};

// Whether a key makes a character when typed (Windows' WM_CHAR): letters,
// digits, punctuation, Space, Tab, Enter, Escape and Backspace, and Ctrl with a
// letter (its control code); never with Alt, which is for menus. Caret and
// function keys make none.
bool character_key(int key, ShiftState shift);

// Shorthand for tables of menu items: shortcut("Ctrl+W"); an invalid text is a
// programming error and yields an empty shortcut.
ShortCut shortcut(std::string_view text);

}  // namespace ui
