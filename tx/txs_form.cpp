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
#include "settings/int_edit_check.h"
#include "settings/setting_values.h"
#include "tx/keyboard_send.h"
#include "tx/slot_form.h"
#include "ui/services.h"

namespace {

std::string history_key(int n)
{
    char key[16];
    std::snprintf(key, sizeof key, "str_%02d", n);
    return key;
}

constexpr std::int32_t repeat_min_ms = 1, repeat_max_ms = 3600000, repeat_default_ms = 1000;

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
    CBesc.on_click = [this] { CBescClick(); };
    CBchk.on_change = [this] { CBchkChange(); };
    CBmsg.on_change = [this] { update_checksum_label(); };
    Erep.on_key_press = [this](char& k) { ErepKeyPress(k); };
    BtnRepeat.on_click = [this] { BtnRepeatClick(); };
    BtnSlot.on_click = [this] { BtnSlotClick(); };
    TimerRep.on_timer = [this] { TimerRepTimer(); };
    // However the window goes away, a repeat does not outlast it.
    on_hide = [this] { repeat_stop(); };
    CBeolClick();
}

TTXSForm::~TTXSForm()
{
    // The timer goes before the base class's teardown could report a hide.
    on_hide = nullptr;
    TimerRep.set_enabled(false);
}

void TTXSForm::build_layout()
{
    set_caption("Send string");
    set_border_style(ui::BorderStyle::Sizeable);
    set_border_icons({.system_menu = true, .minimize = false, .maximize = false});
    set_form_style(ui::FormStyle::StayOnTop);
    set_position(ui::Position::MainFormCenter);
    set_client_size(392, 279);
    set_min_window_size(400, 306);
    set_max_window_size(0, 306);
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
    BtnSendClose.set_bounds(147, 246, 75, 25);
    BtnSend.set_bounds(228, 246, 75, 25);
    BtnCancel.set_bounds(309, 246, 75, 25);
    for (ui::Button* b : {&BtnSendClose, &BtnSend, &BtnCancel}) b->set_anchors(right);
    BtnCancel.set_cancel(true);

    CBesc.set_bounds(8, 178, 70, 17);
    Label3.set_bounds(90, 180, 52, 14);
    CBchk.set_bounds(144, 176, 130, 21);
    for (int i = 0; i < checksum_count; ++i) CBchk.add_item(checksum_caption(i));
    CBchk.set_drop_down_count(checksum_count);
    CBchk.set_item_index(0);
    STchk.set_bounds(282, 180, 102, 14);
    Label4.set_bounds(8, 208, 96, 14);
    Erep.set_bounds(106, 204, 60, 21);
    BtnRepeat.set_bounds(172, 203, 60, 23);
    STrep.set_bounds(240, 208, 144, 32);  // the skipped count wraps to a second line
    STrep.set_anchors({.left = true, .top = true, .right = true, .bottom = false});
    BtnSlot.set_bounds(8, 246, 90, 25);
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

int TTXSForm::mark_choice() const
{
    return RBdef.checked()    ? 0
           : RBcr.checked()   ? 2
           : RBlf.checked()   ? 3
           : RBcrlf.checked() ? 4
           : RBlfcr.checked() ? 5
                              : 1;
}

bool TTXSForm::build_send(std::vector<std::uint8_t>& buf)
{
    StringSendOptions options;
    options.escapes = CBesc.checked();
    options.checksum = CBchk.item_index();
    options.eos = CBeos.checked();
    if (CBeol.checked()) {
        const int choice = mark_choice();
        const std::uint8_t user = choice == 1 ? user_byte() : 0;
        options.mark_len = string_eol_mark(choice, line_break_mode ? line_break_mode() : 0, user, options.mark);
    }

    const std::string text = CBmsg.text();
    BadEscape bad;
    bool built = false, out_of_memory = false;
    try {
        built = build_string_send(text, options, buf, bad);
    } catch (const std::bad_alloc&) {
        out_of_memory = true;  // as ever: the history still takes the text, and nothing is said
    }
    if (!built && !out_of_memory) {
        // Neither sent nor remembered: the user fixes the text first.
        ui::message_box(bad_escape_text(bad), "Error ...", ui::MsgIcon::Error, ui::MsgButtons::Ok, this);
        return false;
    }
    // A text already at the top stays where it is (the list would end the same).
    const int found = CBmsg.index_of(text);
    if (found != 0) {
        if (found > 0) CBmsg.delete_item(found);
        CBmsg.insert_item(0, text);
        CBmsg.set_text(text);
    }
    return built;
}

void TTXSForm::send_string()
{
    if (!link_.connected()) return;
    std::vector<std::uint8_t> buf;
    if (!build_send(buf)) return;
    if (buf.size() > static_cast<std::size_t>(link_.tx_free())) {
        ui::message_box("Not enough space in tx FIFO!", "Error ...", ui::MsgIcon::Error, ui::MsgButtons::Ok, this);
        return;
    }
    link_.tx_put(buf.data(), static_cast<std::int32_t>(buf.size()));
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

void TTXSForm::CBescClick()
{
    update_checksum_label();
}

void TTXSForm::CBchkChange()
{
    update_checksum_label();
}

void TTXSForm::update_checksum_label()
{
    const int kind = CBchk.item_index();
    const std::string text = kind > 0 ? CBmsg.text() : std::string();
    std::vector<std::uint8_t> bytes;
    BadEscape bad;
    // A bad escape has no checksum yet; the send says what is wrong.
    if (kind <= 0 || (CBesc.checked() && !parse_escapes(text, bytes, bad))) {
        STchk.set_caption("");
        return;
    }
    if (!CBesc.checked()) bytes.assign(text.begin(), text.end());
    std::uint8_t sum[4];
    const int n = checksum_bytes(kind, bytes.data(), bytes.size(), sum);
    STchk.set_caption(hex_bytes_text(sum, n));
}

void TTXSForm::ErepKeyPress(char& key)
{
    if (!((key >= '0' && key <= '9') || key == 8)) key = 0;
}

void TTXSForm::BtnRepeatClick()
{
    if (repeating()) {
        repeat_stop();
        return;
    }
    if (!link_.connected()) return;
    const std::int32_t period = IntEditCheck(Erep, repeat_min_ms, repeat_max_ms);
    if (period < 0) return;
    std::vector<std::uint8_t> buf;
    // Nothing to send would only count sends that put nothing.
    if (!build_send(buf) || buf.empty()) return;
    repeat_buf_ = std::move(buf);
    sent_ = skipped_ = 0;
    schedule_.start(ui::tick_count_ms(), period);
    TimerRep.set_interval(period);
    TimerRep.set_enabled(true);
    BtnRepeat.set_caption("Stop");
    show_repeat_status();
}

void TTXSForm::TimerRepTimer()
{
    if (!link_.connected()) {
        repeat_stop();
        return;
    }
    const std::int32_t due = schedule_.take_due(ui::tick_count_ms());
    const auto count = static_cast<std::int32_t>(repeat_buf_.size());
    for (std::int32_t i = 0; i < due; ++i) {
        // A FIFO without room for the whole buffer skips this copy: the queue never grows without bound.
        if (count > link_.tx_free()) {
            ++skipped_;
        } else {
            link_.tx_put(repeat_buf_.data(), count);
            ++sent_;
        }
    }
    if (due > 0) show_repeat_status();
    TimerRep.set_interval(schedule_.wait_ms(ui::tick_count_ms()));
}

void TTXSForm::repeat_stop()
{
    if (!repeating()) return;
    TimerRep.set_enabled(false);
    repeat_buf_.clear();
    BtnRepeat.set_caption("Repeat");
}

void TTXSForm::show_repeat_status()
{
    char text[96];
    if (skipped_ > 0)
        std::snprintf(text, sizeof text, "sent %lld times, %lld skipped: transmit FIFO full", sent_, skipped_);
    else
        std::snprintf(text, sizeof text, "sent %lld times", sent_);
    STrep.set_caption(text);
}

void TTXSForm::BtnSlotClick()
{
    QuickSlot slot;
    slot.used = true;
    slot.text = CBmsg.text();
    slot.escapes = CBesc.checked();
    std::vector<std::uint8_t> bytes;
    BadEscape bad;
    if (slot.escapes && !parse_escapes(slot.text, bytes, bad)) {
        ui::message_box(bad_escape_text(bad), "Error ...", ui::MsgIcon::Error, ui::MsgButtons::Ok, this);
        return;
    }
    slot.checksum = std::max(CBchk.item_index(), 0);
    slot.eol = CBeol.checked();
    slot.eol_type = mark_choice();
    // The user byte as a send would take it, without writing it back.
    slot.user_byte =
        hex_active_ ? user_byte_of_hex(Ehex.text().empty() ? "0" : Ehex.text()) : user_byte_of_decimal(Edec.text());
    slot.eos = CBeos.checked();
    if (!slot_form_) slot_form_ = std::make_unique<TSlotForm>(this);
    const int n = slot_form_->choose(slots, slot.name);
    if (n < 0) return;
    slots[static_cast<std::size_t>(n)] = std::move(slot);
    if (on_slots_changed) on_slots_changed();
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

int LoadStringSendOptions(const ProfileFile* file, TTXSForm& form)
{
    if (!file) return 1;
    form.CBesc.set_checked(read_setting_boolean(*file, "TXSTR", "str_escapes", false));
    const std::int32_t sum = read_setting_integer(*file, "TXSTR", "str_checksum", 0);
    form.CBchk.set_item_index(sum >= 0 && sum < checksum_count ? sum : 0);
    const std::int32_t ms = read_setting_integer(*file, "TXSTR", "str_repeat_ms", repeat_default_ms);
    form.Erep.set_text(std::to_string(std::clamp(ms, repeat_min_ms, repeat_max_ms)));
    form.update_checksum_label();
    return 0;
}

int SaveStringSendOptions(ProfileFile* file, const TTXSForm& form)
{
    if (!file) return 1;
    write_setting_boolean(*file, "TXSTR", "str_escapes", form.CBesc.checked());
    write_setting_integer(*file, "TXSTR", "str_checksum", std::max(form.CBchk.item_index(), 0));
    // A field left empty or holding no number keeps the default period.
    const std::int32_t ms = parse_setting_integer(form.Erep.text()).value_or(repeat_default_ms);
    write_setting_integer(*file, "TXSTR", "str_repeat_ms", std::clamp(ms, repeat_min_ms, repeat_max_ms));
    return 0;
}
