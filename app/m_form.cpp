// TMForm's construction: window, tool bar, pages, status bar, timers and the
// wiring of every control and menu item to its handler.
#include "app/m_form.h"

#include <system_error>

#include "app/glyphs.h"
#include "views/text/text_commands.h"

namespace {

constexpr int client_width = 716, client_height = 504;

void build_status_bar(ui::StatusBar& SB)
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

void build_pages(TMForm& f)
{
    f.PCd.set_align(ui::Align::Client);
    f.PCd.set_multi_line(true);
    f.hex.lay_out();
    f.plot.lay_out();
    f.traffic.lay_out();
    // The plot reads the received bytes, so colour codes never reach it as text.
    f.plot.line_reader = [&f](std::size_t line, std::string& out) { f.text_page.sink.raw_line(line, out); };
    f.PCd.set_active_page_index(1);  // the HEX page is shown at start
}

// The send buttons run their menu items, so each command's guards stay in one place.
void wire_tool_bar(TMForm& f)
{
    MainToolBar& t = f.tools;
    MainMenuBar& m = f.menu;
    t.BtnCon.on_click = [&f] { f.BtnConClick(); };
    t.BtnClr.on_click = [&f] { f.rx.BtnClrClick(); };
    t.BtnTxEOF.on_click = [&m] { m.MMtxEOF.click(); };
    t.BtnTxEOL.on_click = [&m] { m.MMtxEOL.click(); };
    t.BtnTxTab.on_click = [&m] { m.MMtxTab.click(); };
    t.BtnTxStr.on_click = [&m] { m.MMtxstr.click(); };
    t.BtnTxInt.on_click = [&m] { m.MMtxint.click(); };
    t.BtnTxfile.on_click = [&m] { m.MMtxfile.click(); };
    t.BtnKeyboard.on_click = [&f] { f.tx.BtnKeyboardClick(); };
}

void wire_menu(TMForm& f)
{
    MainMenuBar& m = f.menu;
    m.MMexit.on_click = [&f] { f.MMexitClick(); };
    m.MMcon.on_click = [&f] { f.MMconClick(); };
    m.MMdiscon.on_click = [&f] { f.MMdisconClick(); };
    m.MMcomset.on_click = [&f] { f.port.MMcomsetClick(); };
    m.MMreconnect.on_click = [&f] { f.port.MMreconnectClick(); };
    m.MMclrrx.on_click = [&f] { f.rx.MMclrrxClick(); };
    m.MMfind.on_click = [&f] { f.rx.MMfindClick(); };
    m.MMfollow.on_click = [&f] { f.follow.toggled(f.text_page); };
    m.MMwwrap.on_click = [&f] { f.text_page.MMwwrapClick(); };
    m.MMas.on_click = [&f] { f.text_page.MMasClick(); };
    m.MMdis.on_click = [&f] { f.text_page.MMdisClick(); };
    for (ui::MenuItem* i : {&m.MMlnCR, &m.MMlnLF, &m.MMlnCRLF, &m.MMlnLFCR, &m.MMlnANY})
        i->on_click = [&f] { f.text_page.MMlnClick(); };
    m.MMtxtRf.on_click = [&f] {
        f.text_page.MMtxtRfClick();
        f.plot.feed(0);  // the rebuilt text: the plot starts over at once
    };
    m.MMansi.on_click = [&f] {
        f.text_page.MMansiClick();
        f.plot.feed(0);  // a rebuilt text: the plot starts over at once
    };
    m.MMutf8.on_click = [&f] {
        f.text_page.MMutf8Click();
        f.plot.feed(0);
    };
    m.MMtstamp.on_click = [&f] { text_timestamps_toggled(f.menu.MMtstamp, f.link); };
    m.MMcapture.on_click = [&f] {
        f.capture.MMcaptureClick(f.link.connected());
        f.rx_panel.refresh();  // the status bar shows the change at once
    };
    m.MMsavetxt.on_click = [&f] { f.save.MMsavetxtClick(); };
    m.MMsavebin.on_click = [&f] { f.save.MMsavebinClick(); };
    m.MMsavebins.on_click = [&f] { f.save.MMsavebinsClick(); };
    m.MMrxBB.on_click = [&f] { f.hex.MMrxBBClick(); };
    m.MMrxBE.on_click = [&f] { f.hex.MMrxBEClick(); };
    m.MMtxfile.on_click = [&f] { f.tx.MMtxfileClick(); };
    m.MMtxint.on_click = [&f] { f.tx.MMtxintClick(); };
    m.MMtxstr.on_click = [&f] { f.tx.MMtxstrClick(); };
    m.MMxfer.on_click = [&f] { f.tx.MMxferClick(); };
    m.MMtxTab.on_click = [&f] { f.tx.MMtxTabClick(); };
    m.MMtxEOL.on_click = [&f] { f.tx.MMtxEOLClick(); };
    m.MMtxEOF.on_click = [&f] { f.tx.MMtxEOFClick(); };
    m.MMkeyboard.on_click = [&f] { f.tx.MMkeyboardClick(); };
    m.MMhelp.on_click = [&f] { f.help.MMhelpClick(); };
    m.MMabout.on_click = [&f] { f.help.MMaboutClick(); };
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

    tools.lay_out(client_width);
    wire_tool_bar(*this);
    build_status_bar(SB);
    build_pages(*this);
    wire_menu(*this);

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
