// TCSForm: Refresh (present ports, rates, the record's choices), Apply, Cancel,
// the port list's drawing, the custom-rate fields' colours, double-clicks and
// digit filter.
#include "settings/cs_form.h"

#include <string>

#include "settings/int_edit_check.h"
#include "ui/services.h"

namespace {

// CBparity lists Mark before Space; the record's codes are 3 space, 4 mark.
constexpr int parity_code_by_item[5] = {0, 1, 2, 4, 3};

void digits_only(char& key)
{
    if (!((key >= '0' && key <= '9') || key == 8)) key = 0;
}

}  // namespace

int cs_parity_code_of_item(int item)
{
    return item >= 0 && item < 5 ? parity_code_by_item[item] : -1;
}

int cs_parity_item_of_code(int code)
{
    for (int i = 0; i < 5; ++i)
        if (parity_code_by_item[i] == code) return i;
    return -1;
}

TCSForm::TCSForm(SerialLink& link, PortSettings& record)
    : ui::Form("CSForm"),
      own_catalogue_(std::make_unique<DriverPortCatalogue>(link.usart().driver())),
      catalogue_(*own_catalogue_),
      record_(record)
{
    init();
}

TCSForm::TCSForm(SerialLink&, PortSettings& record, PortCatalogue& catalogue)
    : ui::Form("CSForm"), catalogue_(catalogue), record_(record)
{
    init();
}

void TCSForm::init()
{
    build_layout();
    CBcomn.on_change = [this] { CBcomnChange(); };
    CBcomn.on_draw_item = [this](ui::Canvas& c, int i, const ui::Rect& r, bool sel) { CBcomnDrawItem(c, i, r, sel); };
    on_show = [this] { FormShow(); };
    BtnBack.on_click = [this] { BtnBackClick(); };
    BtnOk.on_click = [this] { BtnOkClick(); };
    BtnCancel.on_click = [this] { BtnCancelClick(); };
    CBbaud.on_change = [this] { CBbaudChange(); };
    Ecus1baud.on_dbl_click = [this] { Ecus1baudDblClick(); };
    Ecus2baud.on_dbl_click = [this] { Ecus2baudDblClick(); };
    Ecus1baud.on_key_press = [this](char& k) { Ecus1baudKeyPress(k); };
    Ecus2baud.on_key_press = [this](char& k) { Ecus2baudKeyPress(k); };
}

void TCSForm::build_layout()
{
    set_caption("COM port settings");
    set_border_style(ui::BorderStyle::Single);
    set_border_icons({.system_menu = true, .minimize = false, .maximize = false});
    set_position(ui::Position::MainFormCenter);
    set_client_size(288, 426);
    ui::Font tahoma;
    tahoma.name = "Tahoma";
    set_font(tahoma);

    PageControl1.set_bounds(0, 0, 288, 388);
    const int x = 12, w = 256;
    int y = 8;
    // Rows of 42 pixels; the port's row is 14 higher for its device line,
    // so the last row ends where it always did.
    auto row = [&](ui::Label& label, ui::Control& field) {
        label.set_bounds(x, y, w, 14);
        field.set_bounds(x, y + 16, w, 21);
        y += 42;
    };
    row(Label1, CBcomn);
    LBcomdev.set_bounds(x, y - 3, w, 14);
    y += 14;
    row(Label2, CBbaud);
    Label3.set_bounds(x, y, 120, 14);
    Ecus1baud.set_bounds(x, y + 16, 120, 21);
    Label4.set_bounds(x + 136, y, 120, 14);
    Ecus2baud.set_bounds(x + 136, y + 16, 120, 21);
    y += 42;
    row(Label5, CBstop);
    row(Label6, CBparity);
    row(Label7, CBbits);
    row(Label8, CBtxfc);
    row(Label9, CBrxfc);
    CBautocon.set_bounds(x, 12, w, 17);

    for (ui::ComboBox* c : {&CBcomn, &CBbaud, &CBstop, &CBparity, &CBbits, &CBtxfc, &CBrxfc})
        c->set_drop_down_count(16);
    CBcomn.set_owner_draw(true);  // each port's device beside its number
    CBstop.set_items({"1.0", "1.5", "2.0"});
    CBparity.set_items({"No", "Odd", "Even", "Mark", "Space"});
    CBbits.set_items({"5", "6", "7", "8"});
    CBtxfc.set_items({"none", "CTS", "DSR"});
    CBrxfc.set_items({"none", "RTS", "DTR"});

    BtnBack.set_bounds(8, 395, 75, 25);
    BtnOk.set_bounds(124, 395, 75, 25);
    BtnOk.set_default(true);
    BtnCancel.set_bounds(205, 395, 75, 25);
    BtnCancel.set_cancel(true);
}

