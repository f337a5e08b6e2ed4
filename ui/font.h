// Font description shared by controls and the Canvas: face, size in points or
// pixels, style and colour. Backends turn it into a real font and cache it.
#pragma once

#include <string>

#include "ui/color.h"

namespace ui {

struct Font {
    std::string name = "Tahoma";
    int points = 8;  // size in points (at 96 DPI: pixels = points * 96 / 72)
    int pixels = 0;  // when non-zero, the character height in pixels; wins over points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    Color color = colors::window_text;

    // Character height in logical pixels (96 DPI): 8 pt -> 11 px.
    int height_px() const { return pixels > 0 ? pixels : (points * 96 + 36) / 72; }

    static Font monospace()
    {  // the text view's font
        Font f;
        f.name = "Courier";
        return f;
    }
    friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace ui
