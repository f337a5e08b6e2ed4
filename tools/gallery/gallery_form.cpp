// Layout and handlers of the gallery's windows.
#include "tools/gallery/gallery_form.h"

#include <cctype>
#include <cstdio>
#include <stdexcept>

#include "ui/application.h"
#include "ui/services.h"

namespace gallery {

namespace {

// A 16x16 glyph: a coloured square with a transparent (magenta) border.
ui::Bitmap glyph(ui::Color c)
{
    const ui::Color key = ui::Color::rgb(255, 0, 255);
    ui::Bitmap b(16, 16, key);
    for (int y = 3; y < 13; ++y)
        for (int x = 3; x < 13; ++x)
            b.set_pixel(x, y, (x == 3 || y == 3 || x == 12 || y == 12) ? ui::colors::black : c);
    b.set_transparent(key);
    return b;
}

std::string yes(bool b)
{
    return b ? "1" : "0";
}

}  // namespace

DialogForm::DialogForm(ui::Form* owner) : ui::Form("DialogForm", owner)
{
    set_caption("Gallery dialog");
    set_border_style(ui::BorderStyle::Dialog);
    set_position(ui::Position::OwnerCenter);
    set_client_size(260, 110);
    LBquestion.set_bounds(12, 12, 200, 14);
    Enote.set_bounds(12, 32, 236, 21);
    BtnOk.set_bounds(92, 72, 75, 25);
    BtnOk.set_default(true);
    BtnOk.set_modal_result(ui::mr::Ok);
    BtnCancel.set_bounds(173, 72, 75, 25);
    BtnCancel.set_cancel(true);
    BtnCancel.set_modal_result(ui::mr::Cancel);
}

ToolForm::ToolForm(ui::Form* owner) : ui::Form("ToolForm", owner)
{
    set_caption("Gallery tool window");
    set_border_style(ui::BorderStyle::Single);
    set_border_icons({true, false, false});
    set_form_style(ui::FormStyle::StayOnTop);
    set_position(ui::Position::OwnerCenter);
    set_client_size(200, 50);
    LBinfo.set_bounds(12, 16, 170, 14);
}

GalleryForm::GalleryForm() : ui::Form("GalleryForm")
{
    set_caption("Olvex gallery");
    set_client_size(560, 420);
    set_min_window_size(400, 300);
    set_position(ui::Position::ScreenCenter);
    set_key_preview(true);
    build_menu();
    build_tools();

    LBlast.set_bounds(8, 48, 70, 14);
    LBevent.set_bounds(80, 48, 470, 14);
    LBevent.set_font([] {
        ui::Font f;
        f.bold = true;
        return f;
    }());
    PCmain.set_bounds(8, 66, 544, 330);
    PCmain.set_anchors({true, true, true, true});
    PCmain.on_change = [this] { event("PCmain change " + std::to_string(PCmain.active_page_index())); };
    build_controls_page();
    build_paint_page();
    build_views_page();

    // The form sees keys first: Ctrl+Q is taken here and never reaches a field.
    on_key_press = [this](char& key) {
        if (key == 17) {
            event("form preview Ctrl+Q");
            key = 0;
        }
    };
    on_close_query = [this](bool&) { event("close query"); };
    Timer1.on_timer = [this] { SBmain.set_panel_text(1, "ticks: " + std::to_string(++ticks_)); };
}

void GalleryForm::event(const std::string& what)
{
    LBevent.set_caption(what);
    SBmain.set_panel_text(0, what);
}

void GalleryForm::build_menu()
{
    images_.add(glyph(ui::Color::rgb(0, 128, 0)));
    images_.add(glyph(ui::Color::rgb(200, 0, 0)));
    images_.add(glyph(ui::Color::rgb(0, 0, 200)));
    menu_.set_images(&images_);
    MMopen.set_image_index(2);
    MMsave.set_image_index(1);
    MMcr.set_checked(true);
    MMdisabled.set_enabled(false);
    MMopen.on_click = [this] {
        OD1.filter = "All files (*.*)|*.*";
        OD1.title = "Open gallery file";
        event(OD1.execute(this) ? "open " + OD1.file_name : "open cancelled");
    };
    MMsave.on_click = [this] {
        SD1.filter = "Text files (*.txt)|*.txt|All files (*.*)|*.*";
        SD1.title = "Save gallery text";
        SD1.default_ext = "txt";
        event(SD1.execute(this) ? "save " + SD1.file_name : "save cancelled");
    };
    MMexit.on_click = [this] { close(); };
    MMconnect.on_click = [this] { event("MMconnect click"); };
    MMauto.on_click = [this] { event("MMauto click checked=" + yes(MMauto.checked())); };
    MMclear.on_click = [this] { event("MMclear click"); };
    for (ui::MenuItem* m : {&MMcr, &MMlf, &MMcrlf})
        m->on_click = [this, m] { event(m->name() + " click checked=" + yes(m->checked())); };
    MMask.on_click = [this] {
        int r = ui::message_box("Really?", "Question", ui::MsgIcon::Question, ui::MsgButtons::YesNo, this);
        event("answer " + std::to_string(r));
    };
}

void GalleryForm::build_tools()
{
    TBmain.set_bounds(0, 0, 560, 42);
    TBmain.set_align(ui::Align::Top);
    TBconnect.set_bounds(2, 2, 64, 38);
    TBconnect.set_images(&images_);
    TBconnect.set_image_index(0);
    TBconnect.on_click = [this] { event("TBconnect click"); };
    TBhold.set_bounds(68, 2, 64, 38);
    TBhold.set_images(&images_);
    TBhold.set_image_index(1);
    TBhold.set_toggle(true);
    TBhold.on_click = [this] { event("TBhold click down=" + yes(TBhold.down())); };

    SBmain.set_bounds(0, 400, 560, 20);
    SBmain.set_align(ui::Align::Bottom);
    SBmain.set_panels({{"Ready", 300, ui::Alignment::Left, ui::PanelBevel::Lowered},
                       {"ticks: 0", 100, ui::Alignment::Left, ui::PanelBevel::Lowered},
                       {"Olvex", 100, ui::Alignment::Left, ui::PanelBevel::Lowered}});
}

void GalleryForm::build_controls_page()
{
    LBdigits.set_bounds(8, 11, 60, 14);
    Edigits.set_bounds(70, 8, 100, 21);
    // Digits only: letters are discarded, and '+' becomes '0'.
    Edigits.on_key_press = [this](char& key) {
        if (key == '+')
            key = '0';
        else if (std::isprint(static_cast<unsigned char>(key)) && !std::isdigit(static_cast<unsigned char>(key)))
            key = 0;
    };
    Edigits.on_enter = [this] { event("Edigits enter"); };
    Edigits.on_change = [this] { event("Edigits change " + Edigits.text()); };
    LBro.set_bounds(8, 39, 60, 14);
    Ero.set_bounds(70, 36, 100, 21);
    Ero.set_read_only(true);
    Ero.set_color(ui::colors::btn_face);
    Ero.on_dbl_click = [this] { event("Ero dblclick"); };
    STvalue.set_bounds(8, 64, 162, 19);
    STvalue.set_border(ui::StaticBorder::Single);
    STvalue.set_color(ui::colors::info_bk);
    STvalue.on_dbl_click = [this] { event("STvalue dblclick"); };
    BtnPress.set_bounds(8, 92, 75, 25);
    BtnPress.set_default(true);
    BtnPress.on_click = [this] { event("BtnPress click"); };
    BtnThrow.set_bounds(95, 92, 75, 25);
    BtnThrow.on_click = [] { throw std::runtime_error("Gallery error"); };
    BtnModal.set_bounds(8, 122, 75, 25);
    BtnModal.on_click = [this] {
        int r = dialog_.show_modal();
        event("modal result " + std::to_string(r) + " note " + dialog_.Enote.text());
    };
    BtnTool.set_bounds(95, 122, 75, 25);
    BtnTool.on_click = [this] {
        tool_.show();
        event("tool window shown");
    };
    // The posted click runs after this handler has ended, as BM_CLICK would.
    BtnPost.set_bounds(8, 262, 75, 25);
    BtnPost.on_click = [this] {
        ui::post_click(BtnPress);
        event("BtnPost handler ended");
    };
    CBcheck.set_bounds(8, 154, 120, 17);
    CBcheck.on_click = [this] { event("CBcheck click checked=" + yes(CBcheck.checked())); };

    LBcombo.set_bounds(8, 181, 60, 14);
    CBlist.set_bounds(70, 178, 100, 21);
    CBlist.set_items({"One", "Two", "Three"});
    CBlist.set_item_index(0);
    CBlist.on_change = [this] { event("CBlist change " + std::to_string(CBlist.item_index()) + " " + CBlist.text()); };
    LBhist.set_bounds(8, 209, 60, 14);
    CBhist.set_bounds(70, 206, 100, 21);
    CBhist.set_items({"AT", "ATZ", "ATI"});
    CBhist.on_change = [this] { event("CBhist change " + CBhist.text()); };
    LBcount.set_bounds(8, 237, 60, 14);
    Ecount.set_bounds(70, 234, 50, 21);
    UDcount.set_bounds(120, 234, 17, 21);
    UDcount.set_range(0, 10);
    UDcount.set_associate(&Ecount);
    UDcount.set_position(3);
    UDcount.on_click_button = [this](ui::UpDownButton) { event("UDcount " + std::to_string(UDcount.position())); };

    GBparity.set_bounds(200, 4, 150, 96);
    RBnone.set_bounds(12, 20, 100, 17);
    RBnone.set_checked(true);
    RBodd.set_bounds(12, 44, 100, 17);
    RBeven.set_bounds(12, 68, 100, 17);
    for (ui::RadioButton* r : {&RBnone, &RBodd, &RBeven})
        r->on_click = [this, r] { event(r->name() + " click checked=" + yes(r->checked())); };

    GBflow.set_bounds(200, 108, 150, 60);
    CBflow.set_bounds(8, 0, 95, 15);
    CBflow.on_click = [this] { event("CBflow click checked=" + yes(CBflow.checked())); };
    LBflow.set_bounds(12, 28, 120, 14);

    GBmode.set_bounds(200, 176, 150, 60);
    RBtext.set_bounds(8, 0, 48, 15);
    RBtext.set_checked(true);
    RBhex.set_bounds(64, 0, 44, 15);
    for (ui::RadioButton* r : {&RBtext, &RBhex})
        r->on_click = [this, r] { event(r->name() + " click checked=" + yes(r->checked())); };
    LBmode.set_bounds(12, 28, 120, 14);
}

void GalleryForm::build_paint_page()
{
    PBdraw.set_bounds(8, 8, 200, 120);
    PBdraw.on_paint = [this](ui::Canvas& c) {
        c.brush.color = ui::colors::white;
        c.fill_rect(ui::Rect{0, 0, PBdraw.width(), PBdraw.height()});
        c.pen.color = ui::colors::blue;
        c.brush.color = ui::Color::rgb(255, 255, 200);
        c.rectangle(ui::Rect{10, 10, 90, 50});
        c.pen.color = ui::colors::red;
        c.line({10, 60}, {190, 110});
        c.brush.style = ui::BrushStyle::Clear;
        c.font = ui::Font::monospace();
        c.text_out({100, 14}, "Courier 8");
        ui::Size s = c.text_extent("Courier 8");
        c.focus_rect(ui::Rect{98, 12, 102 + s.width, 16 + s.height});
        c.draw({160, 80}, images_.get(0) ? *images_.get(0) : ui::Bitmap());
    };
    PBdraw.on_click = [this] { event("PBdraw click"); };
    SHline.set_bounds(220, 8, 150, 3);
    SHline.set_brush({ui::colors::black, ui::BrushStyle::Solid});
    SHline.set_pen({ui::colors::black, 1, ui::PenStyle::Clear});
    SHellipse.set_bounds(220, 20, 60, 40);
    SHellipse.set_brush({ui::Color::rgb(0, 160, 0), ui::BrushStyle::Solid});
    ui::Bitmap pic(32, 32, ui::Color::rgb(255, 0, 255));
    for (int i = 0; i < 32; ++i) {
        pic.set_pixel(i, i, ui::colors::red);
        pic.set_pixel(31 - i, i, ui::colors::blue);
    }
    pic.set_transparent(ui::Color::rgb(255, 0, 255));
    IMpic.set_bounds(300, 20, 32, 32);
    IMpic.set_picture(std::move(pic));
    IMpic.on_click = [this] { event("IMpic click"); };
    BVbox.set_bounds(8, 140, 200, 50);
    PNraised.set_bounds(220, 140, 150, 50);
    PNraised.set_caption("Panel");
    PNraised.on_click = [this] { event("PNraised click"); };
}

void GalleryForm::build_views_page()
{
    TVrx.set_bounds(8, 8, 250, 250);
    TVrx.begin_update();
    for (int i = 1; i <= 200; ++i)
        TVrx.add_line("line " + std::to_string(i) +
                      (i % 10 == 0 ? ": a long line that runs past the right edge of the view" : ""));
    TVrx.end_update();
    CBwrap.set_bounds(8, 264, 120, 17);
    CBwrap.on_click = [this] {
        TVrx.set_word_wrap(CBwrap.checked());
        event("CBwrap click checked=" + yes(CBwrap.checked()));
    };
    DGhex.set_bounds(268, 8, 260, 250);
    DGhex.set_col_count(5);
    DGhex.set_fixed_cols(1);
    DGhex.set_fixed_rows(1);
    DGhex.set_default_row_height(16);
    DGhex.set_col_width(0, 60);
    for (int c = 1; c < 5; ++c) DGhex.set_col_width(c, 40);
    DGhex.set_row_count(1 + 100000);
    DGhex.on_draw_cell = [](ui::Canvas& c, std::int32_t col, std::int32_t row, const ui::Rect& r, ui::GridDrawState) {
        char text[32];
        if (row == 0 && col == 0)
            text[0] = 0;
        else if (row == 0)
            std::snprintf(text, sizeof text, "%02X", col - 1);
        else if (col == 0)
            std::snprintf(text, sizeof text, "%08X", (row - 1) * 4);
        else
            std::snprintf(text, sizeof text, "%02X", ((row - 1) * 4 + col - 1) & 0xFF);
        c.brush.style = ui::BrushStyle::Clear;
        c.text_out({r.left + 4, r.top + 1}, text);
    };
    DGhex.on_click = [this] {
        event("DGhex click " + std::to_string(DGhex.col()) + "," + std::to_string(DGhex.row()));
    };
}

}  // namespace gallery