void TCSForm::FormShow()
{
    // Refresh once the dialog is on screen, so the port probe never delays it.
    ui::post_click(BtnBack);
}

void TCSForm::BtnBackClick()
{
    work_ = record_;

    CBcomn.clear_items();
    ports_.clear();
    infos_ = catalogue_.ports();
    // The configured port stays chosen even when another program holds it
    // now; otherwise the lowest free port, as a fresh choice.
    int configured = -1, first_free = -1;
    for (const PortInfo& p : infos_) {
        if (p.number == work_.port_num) configured = CBcomn.count();
        if (!p.in_use && first_free < 0) first_free = CBcomn.count();
        CBcomn.add_item("COM" + std::to_string(p.number));
        ports_.push_back(p.number);
    }
    if (ports_.empty()) {
        show_port_device();
        ui::message_box("No free COM port found!", "Error ...", ui::MsgIcon::Error, ui::MsgButtons::Ok, this);
        BtnCancel.click();
        return;
    }
    CBcomn.set_item_index(configured >= 0 ? configured : first_free >= 0 ? first_free : 0);
    show_port_device();

    Ecus1baud.set_text(std::to_string(work_.port_baud_custom1));
    Ecus2baud.set_text(std::to_string(work_.port_baud_custom2));

    CBbaud.clear_items();
    int standard = -1;
    for (int i = 0; i < 13; ++i) {
        if (cs_standard_bauds[i] == work_.port_baud) standard = i;
        CBbaud.add_item(std::to_string(cs_standard_bauds[i]));
    }
    CBbaud.add_item("Custom 1");
    CBbaud.add_item("Custom 2");
    if (standard >= 0) {
        CBbaud.set_item_index(standard);
    } else if (work_.port_baud == work_.port_baud_custom1) {
        CBbaud.set_item_index(cs_custom1_item);
    } else if (work_.port_baud == work_.port_baud_custom2) {
        CBbaud.set_item_index(cs_custom2_item);
    } else {
        Ecus1baud.set_text(std::to_string(work_.port_baud));
        CBbaud.set_item_index(cs_custom1_item);
    }
    recolour_custom_fields();

    CBstop.set_item_index(work_.port_stop == 10 ? 0 : work_.port_stop == 15 ? 1 : 2);
    const int parity_item = cs_parity_item_of_code(work_.port_parity);
    if (parity_item >= 0) CBparity.set_item_index(parity_item);
    CBbits.set_item_index(work_.port_bit - 5);
    CBtxfc.set_item_index(work_.port_tx_handshake);
    CBrxfc.set_item_index(work_.port_rx_handshake);
    CBautocon.set_checked(work_.port_open != 0);
}

