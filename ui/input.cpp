// Shortcut text in the form menus show ("Ctrl+Alt+S", "Shift+Del", "F1").
#include "ui/input.h"

#include <cctype>
#include <cstdio>

namespace ui {

namespace {

struct KeyName {
    int key;
    const char* name;
};

constexpr KeyName kNames[] = {
    {keys::Back, "BkSp"},   {keys::Tab, "Tab"},    {keys::Return, "Enter"}, {keys::Escape, "Esc"},
    {keys::Space, "Space"}, {keys::Prior, "PgUp"}, {keys::Next, "PgDn"},    {keys::End, "End"},
    {keys::Home, "Home"},   {keys::Left, "Left"},  {keys::Up, "Up"},        {keys::Right, "Right"},
    {keys::Down, "Down"},   {keys::Insert, "Ins"}, {keys::Delete, "Del"},
};

bool equal_nocase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::optional<int> key_from_name(std::string_view s)
{
    if (s.size() == 1) {
        unsigned char c = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(s[0])));
        if (std::isalnum(c)) return c;
        return std::nullopt;
    }
    for (const KeyName& k : kNames)
        if (equal_nocase(s, k.name)) return k.key;
    if (equal_nocase(s, "Delete")) return keys::Delete;
    if ((s[0] == 'F' || s[0] == 'f') && s.size() <= 3) {
        int n = 0;
        for (char c : s.substr(1)) {
            if (c < '0' || c > '9') return std::nullopt;
            n = n * 10 + (c - '0');
        }
        if (n >= 1 && n <= 24) return keys::F1 + n - 1;
    }
    return std::nullopt;
}

}  // namespace

std::string ShortCut::text() const
{
    if (key == 0) return {};
    std::string out;
    if (shift.shift) out += "Shift+";
    if (shift.ctrl) out += "Ctrl+";
    if (shift.alt) out += "Alt+";
    for (const KeyName& k : kNames)
        if (k.key == key) return out + k.name;
    if (key >= keys::F1 && key < keys::F1 + 24) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "F%d", key - keys::F1 + 1);
        return out + buf;
    }
    if (std::isalnum(key)) return out + static_cast<char>(key);
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%d", key);
    return out + buf;
}

std::optional<ShortCut> ShortCut::parse(std::string_view text)
{
    ShortCut sc;
    while (true) {
        size_t plus = text.find('+');
        if (plus == std::string_view::npos || plus + 1 == text.size()) break;
        std::string_view mod = text.substr(0, plus);
        if (equal_nocase(mod, "Shift"))
            sc.shift.shift = true;
        else if (equal_nocase(mod, "Ctrl"))
            sc.shift.ctrl = true;
        else if (equal_nocase(mod, "Alt"))
            sc.shift.alt = true;
        else
            return std::nullopt;
        text.remove_prefix(plus + 1);
    }
    auto key = key_from_name(text);
    if (!key) return std::nullopt;
    sc.key = *key;
    return sc;
}

bool character_key(int key, ShiftState shift)
{
    if (shift.alt) return false;
    const bool letter = key >= 'A' && key <= 'Z';
    if (shift.ctrl) return letter;
    const bool digit = key >= '0' && key <= '9';
    const bool numpad = key >= 0x60 && key <= 0x6F;  // VK_NUMPAD0 .. VK_DIVIDE
    const bool punctuation = (key >= 0xBA && key <= 0xC0) || (key >= 0xDB && key <= 0xDF) || key == 0xE2;
    const bool typing =
        key == keys::Space || key == keys::Tab || key == keys::Return || key == keys::Escape || key == keys::Back;
    return letter || digit || numpad || punctuation || typing;
}

ShortCut shortcut(std::string_view text)
{
    return ShortCut::parse(text).value_or(ShortCut{});
}

}  // namespace ui
