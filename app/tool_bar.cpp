// The tool bar's layout and glyphs.
#include "app/tool_bar.h"

#include "app/glyphs.h"

namespace {

constexpr int tool_bar_height = 42, tool_button_height = 38, tool_top = 2;

// A right-anchored tool control placed so that its right edge is at `right`.
void place_right(ui::Control& c, int& right, int width, int height)
{
    right -= width;
    c.set_bounds(right, tool_top, width, height);
    c.set_anchors(ui::Anchors{false, true, true, false});
}

}  // namespace

MainToolBar::MainToolBar(ui::Form& owner) : Bevel1(&owner, "Bevel1")
{
    make_connect_glyphs(ImageList2);
    make_tool_glyphs(ToolGlyphs);
}

void MainToolBar::lay_out(int client_width)
{
    Bevel1.set_align(ui::Align::Top);
    Bevel1.set_height(tool_bar_height);
    Bevel1.set_framed(true);

    auto setup = [](ui::ToolButton& b, ui::ImageList* list, int image) {
        b.set_flat(true);
        b.set_images(list);
        b.set_image_index(image);
    };
    BtnCon.set_bounds(2, tool_top, 61, tool_button_height);
    setup(BtnCon, &ImageList2, 0);
    Bevel2.set_bounds(65, tool_top, 2, tool_button_height);
    BtnClr.set_bounds(69, tool_top, 61, tool_button_height);
    setup(BtnClr, &ToolGlyphs, tool_image::clear);

    // Right group, laid out from the right edge leftwards.
    int right = client_width - 2;
    place_right(BtnKeyboard, right, 81, tool_button_height);
    place_right(BtnTxfile, right, 81, tool_button_height);
    place_right(BtnTxInt, right, 81, tool_button_height);
    place_right(BtnTxStr, right, 81, tool_button_height);
    right -= 2;
    place_right(Bevel4, right, 2, tool_button_height);
    right -= 2;
    place_right(BtnTxTab, right, 61, tool_button_height);
    place_right(BtnTxEOL, right, 61, tool_button_height);
    place_right(BtnTxEOF, right, 61, tool_button_height);
    right -= 2;
    place_right(Bevel3, right, 2, tool_button_height);
    setup(BtnTxEOF, &ToolGlyphs, tool_image::send_eof);
    setup(BtnTxEOL, &ToolGlyphs, tool_image::send_eol);
    setup(BtnTxTab, &ToolGlyphs, tool_image::send_tab);
    setup(BtnTxStr, &ToolGlyphs, tool_image::send_string);
    setup(BtnTxInt, &ToolGlyphs, tool_image::send_integer);
    setup(BtnTxfile, &ToolGlyphs, tool_image::send_file);
    setup(BtnKeyboard, &ToolGlyphs, tool_image::keyboard);
    BtnKeyboard.set_toggle(true);

    // Sending needs a connection.
    for (ui::ToolButton* b : {&BtnTxEOF, &BtnTxEOL, &BtnTxTab, &BtnTxStr, &BtnTxInt, &BtnTxfile, &BtnKeyboard})
        b->set_enabled(false);
}