void TCSForm::BtnOkClick()
{
    const int port_item = CBcomn.item_index();
    if (port_item >= 0 && port_item < static_cast<int>(ports_.size()))
        work_.port_num = ports_[static_cast<std::size_t>(port_item)];

    const int baud_item = CBbaud.item_index();
    if (baud_item == cs_custom1_item || baud_item == cs_custom2_item) {
        const bool first = baud_item == cs_custom1_item;
        // A text that is no integer throws here, leaving the dialog open and the record as it was.
        const std::int32_t rate = IntEditCheck(first ? Ecus1baud : Ecus2baud, 1, 3000000);
        if (rate == -1) {
            ui::message_box(first ? "Invalid \"custom 1\" baud rate value!" : "Invalid \"custom 2\" baud rate value!",
                            "Error ...", ui::MsgIcon::Error, ui::MsgButtons::Ok, this);
            return;
        }
        (first ? work_.port_baud_custom1 : work_.port_baud_custom2) = rate;
        work_.port_baud = rate;
    } else if (baud_item >= 0 && baud_item < 13) {
        work_.port_baud = cs_standard_bauds[baud_item];
    }

    if (CBstop.item_index() >= 0) work_.port_stop = CBstop.item_index() * 5 + 10;
    if (CBparity.item_index() >= 0) work_.port_parity = cs_parity_code_of_item(CBparity.item_index());
    if (CBbits.item_index() >= 0) work_.port_bit = CBbits.item_index() + 5;
    if (CBtxfc.item_index() >= 0) work_.port_tx_handshake = CBtxfc.item_index();
    if (CBrxfc.item_index() >= 0) work_.port_rx_handshake = CBrxfc.item_index();
    work_.port_open = CBautocon.checked() ? 1 : 0;

    record_ = work_;
    set_modal_result(ui::mr::Ok);
    if (!modal()) close();  // a modal dialog closes through its result
}

void TCSForm::BtnCancelClick()
{
    set_modal_result(ui::mr::Cancel);
    if (!modal()) close();  // a modal dialog closes through its result
}

void TCSForm::CBcomnChange()
{
    show_port_device();
}

void TCSForm::show_port_device()
{
    const int i = CBcomn.item_index();
    if (i < 0 || i >= static_cast<int>(infos_.size())) {
        LBcomdev.set_caption("");
        return;
    }
    const PortInfo& p = infos_[static_cast<std::size_t>(i)];
    std::string text = port_description(p);
    if (p.in_use) text += text.empty() ? "in use" : " (in use)";
    LBcomdev.set_caption(text);
}

void TCSForm::CBcomnDrawItem(ui::Canvas& canvas, int index, const ui::Rect& r, bool selected)
{
    canvas.brush = {selected ? ui::colors::highlight : ui::colors::window, ui::BrushStyle::Solid};
    canvas.fill_rect(r);
    if (index < 0 || index >= static_cast<int>(infos_.size())) return;
    const PortInfo& p = infos_[static_cast<std::size_t>(index)];
    canvas.brush.style = ui::BrushStyle::Clear;
    const ui::Color text = selected ? ui::colors::highlight_text : ui::colors::window_text;
    const int top = r.top + (r.height() - canvas.text_height("COM")) / 2;
    canvas.font.color = text;
    canvas.text_rect(r, {r.left + 2, top}, CBcomn.items()[static_cast<std::size_t>(index)]);
    // Names start in one column, right of the widest number.
    int x = r.left + 2 + canvas.text_width("COM255") + 8;
    if (p.in_use) {
        canvas.font.color = selected ? text : ui::colors::gray_text;
        canvas.text_rect(r, {x, top}, "in use");
        x += canvas.text_width("in use") + 8;
    }
    canvas.font.color = text;
    if (!p.name.empty()) canvas.text_rect(r, {x, top}, p.name);
}

void TCSForm::CBbaudChange()
{
    recolour_custom_fields();
}

void TCSForm::Ecus1baudDblClick()
{
    CBbaud.set_item_index(cs_custom1_item);
    recolour_custom_fields();
}

void TCSForm::Ecus2baudDblClick()
{
    CBbaud.set_item_index(cs_custom2_item);
    recolour_custom_fields();
}

void TCSForm::Ecus1baudKeyPress(char& key)
{
    digits_only(key);
}

void TCSForm::Ecus2baudKeyPress(char& key)
{
    digits_only(key);
}

void TCSForm::recolour_custom_fields()
{
    const int item = CBbaud.item_index();
    Ecus1baud.set_color(item == cs_custom1_item ? ui::colors::window : ui::colors::btn_face);
    Ecus2baud.set_color(item == cs_custom2_item ? ui::colors::window : ui::colors::btn_face);
}
