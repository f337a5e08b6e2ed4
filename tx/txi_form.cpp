// TTXIForm: key filters, the active radix, send_integer and its settings group.
#include "tx/txi_form.h"

#include <algorithm>
#include <string>

#include "settings/int_edit_check.h"
#include "settings/setting_values.h"
#include "tx/integer_value.h"
#include "ui/services.h"

namespace {

constexpr char ctrl_c = 3, ctrl_v = 22, ctrl_x = 24, backspace = 8;

// Keys every value field takes besides its digits.
bool editing_key(char k)
{
    return k == backspace || k == ' ' || k == '-' || k == ctrl_c || k == ctrl_v || k == ctrl_x;
}

void error_box(const char* text, ui::Form* owner)
{
    ui::message_box(text, "Error ...", ui::MsgIcon::Error, ui::MsgButtons::Ok, owner);
}

}  // namespace

TTXIForm::TTXIForm(SerialLink& link) : ui::Form("TXIForm"), link_(link)
{
    build_layout();
    on_show = [this] { FormShow(); };
    Eidec.on_enter = [this] { set_active_radix(0); };
    Eihex.on_enter = [this] { set_active_radix(1); };
    Eibin.on_enter = [this] { set_active_radix(2); };
    Eidec.on_key_press = [this](char& k) { EidecKeyPress(k); };
    Eihex.on_key_press = [this](char& k) { EihexKeyPress(k); };
    Eibin.on_key_press = [this](char& k) { EibinKeyPress(k); };
    Eibs.on_key_press = [this](char& k) { EibsKeyPress(k); };
    BtnSend.on_click = [this] { BtnSendClick(); };
    BtnSendClose.on_click = [this] { BtnSendCloseClick(); };
    BtnCancel.on_click = [this] { BtnCancelClick(); };
    set_active_radix(0);
}

void TTXIForm::build_layout()
{
    set_caption("Send integer");
    set_border_style(ui::BorderStyle::Sizeable);
    set_border_icons({.system_menu = true, .minimize = false, .maximize = false});
    set_form_style(ui::FormStyle::StayOnTop);
    set_position(ui::Position::MainFormCenter);
    set_client_size(527, 217);
    set_min_window_size(500, 244);
    set_max_window_size(0, 244);
    ui::Font tahoma;
    tahoma.name = "Tahoma";
    set_font(tahoma);

    const ui::Anchors stretch{.left = true, .top = true, .right = true, .bottom = false};
    const ui::Anchors right{.left = false, .top = true, .right = true, .bottom = false};
    GroupBox1.set_bounds(8, 4, 511, 100);
    GroupBox1.set_anchors(stretch);
    int y = 20;
    for (auto [label, edit] : {std::pair{&Label1, &Eidec}, {&Label2, &Eihex}, {&Label3, &Eibin}}) {
        label->set_bounds(12, y + 3, 30, 14);
        edit->set_bounds(48, y, 451, 21);
        edit->set_anchors(stretch);
        y += 26;
    }
    GroupBox2.set_bounds(8, 108, 511, 68);
    GroupBox2.set_anchors(stretch);
    Label4.set_bounds(12, 23, 130, 14);
    Eibs.set_bounds(146, 20, 40, 21);
    RBile.set_bounds(12, 46, 120, 17);
    RBile.set_checked(true);
    RBibe.set_bounds(146, 46, 120, 17);

    BtnSendClose.set_bounds(282, 184, 75, 25);
    BtnSend.set_bounds(363, 184, 75, 25);
    BtnCancel.set_bounds(444, 184, 75, 25);
    for (ui::Button* b : {&BtnSendClose, &BtnSend, &BtnCancel}) b->set_anchors(right);
    BtnSend.set_default(true);
    BtnCancel.set_cancel(true);
}

void TTXIForm::FormShow()
{
    set_active_radix(radix_);
    // Reopened, the kept value is selected whole: typing replaces it.
    (radix_ == 0 ? Eidec : radix_ == 1 ? Eihex : Eibin).select_all();
}

void TTXIForm::set_active_radix(std::int32_t r)
{
    radix_ = r;
    if (visible()) {
        ui::Edit& field = r == 0 ? Eidec : r == 1 ? Eihex : Eibin;
        // Focusing a field that did not have it runs its enter handler, which
        // stores that field's radix.
        if (!field.focused()) field.set_focus();
    }
    Eidec.set_color(radix_ == 0 ? ui::colors::window : ui::colors::btn_face);
    Eihex.set_color(radix_ == 1 ? ui::colors::window : ui::colors::btn_face);
    Eibin.set_color(radix_ == 2 ? ui::colors::window : ui::colors::btn_face);
}

