// The send-integer window TTXIForm: one integer of 1 to 8 bytes typed in
// decimal, hexadecimal or binary, sent in either byte order.
#pragma once

#include <cstdint>

#include "link/serial_link.h"
#include "settings/profile_file.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/group_box.h"
#include "ui/label.h"
#include "ui/radio_button.h"

class TTXIForm : public ui::Form {
 public:
    // Sends through the link's transmit FIFO.
    explicit TTXIForm(SerialLink& link);

    ui::GroupBox GroupBox1{this, "GroupBox1", " Value to send: "};
    ui::Label Label1{&GroupBox1, "Label1", "Dec:"};
    ui::Edit Eidec{&GroupBox1, "Eidec", "0"};
    ui::Label Label2{&GroupBox1, "Label2", "Hex:"};
    ui::Edit Eihex{&GroupBox1, "Eihex", "0"};
    ui::Label Label3{&GroupBox1, "Label3", "Bin:"};
    ui::Edit Eibin{&GroupBox1, "Eibin", "0"};
    ui::GroupBox GroupBox2{this, "GroupBox2", " Integer format: "};
    ui::Label Label4{&GroupBox2, "Label4", "Integer size [1-8 bytes]:"};
    ui::Edit Eibs{&GroupBox2, "Eibs", "4"};
    ui::RadioButton RBile{&GroupBox2, "RBile", "Little-endian"};
    ui::RadioButton RBibe{&GroupBox2, "RBibe", "Big-endian"};
    ui::Button BtnSendClose{this, "BtnSendClose", "Send + close"};
    ui::Button BtnSend{this, "BtnSend", "Send"};
    ui::Button BtnCancel{this, "BtnCancel", "Cancel"};

    void FormShow();
    void EidecKeyPress(char& key);
    void EihexKeyPress(char& key);
    void EibinKeyPress(char& key);
    void EibsKeyPress(char& key);
    void BtnSendClick();
    void BtnSendCloseClick();
    void BtnCancelClick();

    // 0 decimal, 1 hexadecimal, 2 binary (other values only from the settings file).
    std::int32_t active_radix() const { return radix_; }
    void set_active_radix(std::int32_t r);
    // 0 sent; 1 no room in the transmit FIFO; 2 invalid value; 3 no size given.
    int send_integer();
    // Shows a size of 1 to 8 in Eibs.
    void set_size(std::int32_t n);
    // The size to store: Eibs through the integer edit check (-1 when empty);
    // text that is no number gives the last size that was one, or 4.
    std::int32_t size_to_save();

 private:
    void build_layout();
    SerialLink& link_;
    std::int32_t radix_ = 0;
    std::int32_t last_size_ = 4;
};

// The six int_ keys of TXCFG. Load and save return 1 without a settings file,
// else 0; a refused write throws. The size is saved as size_to_save() gives it.
int LoadIntegerSendSettings(const ProfileFile* file, TTXIForm& form);
int SaveIntegerSendSettings(ProfileFile* file, TTXIForm& form);
