// TTXSForm: the history, the end-of-line choices, send_string and its
// settings group.
#include "tx/txs_form.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <new>
#include <initializer_list>
#include <vector>

#include "numtext/number_text.h"
#include "settings/setting_values.h"
#include "tx/keyboard_send.h"
#include "ui/services.h"

namespace {

std::string history_key(int n)
{
    char key[16];
    std::snprintf(key, sizeof key, "str_%02d", n);
    return key;
}

}  // namespace

int string_eol_mark(int choice, int line_break_mode, std::uint8_t user_byte, std::uint8_t out[2])
{
    switch (choice) {
        case 0:
            return eol_bytes(line_break_mode, out);
        case 2:
            return eol_bytes(0, out);
        case 3:
            return eol_bytes(1, out);
        case 4:
            return eol_bytes(2, out);
        case 5:
            return eol_bytes(3, out);
        default:
            out[0] = user_byte;
            return 1;
    }
}

std::uint8_t user_byte_of_decimal(const std::string& text)
{
    std::int32_t v = 0;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc() || p != end) return 0;
    return v < 0 || v > 255 ? 255 : static_cast<std::uint8_t>(v);
}

std::uint8_t user_byte_of_hex(const std::string& text)
{
    // Blanks count for nothing and leading zeros for no digit: only the
    // significant digits decide, however long the text.
    std::string digits;
    for (char c : text) {
        if (c == ' ' || c == '\t') continue;
        if (!std::isxdigit(static_cast<unsigned char>(c))) return 0;
        if (digits.empty() && c == '0') continue;
        digits += c;
    }
    if (digits.size() > 2) return 255;
    std::uint64_t v = 0;
    if (ParseUnsigned64(digits.empty() ? "0" : digits.c_str(), &v, 16) != parse_ok) return 0;
    return static_cast<std::uint8_t>(v);
}

TTXSForm::TTXSForm(SerialLink& link) : ui::Form("TXSForm"), link_(link)
{
    build_layout();
    line_break_mode = [] { return 0; };
    on_show = [this] { FormShow(); };
    CBeol.on_click = [this] { CBeolClick(); };
    Edec.on_enter = [this] { EdecEnter(); };
    Ehex.on_enter = [this] { EhexEnter(); };
    Edec.on_key_press = [this](char& k) { EdecKeyPress(k); };
    Ehex.on_key_press = [this](char& k) { EhexKeyPress(k); };
    CBmsg.on_key_press = [this](char& k) { CBmsgKeyPress(k); };
    BtnSend.on_click = [this] { BtnSendClick(); };
    BtnSendClose.on_click = [this] { BtnSendCloseClick(); };
    BtnCancel.on_click = [this] { BtnCancelClick(); };
    CBeolClick();
}

void TTXSForm::build_layout()
{
    set_caption("Send string");
    set_border_style(ui::BorderStyle::Sizeable);
    set_border_icons({.system_menu = true, .minimize = false, .maximize = false});
    set_form_style(ui::FormStyle::StayOnTop);
    set_position(ui::Position::MainFormCenter);
    set_client_size(392, 231);
    set_min_window_size(400, 258);
    set_max_window_size(0, 258);
    ui::Font tahoma;
    tahoma.name = "Tahoma";
    set_font(tahoma);

    Label1.set_bounds(8, 8, 200, 14);
    CBmsg.set_bounds(8, 24, 376, 21);
    CBmsg.set_anchors({.left = true, .top = true, .right = true, .bottom = false});
    CBmsg.set_drop_down_count(20);
    CBeol.set_bounds(8, 56, 150, 17);
    CBeos.set_bounds(200, 56, 150, 17);
    CBeos.set_checked(true);
    RBdef.set_bounds(24, 82, 150, 17);
    RBdef.set_checked(true);
    RBusr.set_bounds(24, 106, 80, 17);
    Edec.set_bounds(106, 104, 30, 21);
    Label2.set_bounds(142, 107, 14, 14);
    Ehex.set_bounds(158, 104, 30, 21);
    Edec.set_color(ui::colors::window);
    Ehex.set_color(ui::colors::btn_face);
    RBcr.set_bounds(220, 82, 160, 17);
    RBlf.set_bounds(220, 104, 160, 17);
    RBcrlf.set_bounds(220, 126, 160, 17);
    RBlfcr.set_bounds(220, 148, 160, 17);

    const ui::Anchors right{.left = false, .top = true, .right = true, .bottom = false};
    BtnSendClose.set_bounds(147, 198, 75, 25);
    BtnSend.set_bounds(228, 198, 75, 25);
    BtnCancel.set_bounds(309, 198, 75, 25);
    for (ui::Button* b : {&BtnSendClose, &BtnSend, &BtnCancel}) b->set_anchors(right);
    BtnCancel.set_cancel(true);
}

void TTXSForm::FormShow()
{
    // Whatever had the focus when the window was closed (Cancel, say), typing
    // goes into the string again, replacing the kept one as in any Windows
    // dialog, while Enter alone sends it again.
    CBmsg.set_focus();
    CBmsg.select_all();
}

void TTXSForm::CBeolClick()
{
    const bool on = CBeol.checked();
    for (ui::Control* c :
         std::initializer_list<ui::Control*>{&RBdef, &RBusr, &RBcr, &RBlf, &RBcrlf, &RBlfcr, &Edec, &Ehex})
        c->set_enabled(on);
}

void TTXSForm::EdecEnter()
{
    hex_active_ = false;
    Edec.set_color(ui::colors::window);
    Ehex.set_color(ui::colors::btn_face);
}

