// Draws the About picture pixel by pixel, so no image file is needed.
#include "about/about_picture.h"

namespace {

using ui::Bitmap;
using ui::Color;

void fill(Bitmap& b, int x0, int y0, int x1, int y1, Color c)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) b.set_pixel(x, y, c);
}

// A rectangle with corners rounded by radius r.
void fill_rounded(Bitmap& b, int x0, int y0, int x1, int y1, int r, Color c)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const int cx = x < x0 + r ? x0 + r : x >= x1 - r ? x1 - r - 1 : x;
            const int cy = y < y0 + r ? y0 + r : y >= y1 - r ? y1 - r - 1 : y;
            const int dx = x - cx, dy = y - cy;
            if (dx * dx + dy * dy <= r * r) b.set_pixel(x, y, c);
        }
}

void fill_circle(Bitmap& b, int cx, int cy, int r, Color c)
{
    for (int y = cy - r; y <= cy + r; ++y)
        for (int x = cx - r; x <= cx + r; ++x)
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) b.set_pixel(x, y, c);
}

// A trapezoid narrowing downwards (the D-shaped shell of a 9-pin connector).
void fill_shell(Bitmap& b, int x0, int x1, int y0, int y1, int inset, Color c)
{
    for (int y = y0; y < y1; ++y) {
        const int in = inset * (y - y0) / (y1 - y0);
        fill(b, x0 + in, y, x1 - in, y + 1, c);
    }
}

}  // namespace

ui::Bitmap about_picture()
{
    const Color frame = Color::rgb(64, 72, 88);
    const Color bezel = Color::rgb(110, 120, 138);
    const Color screen = Color::rgb(16, 36, 28);
    const Color glow = Color::rgb(80, 230, 120);
    const Color dim = Color::rgb(40, 130, 70);
    const Color metal = Color::rgb(176, 182, 190);
    const Color pin = Color::rgb(230, 190, 60);
    const Color cable = Color::rgb(40, 44, 52);

    Bitmap b(131, 116, about_picture_background);
    // Monitor: frame, bezel and screen.
    fill_rounded(b, 4, 2, 127, 76, 8, frame);
    fill_rounded(b, 8, 6, 123, 72, 6, bezel);
    fill_rounded(b, 13, 11, 118, 67, 4, screen);
    // Text lines: received data above, the prompt and its cursor below.
    const int widths[] = {62, 84, 48, 70};
    for (int i = 0; i < 4; ++i) fill(b, 20, 17 + i * 9, 20 + widths[i], 21 + i * 9, dim);
    for (int i = 0; i < 5; ++i) {  // ">" of the prompt
        const int d = i < 3 ? i : 4 - i;
        fill(b, 20 + d * 2, 53 + i * 2, 23 + d * 2, 55 + i * 2, glow);
    }
    fill(b, 31, 60, 41, 63, glow);  // the cursor
    // Stand.
    fill(b, 56, 76, 75, 84, frame);
    fill_rounded(b, 38, 83, 93, 89, 2, frame);
    // Cable from the stand down to the connector.
    fill(b, 96, 80, 100, 98, cable);
    fill(b, 72, 94, 100, 98, cable);
    // Nine-pin connector: shell, five over four pins, screws.
    fill_rounded(b, 12, 92, 74, 114, 3, metal);
    fill_shell(b, 18, 68, 95, 111, 5, frame);
    for (int i = 0; i < 5; ++i) fill_circle(b, 25 + i * 9, 100, 2, pin);
    for (int i = 0; i < 4; ++i) fill_circle(b, 29 + i * 9, 106, 2, pin);
    fill_circle(b, 15, 103, 2, frame);
    fill_circle(b, 71, 103, 2, frame);
    b.set_transparent(about_picture_background);
    return b;
}