void TTXIForm::EidecKeyPress(char& key)
{
    if (!((key >= '0' && key <= '9') || editing_key(key))) key = 0;
}

void TTXIForm::EihexKeyPress(char& key)
{
    if (key >= 'a' && key <= 'f') key = static_cast<char>(key - 'a' + 'A');
    if (!((key >= '0' && key <= '9') || (key >= 'A' && key <= 'F') || editing_key(key))) key = 0;
}

void TTXIForm::EibinKeyPress(char& key)
{
    if (!(key == '0' || key == '1' || editing_key(key))) key = 0;
}

void TTXIForm::EibsKeyPress(char& key)
{
    if (!((key >= '0' && key <= '9') || key == backspace)) key = 0;
}

int TTXIForm::send_integer()
{
    const std::int32_t n = IntEditCheck(Eibs, 1, 8);
    if (n > 0) last_size_ = n;
    // An empty size field would leave the byte count undefined.
    if (n < 0) {
        error_box("Enter an integer size of 1 to 8 bytes!", this);
        return 3;
    }
    if (n > link_.tx_free()) {
        error_box("Not enough space in tx FIFO!", this);
        return 1;
    }
    const int radix = radix_ == 0 ? 10 : radix_ == 1 ? 16 : 2;
    const std::string& text = radix_ == 0 ? Eidec.text() : radix_ == 1 ? Eihex.text() : Eibin.text();
    IntegerValue v;
    if (!parse_integer_value(text, radix, v) || !integer_fits(v, n)) {
        error_box("Invalid integer value!", this);
        return 2;
    }
    const IntegerTexts t = integer_texts(v, n);
    Eidec.set_text(t.dec);
    Eihex.set_text(t.hex);
    Eibin.set_text(t.bin);
    std::uint8_t bytes[8] = {};
    link_.tx_put(bytes, integer_bytes(v, n, RBibe.checked(), bytes));
    return 0;
}

void TTXIForm::set_size(std::int32_t n)
{
    Eibs.set_text(std::to_string(n));
    last_size_ = n;
}

std::int32_t TTXIForm::size_to_save()
{
    try {
        const std::int32_t n = IntEditCheck(Eibs, 1, 8);
        if (n > 0) last_size_ = n;
        return n;
    } catch (const IntegerConversionError&) {
        // Pasted text or an over-long number must not cost the other settings.
        return last_size_;
    }
}

void TTXIForm::BtnSendClick()
{
    if (link_.connected()) send_integer();
}

void TTXIForm::BtnSendCloseClick()
{
    if (link_.connected() && send_integer() == 0) ui::post_click(BtnCancel);
}

void TTXIForm::BtnCancelClick()
{
    close();
}

int LoadIntegerSendSettings(const ProfileFile* file, TTXIForm& form)
{
    if (!file) return 1;
    form.Eidec.set_text(read_setting_text(*file, "TXCFG", "int_val_dec", "0"));
    form.Eihex.set_text(read_setting_text(*file, "TXCFG", "int_val_hex", "0"));
    form.Eibin.set_text(read_setting_text(*file, "TXCFG", "int_val_bin", "0"));
    form.set_active_radix(read_setting_integer(*file, "TXCFG", "int_radix", 0));
    const std::int32_t len = std::clamp(read_setting_integer(*file, "TXCFG", "int_len", 4), 1, 8);
    form.set_size(len);
    if (read_setting_integer(*file, "TXCFG", "int_endian", 0) != 0) form.RBibe.set_checked(true);
    return 0;
}

int SaveIntegerSendSettings(ProfileFile* file, TTXIForm& form)
{
    if (!file) return 1;
    write_setting_text(*file, "TXCFG", "int_val_dec", form.Eidec.text());
    write_setting_text(*file, "TXCFG", "int_val_hex", form.Eihex.text());
    write_setting_text(*file, "TXCFG", "int_val_bin", form.Eibin.text());
    write_setting_integer(*file, "TXCFG", "int_radix", form.active_radix());
    write_setting_integer(*file, "TXCFG", "int_len", form.size_to_save());
    write_setting_integer(*file, "TXCFG", "int_endian", form.RBibe.checked() ? 1 : 0);
    return 0;
}
