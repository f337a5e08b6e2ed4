// The ten quick-send slots: a saved string with its send options each, sent
// from the main window's menu with one key, and their settings section.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "link/serial_link.h"
#include "settings/profile_file.h"
#include "tx/send_bytes.h"

struct QuickSlot {
    bool used = false;
    std::string name;  // optional; the menu shows the text without one
    std::string text;  // as typed, escapes unresolved
    bool escapes = false;
    int checksum = 0;
    bool eol = false;
    int eol_type = 0;  // as str_eol_type: 0 Default, 1 user byte, 2 CR, 3 LF, 4 CR+LF, 5 LF+CR
    std::uint8_t user_byte = 13;
    bool eos = true;
};

inline constexpr int quick_slot_count = 10;
using QuickSlots = std::array<QuickSlot, quick_slot_count>;

// The menu caption: the name, else the text, cut to 40 characters; "(empty)"
// for an unused slot. Ampersands are doubled so none becomes an access key.
std::string quick_slot_caption(const QuickSlot& slot);

// The slot's options for a send; "Default" follows the text view's mode now.
StringSendOptions quick_slot_options(const QuickSlot& slot, int line_break_mode);

enum class QuickSendResult : std::uint8_t { Sent, Nothing, BadEscape, NoRoom };
// One tx_put of the slot's whole buffer, as the send-string window does.
// Nothing when not connected or the slot is unused; on BadEscape `why` gets
// the message text.
QuickSendResult send_quick_slot(SerialLink& link, const QuickSlot& slot, int line_break_mode, std::string& why);

// Section QUICKSEND, keys slot_NN (used) and slot_NN_name, _text, _escapes,
// _checksum, _eol, _eol_type, _eol_user, _eos for NN = 01..10. Load and save
// return 1 without a settings file, else 0; a refused write throws.
int LoadQuickSendSlots(const ProfileFile* file, QuickSlots& slots);
int SaveQuickSendSlots(ProfileFile* file, const QuickSlots& slots);
