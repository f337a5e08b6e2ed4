// TAForm: layout, the clicks and Escape that close it, the two links.
#include "about/ab_form.h"

#include <initializer_list>
#include <string>

#include "about/about_picture.h"
#include "ui/services.h"

namespace {

ui::Font tahoma(int pixels, bool bold = false, bool italic = false)
{
    ui::Font f;
    f.name = "Tahoma";
    f.pixels = pixels;
    f.bold = bold;
    f.italic = italic;
    return f;
}

}  // namespace

TAForm::TAForm() : ui::Form("AForm")
{
    build_layout();
    set_key_preview(true);
    on_key_press = [this](char& k) { FormKeyPress(k); };
    for (ui::Control* c : std::initializer_list<ui::Control*>{&Image1, &Panel1, &Panel2, &Label1, &Label3, &Label4,
                                                              &Label6,  // the closing clicks
                                                              &Label2, &Label8, &Label5, &Label9})
        c->on_click = [this] { CloseClick(); };
    Label7.on_click = [this] { Label7Click(); };
    Label10.on_click = [this] { Label10Click(); };
    for (ui::Label* link : {&Label7, &Label10}) {
        link->set_cursor(ui::Cursor::Hand);
        link->on_mouse_enter = [this, link] { LinkMouseEnter(*link); };
        link->on_mouse_leave = [this, link] { LinkMouseLeave(*link); };
    }
}

void TAForm::build_layout()
{
    set_caption("About");
    set_border_style(ui::BorderStyle::None);
    set_position(ui::Position::OwnerCenter);
    set_client_size(436, 135);
    set_color(ui::colors::btn_face);
    set_font(tahoma(11));

    Panel1.set_bounds(0, 0, 153, 135);
    Panel1.set_bevel_outer(ui::BevelCut::Lowered);
    Image1.set_bounds(10, 8, 131, 116);
    Image1.set_picture(about_picture());

    Panel2.set_bounds(153, 0, 283, 135);
    Panel2.set_bevel_outer(ui::BevelCut::Lowered);
    Label1.set_font(tahoma(21, true));
    Label1.set_alignment(ui::Alignment::Center);
    Label1.set_bounds(4, 8, 275, 26);
    ui::Pen line_pen;
    line_pen.color = ui::colors::btn_shadow;
    ui::Brush line_brush;
    line_brush.color = ui::colors::btn_shadow;
    for (ui::Shape* s : {&Shape1, &Shape2}) {
        s->set_pen(line_pen);
        s->set_brush(line_brush);
    }
    Shape1.set_bounds(8, 38, 267, 3);

    const ui::Font text = tahoma(12);
    const ui::Font italic = tahoma(12, false, true);
    Label2.set_bounds(8, 46, 80, 15);
    Label2.set_font(italic);
    Label8.set_font(italic);
    Label8.set_alignment(ui::Alignment::Center);
    Label8.set_bounds(92, 46, 100, 15);
    Label3.set_font(italic);
    Label3.set_alignment(ui::Alignment::Right);
    Label3.set_bounds(175, 46, 100, 15);
    Shape2.set_bounds(8, 65, 267, 3);

    const int label_x = 12, value_x = 66;
    ui::Label* rows[3][2] = {{&Label4, &Label6}, {&Label5, &Label7}, {&Label9, &Label10}};
    for (int i = 0; i < 3; ++i) {
        const int y = 76 + i * 18;
        rows[i][0]->set_font(text);
        rows[i][0]->set_bounds(label_x, y, value_x - label_x, 15);
        rows[i][1]->set_bounds(value_x, y, 275 - value_x, 15);
    }
    Label6.set_font(text);
    Label7.set_font(text);
    // Label10 keeps the window's own font (11 pixels).
}

void TAForm::FormKeyPress(char& key)
{
    if (key == 27) close();
}

void TAForm::CloseClick()
{
    close();
}

void TAForm::Label7Click()
{
    ui::shell_open("mailto:" + Label7.caption(), this);
}

void TAForm::Label10Click()
{
    ui::shell_open(about_web_page, this);
}

void TAForm::LinkMouseEnter(ui::Label& link)
{
    ui::Font f = link.font();
    f.underline = true;
    f.color = about_link_colour;
    link.set_font(f);
}

void TAForm::LinkMouseLeave(ui::Label& link)
{
    ui::Font f = link.font();
    f.underline = false;
    f.color = ui::colors::window_text;
    link.set_font(f);
}
