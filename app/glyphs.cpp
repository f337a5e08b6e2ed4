// Small 16x16 pictures made of rectangles and lines, on a magenta transparent
// background, so the program needs no image files.
#include "app/glyphs.h"

#include <cstdlib>

namespace {

using ui::Bitmap;
using ui::Color;

const Color clear_key = Color::rgb(255, 0, 255);
const Color ink = Color::rgb(32, 32, 32);
const Color green = Color::rgb(0, 140, 40);
const Color red = Color::rgb(200, 30, 30);
const Color blue = Color::rgb(30, 70, 200);
const Color grey = Color::rgb(140, 140, 140);
const Color paper = Color::rgb(250, 250, 240);
const Color gold = Color::rgb(220, 170, 20);

Bitmap blank()
{
    Bitmap b(16, 16, clear_key);
    b.set_transparent(clear_key);
    return b;
}

void box(Bitmap& b, int x0, int y0, int x1, int y1, Color c)
{
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) b.set_pixel(x, y, c);
}

void frame(Bitmap& b, int x0, int y0, int x1, int y1, Color c)
{
    box(b, x0, y0, x1, y0, c);
    box(b, x0, y1, x1, y1, c);
    box(b, x0, y0, x0, y1, c);
    box(b, x1, y0, x1, y1, c);
}

void line(Bitmap& b, int x0, int y0, int x1, int y1, Color c)
{
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const int steps = dx > dy ? dx : dy;
    for (int i = 0; i <= steps; ++i) {
        const int x = steps ? x0 + (x1 - x0) * i / steps : x0;
        const int y = steps ? y0 + (y1 - y0) * i / steps : y0;
        b.set_pixel(x, y, c);
    }
}

void arrow_right(Bitmap& b, int y, Color c)
{
    box(b, 2, y - 1, 11, y + 1, c);
    for (int i = 0; i < 4; ++i) box(b, 11 + i, y - 3 + i, 11 + i, y + 3 - i, c);
}

Bitmap plug(bool closed)
{
    Bitmap b = blank();
    const Color c = closed ? green : red;
    const int gap = closed ? 0 : 3;
    box(b, 0, 7, 3, 8, ink);              // cable in
    box(b, 4, 4, 7 - gap, 11, c);         // left body
    box(b, 8 - gap, 5, 8 - gap, 6, ink);  // pins
    box(b, 8 - gap, 9, 8 - gap, 10, ink);
    box(b, 9 + gap, 4, 12, 11, c);  // right body
    box(b, 12, 7, 15, 8, ink);      // cable out
    return b;
}

Bitmap page_with(Color mark)
{
    Bitmap b = blank();
    box(b, 3, 1, 12, 14, paper);
    frame(b, 3, 1, 12, 14, ink);
    for (int y = 4; y <= 11; y += 3) box(b, 5, y, 10, y, mark);
    return b;
}

Bitmap letters(const char* kind)
{
    Bitmap b = blank();
    switch (kind[0]) {
        case 'T':  // Tab: an arrow to a bar
            arrow_right(b, 8, blue);
            box(b, 15, 3, 15, 12, ink);
            break;
        case 'L':  // EOL: a return arrow
            box(b, 12, 2, 13, 9, blue);
            box(b, 4, 8, 13, 9, blue);
            for (int i = 0; i < 4; ++i) box(b, 1 + i, 8 - i, 1 + i, 9 + i, blue);
            break;
        case 'F':  // EOF: a bar at the end of a line
            box(b, 1, 7, 10, 8, ink);
            box(b, 12, 3, 14, 12, red);
            break;
        case 'S':  // string: "abc" strokes
            for (int x = 1; x <= 13; x += 4) frame(b, x, 6, x + 2, 11, blue);
            break;
        case 'I':  // integer: 0x
            frame(b, 1, 4, 6, 12, ink);
            line(b, 8, 6, 14, 12, blue);
            line(b, 14, 6, 8, 12, blue);
            break;
        case 'K':  // keyboard
            box(b, 0, 4, 15, 12, grey);
            frame(b, 0, 4, 15, 12, ink);
            for (int y = 6; y <= 8; y += 2)
                for (int x = 2; x <= 13; x += 2) b.set_pixel(x, y, paper);
            box(b, 4, 10, 11, 10, paper);
            break;
        case 'C':  // clear: a cross
            line(b, 2, 2, 13, 13, red);
            line(b, 3, 2, 14, 13, red);
            line(b, 13, 2, 2, 13, red);
            line(b, 14, 2, 3, 13, red);
            break;
        case 'D':  // save: a disk
            box(b, 1, 1, 14, 14, blue);
            box(b, 4, 2, 11, 6, paper);
            box(b, 4, 10, 11, 14, grey);
            break;
        case 'G':  // settings: a gear-ish square
            box(b, 4, 4, 11, 11, grey);
            box(b, 7, 1, 8, 14, grey);
            box(b, 1, 7, 14, 8, grey);
            box(b, 6, 6, 9, 9, paper);
            break;
        case 'H':  // help: a question mark on gold
            box(b, 2, 2, 13, 13, gold);
            box(b, 6, 4, 9, 4, ink);
            box(b, 9, 5, 9, 7, ink);
            box(b, 7, 8, 8, 9, ink);
            box(b, 7, 11, 8, 12, ink);
            break;
        case 'X':  // exit: a door
            box(b, 3, 1, 11, 14, Color::rgb(150, 90, 40));
            b.set_pixel(9, 8, gold);
            arrow_right(b, 8, red);
            break;
    }
    return b;
}

Bitmap keyboard(bool on)
{
    Bitmap b = letters("K");
    if (on) box(b, 11, 0, 15, 3, green);  // a lit lamp
    return b;
}

}  // namespace

void make_menu_images(ui::ImageList& list)
{
    list.add(plug(true));       // connect
    list.add(plug(false));      // disconnect
    list.add(letters("G"));     // settings
    list.add(letters("C"));     // clear
    list.add(letters("D"));     // save
    list.add(page_with(blue));  // send file
    list.add(letters("I"));     // send integer
    list.add(letters("S"));     // send string
    list.add(letters("T"));     // send tab
    list.add(letters("L"));     // send EOL
    list.add(keyboard(false));  // keyboard mode off
    list.add(keyboard(true));   // keyboard mode on
    list.add(letters("F"));     // send EOF
    list.add(letters("H"));     // help
    list.add(letters("X"));     // exit
}

void make_connect_glyphs(ui::ImageList& list)
{
    list.add(plug(true));
    list.add(plug(false));
}

void make_tool_glyphs(ui::ImageList& list)
{
    list.add(letters("C"));
    list.add(letters("F"));
    list.add(letters("L"));
    list.add(letters("T"));
    list.add(letters("S"));
    list.add(letters("I"));
    list.add(page_with(blue));
    list.add(keyboard(false));
}
