// TMForm's construction: window, tool bar, pages, status bar, timers and the
// wiring of every control and menu item to its handler.
#include "app/m_form.h"

#include <system_error>

#include "app/glyphs.h"
#include "views/text_commands.h"

namespace {

constexpr int client_width = 716, client_height = 504;

}  // namespace

TMForm::TMForm(SerialLink& link, PortSettings& port_settings)
    : ui::Form("MForm"), link(link), port_settings(port_settings)
{
    set_caption("Olvex terminal");
    set_client_size(client_width, client_height);
    set_min_window_size(724, 550);
    set_position(ui::Position::ScreenCenter);
    set_key_preview(true);

    tools.lay_out(client_width);
    wire_tool_bar();
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

void TMForm::wire_tool_bar()
{
    tools.BtnCon.on_click = [this] { BtnConClick(); };
    tools.BtnClr.on_click = [this] { BtnClrClick(); };
    tools.BtnTxEOF.on_click = [this] { menu.MMtxEOF.click(); };
    tools.BtnTxEOL.on_click = [this] { menu.MMtxEOL.click(); };
    tools.BtnTxTab.on_click = [this] { menu.MMtxTab.click(); };
    tools.BtnTxStr.on_click = [this] { menu.MMtxstr.click(); };
    tools.BtnTxInt.on_click = [this] { menu.MMtxint.click(); };
    tools.BtnTxfile.on_click = [this] { menu.MMtxfile.click(); };
    tools.BtnKeyboard.on_click = [this] { tx.BtnKeyboardClick(); };
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

    PCd.set_active_page_index(1);  // the HEX page is shown at start
}

TextPage TMForm::text_page()
{
    return TextPage{Mtxt,          menu.MMwwrap,  menu.MMas,    menu.MMdis, menu.MMlnCR, menu.MMlnLF,
                    menu.MMlnCRLF, menu.MMlnLFCR, menu.MMlnANY, link,       text_sink_};
}

int TMForm::line_break_mode()
{
    return line_break_from_menu(text_page());
}
