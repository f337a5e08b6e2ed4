// The program's own picture, drawn in code: a terminal screen with a prompt
// and a serial connector on its cable. Used by the About window.
#pragma once

#include "ui/image.h"

// The About picture (131 x 116); its background is the transparent colour.
ui::Bitmap about_picture();
// The transparent background colour of about_picture().
inline constexpr ui::Color about_picture_background = ui::Color::rgb(255, 0, 255);
