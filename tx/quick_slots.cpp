// Quick-send slots: captions, the send, and the QUICKSEND section.
#include "tx/quick_slots.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <vector>

#include "settings/setting_values.h"
#include "tx/txs_form.h"

namespace {

constexpr const char* section = "QUICKSEND";

std::string slot_key(int n, const char* field)
{
    char key[32];
    std::snprintf(key, sizeof key, "slot_%02d%s", n + 1, field);
    return key;
}

// The profile functions trim a value's blanks and strip one pair of enclosing
// quotes when reading; a pair written around the text keeps it exactly.
std::string quoted(const std::string& text)
{
    return '"' + text + '"';
}

}  // namespace

std::string quick_slot_caption(const QuickSlot& slot)
{
    if (!slot.used) return "(empty)";
    std::string shown = slot.name.empty() ? slot.text : slot.name;
    constexpr std::size_t longest = 40;
    if (shown.size() > longest) shown = shown.substr(0, longest - 3) + "...";
    if (shown.empty()) shown = "(no text)";
    std::string out;
    for (char c : shown) {
        if (c == '&') out += '&';
        out += static_cast<unsigned char>(c) < 32 ? ' ' : c;
    }
    return out;
}

StringSendOptions quick_slot_options(const QuickSlot& slot, int line_break_mode)
{
    StringSendOptions o;
    o.escapes = slot.escapes;
    o.checksum = slot.checksum;
    o.eos = slot.eos;
    if (slot.eol) o.mark_len = string_eol_mark(slot.eol_type, line_break_mode, slot.user_byte, o.mark);
    return o;
}

QuickSendResult send_quick_slot(SerialLink& link, const QuickSlot& slot, int line_break_mode, std::string& why)
{
    if (!link.connected() || !slot.used) return QuickSendResult::Nothing;
    std::vector<std::uint8_t> buf;
    BadEscape bad;
    try {
        if (!build_string_send(slot.text, quick_slot_options(slot, line_break_mode), buf, bad)) {
            why = bad_escape_text(bad);
            return QuickSendResult::BadEscape;
        }
    } catch (const std::bad_alloc&) {
        return QuickSendResult::Nothing;
    }
    if (buf.size() > static_cast<std::size_t>(link.tx_free())) return QuickSendResult::NoRoom;
    if (!buf.empty()) link.tx_put(buf.data(), static_cast<std::int32_t>(buf.size()));
    return QuickSendResult::Sent;
}

int LoadQuickSendSlots(const ProfileFile* file, QuickSlots& slots)
{
    if (!file) return 1;
    for (int n = 0; n < quick_slot_count; ++n) {
        QuickSlot s;
        s.used = read_setting_boolean(*file, section, slot_key(n, ""), false);
        if (s.used) {
            s.name = read_setting_text(*file, section, slot_key(n, "_name"));
            s.text = read_setting_text(*file, section, slot_key(n, "_text"));
            s.escapes = read_setting_boolean(*file, section, slot_key(n, "_escapes"), false);
            const std::int32_t sum = read_setting_integer(*file, section, slot_key(n, "_checksum"), 0);
            s.checksum = sum >= 0 && sum < checksum_count ? sum : 0;
            s.eol = read_setting_boolean(*file, section, slot_key(n, "_eol"), false);
            s.eol_type = std::clamp(read_setting_integer(*file, section, slot_key(n, "_eol_type"), 0), 0, 5);
            const std::int32_t user = read_setting_integer(*file, section, slot_key(n, "_eol_user"), 13);
            s.user_byte = static_cast<std::uint8_t>(std::clamp(user, 0, 255));
            s.eos = read_setting_boolean(*file, section, slot_key(n, "_eos"), true);
        }
        slots[static_cast<std::size_t>(n)] = std::move(s);
    }
    return 0;
}

int SaveQuickSendSlots(ProfileFile* file, const QuickSlots& slots)
{
    if (!file) return 1;
    for (int n = 0; n < quick_slot_count; ++n) {
        const QuickSlot& s = slots[static_cast<std::size_t>(n)];
        write_setting_boolean(*file, section, slot_key(n, ""), s.used);
        // An unused slot writes only its flag: keys of what it once held are ignored.
        if (!s.used) continue;
        write_setting_text(*file, section, slot_key(n, "_name"), quoted(s.name));
        write_setting_text(*file, section, slot_key(n, "_text"), quoted(s.text));
        write_setting_boolean(*file, section, slot_key(n, "_escapes"), s.escapes);
        write_setting_integer(*file, section, slot_key(n, "_checksum"), s.checksum);
        write_setting_boolean(*file, section, slot_key(n, "_eol"), s.eol);
        write_setting_integer(*file, section, slot_key(n, "_eol_type"), s.eol_type);
        write_setting_integer(*file, section, slot_key(n, "_eol_user"), s.user_byte);
        write_setting_boolean(*file, section, slot_key(n, "_eos"), s.eos);
    }
    return 0;
}
