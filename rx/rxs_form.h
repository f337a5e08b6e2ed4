// The save-binary dialog TRXSForm ("Save binary data"): start and end or
// length of the range in decimal or hexadecimal, then the file. The main
// window sets the preset (and the selected block) before each showing.
#pragma once

#include <cstdint>
#include <functional>

#include "link/serial_link.h"
#include "rx/binary_range.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/file_dialog.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/shape.h"

enum class RxsPreset : std::uint8_t { All, Selected };

class TRXSForm : public ui::Form {
 public:
    // Saves from the link's store.
    explicit TRXSForm(const SerialLink& link);

    ui::Label Label1{this, "Label1", "Binary data start [byte]:"};
    ui::Label Label4{this, "Label4", "dec:"};
    ui::Edit Ebeg{this, "Ebeg", "0"};
    ui::Label Label5{this, "Label5", "hex:"};
    ui::Edit EbegHex{this, "EbegHex", "0"};
    ui::Button BtnBeg{this, "BtnBeg", "From begin"};
    ui::Label Label2{this, "Label2", "Binary data end (including) [byte]:"};
    ui::Label Label6{this, "Label6", "dec:"};
    ui::Edit Eend{this, "Eend", "0"};
    ui::Label Label7{this, "Label7", "hex:"};
    ui::Edit EendHex{this, "EendHex", "0"};
    ui::Button BtnEnd{this, "BtnEnd", "To end       "};
    ui::Label Label3{this, "Label3", "Binary data length [byte]:"};
    ui::Label Label8{this, "Label8", "dec:"};
    ui::Edit Elen{this, "Elen", "0"};
    ui::Label Label9{this, "Label9", "hex:"};
    ui::Edit ElenHex{this, "ElenHex", "0"};
    ui::Bevel Bevel1{this, "Bevel1", ui::BevelShape::TopLine};
    ui::Button BtnSave{this, "BtnSave", "Save"};
    ui::Button BtnCancel{this, "BtnCancel", "Cancel"};
    ui::SaveDialog SD1{"SD1"};

    // Set by the main window before each showing.
    RxsPreset preset = RxsPreset::All;
    std::int32_t block_start = 0;
    std::int32_t block_end = 0;
    // Told the range just written, which becomes the selected block.
    std::function<void(std::int32_t start, std::int32_t end)> on_saved;

    // Which field of each group is read; kept for the program's life.
    StartField active_start = StartField::Dec;
    EndField active_end = EndField::EndDec;

    void FormShow();
    void BtnBegClick();
    void BtnEndClick();
    void BtnSaveClick();
    void BtnCancelClick();
    void EbegKeyPress(char& key);
    void EbegHexKeyPress(char& key);

 private:
    void colour_fields();
    void set_start(StartField f);
    void set_end(EndField f);
    // An "Error ..." box; a system error code adds the system's reason below.
    void show_error(const std::string& text, int system_error = 0);
    void fill_end_fields(std::int64_t end, std::int64_t count);
    std::int32_t store_length() const;

    const SerialLink& link_;
};
