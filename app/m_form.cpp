// TMForm's construction: window, tool bar, pages, status bar, timers and the
// wiring of every control and menu item to its handler.
#include "app/m_form.h"

#include <system_error>

#include "app/glyphs.h"
#include "views/text_commands.h"

namespace {

constexpr int client_width = 716, client_height = 504;
constexpr int tool_bar_height = 42, tool_button_height = 38, tool_top = 2;

// A right-anchored tool control placed so that its right edge is at `right`.
void place_right(ui::Control& c, int& right, int width, int height)
{
    right -= width;
    c.set_bounds(right, tool_top, width, height);
    c.set_anchors(ui::Anchors{false, true, true, false});
}

}  // namespace

TMForm::TMForm(SerialLink& link, PortSettings& port_settings)
    : ui::Form("MForm"), link(link), port_settings(port_settings)
{
    set_caption("Olvex terminal");
    set_client_size(client_width, client_height);
    set_min_window_size(724, 550);
    set_position(ui::Position::ScreenCenter);
    set_key_preview(true);

    make_menu_images(ImageList1);
    make_connect_glyphs(ImageList2);
    make_tool_glyphs(ToolGlyphs);

    build_tool_bar();
    build_status_bar();
    build_pages();
    wire_menu();

    Timer1.on_timer = [this] { Timer1Timer(); };
    Timer2.on_timer = [this] { Timer2Timer(); };
    on_show = [this] { FormShow(); };
    on_close = [this](ui::CloseAction& a) { FormClose(a); };
    on_resize = [this] { FormResize(); };
    on_key_press = [this](char& key) { FormKeyPress(key); };
    on_key_down = [this](ui::KeyEvent& e) { FormKeyDown(e); };
}

TMForm::~TMForm()
{
    Timer1.set_enabled(false);
    Timer2.set_enabled(false);
}

void TMForm::build_tool_bar()
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

    for (ui::ToolButton* b : {&BtnTxEOF, &BtnTxEOL, &BtnTxTab, &BtnTxStr, &BtnTxInt, &BtnTxfile, &BtnKeyboard})
        b->set_enabled(false);

    BtnCon.on_click = [this] { BtnConClick(); };
    BtnClr.on_click = [this] { BtnClrClick(); };
    BtnTxEOF.on_click = [this] { MMtxEOF.click(); };
    BtnTxEOL.on_click = [this] { MMtxEOL.click(); };
    BtnTxTab.on_click = [this] { MMtxTab.click(); };
    BtnTxStr.on_click = [this] { MMtxstr.click(); };
    BtnTxInt.on_click = [this] { MMtxint.click(); };
    BtnTxfile.on_click = [this] { MMtxfile.click(); };
    BtnKeyboard.on_click = [this] { BtnKeyboardClick(); };
}

void TMForm::build_status_bar()
{
    SB.set_align(ui::Align::Bottom);
    SB.set_panels({
        {"disconnected", 80, ui::Alignment::Center, ui::PanelBevel::Lowered},
        {" Rx: 0B", client_width - 285, ui::Alignment::Left, ui::PanelBevel::Lowered},
        {"FIFO", 35, ui::Alignment::Center, ui::PanelBevel::None},
        {" rx: 0B", 80, ui::Alignment::Left, ui::PanelBevel::Lowered},
        {" tx: 0B", 90, ui::Alignment::Left, ui::PanelBevel::Lowered},
    });
}

void TMForm::build_pages()
{
    PCd.set_align(ui::Align::Client);
    PCd.set_multi_line(true);

    Mtxt.set_align(ui::Align::Client);
    Mtxt.set_font(ui::Font::monospace());
    Mtxt.set_double_buffered(true);
    Mtxt.set_word_wrap(false);

    hex.lay_out();
    plot.lay_out();

    PCd.set_active_page_index(1);  // the HEX page is shown at start
}

TextPage TMForm::text_page()
{
    return TextPage{Mtxt, MMwwrap, MMas, MMdis, MMlnCR, MMlnLF, MMlnCRLF, MMlnLFCR, MMlnANY, link, text_sink_};
}

int TMForm::line_break_mode()
{
    return line_break_from_menu(text_page());
}
