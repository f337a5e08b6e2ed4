// The send-string window TTXSForm: a line of text from an editable history,
// with an optional end-of-line mark and end-of-string zero byte; optionally
// with escapes and a checksum, repeated at a period, or kept in a quick-send slot.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/serial_link.h"
#include "settings/profile_file.h"
#include "tx/quick_slots.h"
#include "tx/send_bytes.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/radio_button.h"
#include "ui/timer.h"

class TSlotForm;

// How many history items the settings file keeps (str_00 .. str_19).
inline constexpr int txs_saved_history = 20;

class TTXSForm : public ui::Form {
 public:
    // Sends through the link's transmit FIFO.
    explicit TTXSForm(SerialLink& link);
    ~TTXSForm() override;

    ui::Label Label1{this, "Label1", "Enter string:"};
    ui::ComboBox CBmsg{this, "CBmsg", ui::ComboStyle::DropDown};
    ui::CheckBox CBeol{this, "CBeol", "Append EOL mark"};
    ui::CheckBox CBeos{this, "CBeos", "Append EOS ('\\0')"};
    ui::RadioButton RBdef{this, "RBdef", "Default"};
    ui::RadioButton RBusr{this, "RBusr", "User value:"};
    ui::Edit Edec{this, "Edec", "13"};
    ui::Label Label2{this, "Label2", "0x"};
    ui::Edit Ehex{this, "Ehex", "0D"};
    ui::RadioButton RBcr{this, "RBcr", "CR   (MAC)"};
    ui::RadioButton RBlf{this, "RBlf", "LF   (UNIX)"};
    ui::RadioButton RBcrlf{this, "RBcrlf", "CR+LF   (DOS/WIN)"};
    ui::RadioButton RBlfcr{this, "RBlfcr", "LF+CR   (Acorn BBC)"};
    // Protocol sending: escapes, a checksum, a repeat and the quick-send slots.
    ui::CheckBox CBesc{this, "CBesc", "Escapes"};
    ui::Label Label3{this, "Label3", "Checksum:"};
    ui::ComboBox CBchk{this, "CBchk", ui::ComboStyle::DropDownList};
    ui::Label STchk{this, "STchk"};
    ui::Label Label4{this, "Label4", "Repeat every [ms]:"};
    ui::Edit Erep{this, "Erep", "1000"};
    ui::Button BtnRepeat{this, "BtnRepeat", "Repeat"};
    ui::Label STrep{this, "STrep"};
    ui::Button BtnSlot{this, "BtnSlot", "Save to slot..."};
    ui::Button BtnSendClose{this, "BtnSendClose", "Send + close"};
    ui::Button BtnSend{this, "BtnSend", "Send"};
    ui::Button BtnCancel{this, "BtnCancel", "Cancel"};
    ui::Timer TimerRep{"TimerRep", 1000, false};

    // The quick-send slots ("Save to slot..." fills them; the main window's
    // Tx > Quick send sends them) and who is told when one changes.
    QuickSlots slots;
    std::function<void()> on_slots_changed;

    // The text view's line-break mode (0 CR .. 4 CR or LF), handed in by the
    // main window; the "Default" mark follows it.
    std::function<int()> line_break_mode;

    void FormShow();
    void CBeolClick();
    void EdecEnter();
    void EhexEnter();
    void EdecKeyPress(char& key);
    void EhexKeyPress(char& key);
    void CBmsgKeyPress(char& key);
    void BtnSendClick();
    void BtnSendCloseClick();
    void BtnCancelClick();
    void send_string();
    void CBescClick();
    void CBchkChange();
    void ErepKeyPress(char& key);
    void BtnRepeatClick();
    void BtnSlotClick();
    void TimerRepTimer();
    // Ends a running repeat (Stop, a disconnect, a lost port, closing).
    void repeat_stop();
    bool repeating() const { return TimerRep.enabled(); }
    // The checksum label for the current string and options.
    void update_checksum_label();

    // Whether Ehex (not Edec) is the active user field.
    bool hex_active() const { return hex_active_; }

 private:
    void build_layout();
    std::uint8_t user_byte();
    int mark_choice() const;
    // The buffer of one send, with the history updated as a send updates it;
    // false (after saying why) when nothing may be sent.
    bool build_send(std::vector<std::uint8_t>& buf);
    void show_repeat_status();
    SerialLink& link_;
    bool hex_active_ = false;
    std::unique_ptr<TSlotForm> slot_form_;
    RepeatSchedule schedule_;
    std::vector<std::uint8_t> repeat_buf_;
    long long sent_ = 0, skipped_ = 0;
};

// The end-of-line mark of a send: 0, 1 or 2 bytes into out, count returned.
// choice: 0 Default, 1 user value, 2 CR, 3 LF, 4 CR+LF, 5 LF+CR.
int string_eol_mark(int choice, int line_break_mode, std::uint8_t user_byte, std::uint8_t out[2]);
// A user byte from its decimal or hexadecimal text: 0 when the text is no
// number, 255 for anything above 255 (a negative decimal included). The
// hexadecimal text may hold blanks and leading zeros of any length.
std::uint8_t user_byte_of_decimal(const std::string& text);
std::uint8_t user_byte_of_hex(const std::string& text);

// The history and the str_eol... keys of TXCFG. Load and save return 1
// without a settings file, else 0; a refused write throws.
int LoadStringSendSettings(const ProfileFile* file, TTXSForm& form);
int SaveStringSendSettings(ProfileFile* file, const TTXSForm& form);
// The window's protocol options in section TXSTR: str_escapes, str_checksum
// (0..6), str_repeat_ms (1..3600000, default 1000); results as above.
int LoadStringSendOptions(const ProfileFile* file, TTXSForm& form);
int SaveStringSendOptions(ProfileFile* file, const TTXSForm& form);