void TTXSForm::EhexEnter()
{
    hex_active_ = true;
    Ehex.set_color(ui::colors::window);
    Edec.set_color(ui::colors::btn_face);
}

void TTXSForm::EdecKeyPress(char& key)
{
    if (!((key >= '0' && key <= '9') || key == 8)) key = 0;
}

void TTXSForm::EhexKeyPress(char& key)
{
    if (!((key >= '0' && key <= '9') || (key >= 'A' && key <= 'F') || (key >= 'a' && key <= 'f') || key == 8)) key = 0;
}

void TTXSForm::CBmsgKeyPress(char& key)
{
    // The send runs after this key has been handled; the key goes on.
    if (key == 13) ui::post_click(BtnSend);
}

std::uint8_t TTXSForm::user_byte()
{
    std::uint8_t b = 0;
    if (!hex_active_) {
        b = user_byte_of_decimal(Edec.text());
    } else {
        if (Ehex.text().empty()) Ehex.set_text("0");
        b = user_byte_of_hex(Ehex.text());
    }
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", b);
    Edec.set_text(std::to_string(b));
    Ehex.set_text(hex);
    return b;
}

void TTXSForm::send_string()
{
    if (!link_.connected()) return;
    std::uint8_t mark[2] = {};
    int mark_len = 0;
    if (CBeol.checked()) {
        const int choice = RBdef.checked()    ? 0
                           : RBcr.checked()   ? 2
                           : RBlf.checked()   ? 3
                           : RBcrlf.checked() ? 4
                           : RBlfcr.checked() ? 5
                                              : 1;
        const std::uint8_t user = choice == 1 ? user_byte() : 0;
        mark_len = string_eol_mark(choice, line_break_mode ? line_break_mode() : 0, user, mark);
    }

    const std::string text = CBmsg.text();
    // A text already at the top stays where it is (the list would end the same).
    const int found = CBmsg.index_of(text);
    if (found != 0) {
        if (found > 0) CBmsg.delete_item(found);
        CBmsg.insert_item(0, text);
        CBmsg.set_text(text);
    }

    std::vector<std::uint8_t> buf;
    try {
        buf.assign(text.size() + 4, 0);
    } catch (const std::bad_alloc&) {
        return;
    }
    std::copy(text.begin(), text.end(), buf.begin());
    for (int i = 0; i < mark_len; ++i) buf[text.size() + static_cast<std::size_t>(i)] = mark[i];
    const std::size_t count = text.size() + static_cast<std::size_t>(mark_len) + (CBeos.checked() ? 1 : 0);
    if (count > static_cast<std::size_t>(link_.tx_free())) {
        ui::message_box("Not enough space in tx FIFO!", "Error ...", ui::MsgIcon::Error, ui::MsgButtons::Ok, this);
        return;
    }
    link_.tx_put(buf.data(), static_cast<std::int32_t>(count));
}

void TTXSForm::BtnSendClick()
{
    send_string();
}

void TTXSForm::BtnSendCloseClick()
{
    send_string();
    close();
}

void TTXSForm::BtnCancelClick()
{
    close();
}

int LoadStringSendSettings(const ProfileFile* file, TTXSForm& form)
{
    if (!file) return 1;
    form.CBmsg.clear_items();
    for (int n = 0; n < txs_saved_history; ++n) {
        std::string s = read_setting_text(*file, "TXCFG", history_key(n), "");
        if (!s.empty()) form.CBmsg.add_item(std::move(s));
    }
    form.CBeol.set_checked(read_setting_integer(*file, "TXCFG", "str_eol", 0) != 0);
    form.CBeolClick();
    const std::int32_t type = std::clamp(read_setting_integer(*file, "TXCFG", "str_eol_type", 0), 0, 5);
    ui::RadioButton* marks[] = {&form.RBdef, &form.RBusr, &form.RBcr, &form.RBlf, &form.RBcrlf, &form.RBlfcr};
    marks[type]->set_checked(true);
    form.Edec.set_text(read_setting_text(*file, "TXCFG", "str_eol_user_dec", "13"));
    form.Ehex.set_text(read_setting_text(*file, "TXCFG", "str_eol_user_hex", "0D"));
    form.CBeos.set_checked(read_setting_integer(*file, "TXCFG", "str_eos", 1) != 0);
    return 0;
}

int SaveStringSendSettings(ProfileFile* file, const TTXSForm& form)
{
    if (!file) return 1;
    // Exactly the entries it has: keys past them would come back at the next start.
    for (int i = 0; i < txs_saved_history; ++i) {
        if (i < form.CBmsg.count())
            write_setting_text(*file, "TXCFG", history_key(i), form.CBmsg.items()[static_cast<std::size_t>(i)]);
        else
            file->remove_key("TXCFG", history_key(i));
    }
    write_setting_integer(*file, "TXCFG", "str_eol", form.CBeol.checked() ? 1 : 0);
    const ui::RadioButton* marks[] = {&form.RBdef, &form.RBusr, &form.RBcr, &form.RBlf, &form.RBcrlf};
    int type = 5;
    for (int i = 0; i < 5; ++i) {
        if (marks[i]->checked()) {
            type = i;
            break;
        }
    }
    write_setting_integer(*file, "TXCFG", "str_eol_type", type);
    write_setting_text(*file, "TXCFG", "str_eol_user_dec", form.Edec.text());
    write_setting_text(*file, "TXCFG", "str_eol_user_hex", form.Ehex.text());
    write_setting_integer(*file, "TXCFG", "str_eos", form.CBeos.checked() ? 1 : 0);
    return 0;
}
