// Colours: either an RGB value or one of the system's themed colours, which the
// backend resolves when it draws (so a theme change is followed).
#pragma once

#include <cstdint>

namespace ui {

// The system colours the windows use; values are the Windows COLOR_* indexes.
enum class SysColor : std::uint8_t {
    Window = 5,      // clWindow: edit background
    WindowText = 8,  // clWindowText
    BtnFace = 15,    // clBtnFace: dialog background, inactive fields
    BtnShadow = 16,
    GrayText = 17,
    BtnText = 18,
    BtnHighlight = 20,
    Highlight = 13,  // selection background
    HighlightText = 14,
    InfoText = 23,
    InfoBk = 24,  // clInfoBk: tool-tip background of the value fields
};

// 0x00BBGGRR as in a Windows COLORREF; bit 31 marks a system colour whose index
// sits in the low byte.
class Color {
 public:
    constexpr Color() = default;
    static constexpr Color rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b)
    {
        return Color(std::uint32_t(r) | std::uint32_t(g) << 8 | std::uint32_t(b) << 16);
    }
    static constexpr Color system(SysColor c) { return Color(kSystemBit | static_cast<std::uint32_t>(c)); }
    // A raw value as stored: COLORREF order, or a system colour tag.
    static constexpr Color from_value(std::uint32_t v) { return Color(v); }

    constexpr bool is_system() const { return (value_ & kSystemBit) != 0; }
    constexpr SysColor sys() const { return static_cast<SysColor>(value_ & 0xFF); }
    constexpr std::uint32_t value() const { return value_; }
    // Red, green and blue of an RGB colour (meaningless for a system colour;
    // resolve it first with resolve()).
    constexpr std::uint8_t r() const { return value_ & 0xFF; }
    constexpr std::uint8_t g() const { return (value_ >> 8) & 0xFF; }
    constexpr std::uint8_t b() const { return (value_ >> 16) & 0xFF; }

    // The RGB value of this colour now: system colours through the backend.
    Color resolve() const;

    friend constexpr bool operator==(Color, Color) = default;

 private:
    static constexpr std::uint32_t kSystemBit = 0x80000000u;
    constexpr explicit Color(std::uint32_t v) : value_(v) {}
    std::uint32_t value_ = 0;
};

namespace colors {
inline constexpr Color black = Color::rgb(0, 0, 0);
inline constexpr Color white = Color::rgb(255, 255, 255);
inline constexpr Color red = Color::rgb(255, 0, 0);
inline constexpr Color blue = Color::rgb(0, 0, 255);
inline constexpr Color window = Color::system(SysColor::Window);
inline constexpr Color window_text = Color::system(SysColor::WindowText);
inline constexpr Color btn_face = Color::system(SysColor::BtnFace);
inline constexpr Color btn_shadow = Color::system(SysColor::BtnShadow);
inline constexpr Color btn_highlight = Color::system(SysColor::BtnHighlight);
inline constexpr Color gray_text = Color::system(SysColor::GrayText);
inline constexpr Color highlight = Color::system(SysColor::Highlight);
inline constexpr Color highlight_text = Color::system(SysColor::HighlightText);
inline constexpr Color info_bk = Color::system(SysColor::InfoBk);
inline constexpr Color info_text = Color::system(SysColor::InfoText);
}  // namespace colors

}  // namespace ui
