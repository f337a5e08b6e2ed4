// The "COM port settings" dialog TCSForm: lists the present COM ports with
// their devices' names and edits the port's line settings on a copy of the
// port settings record, which OK copies back whole.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "link/port_catalogue.h"
#include "link/port_settings.h"
#include "link/serial_link.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/page_control.h"

// The thirteen standard rates, items 0..12 of CBbaud; 13 is "Custom 1", 14 "Custom 2".
inline constexpr std::int32_t cs_standard_bauds[13] = {110,   300,   600,   1200,  2400,  4800,  9600,
                                                       14400, 19200, 38400, 56000, 57600, 115200};
inline constexpr int cs_custom1_item = 13;
inline constexpr int cs_custom2_item = 14;
// Highest port number the Refresh finds by trial opens alone.
inline constexpr int cs_probe_last_port = port_trial_last;

class TCSForm : public ui::Form {
 public:
    // Finds the ports by trial opens through the link's driver; edits `record`.
    TCSForm(SerialLink& link, PortSettings& record);
    // Lists what `catalogue` finds (it outlives the dialog).
    TCSForm(SerialLink& link, PortSettings& record, PortCatalogue& catalogue);

    ui::PageControl PageControl1{this, "PageControl1"};
    ui::TabSheet TabSheet1{PageControl1, "TabSheet1", "Basic COM settings"};
    ui::Label Label1{&TabSheet1, "Label1", "COM port:"};
    ui::ComboBox CBcomn{&TabSheet1, "CBcomn"};
    // The chosen port's device: its name and USB IDs.
    ui::Label LBcomdev{&TabSheet1, "LBcomdev", ""};
    ui::Label Label2{&TabSheet1, "Label2", "COM port baud rate:"};
    ui::ComboBox CBbaud{&TabSheet1, "CBbaud"};
    ui::Label Label3{&TabSheet1, "Label3", "Custom 1:"};
    ui::Edit Ecus1baud{&TabSheet1, "Ecus1baud", "1000000"};
    ui::Label Label4{&TabSheet1, "Label4", "Custom 2:"};
    ui::Edit Ecus2baud{&TabSheet1, "Ecus2baud", "1250000"};
    ui::Label Label5{&TabSheet1, "Label5", "Stop bits:"};
    ui::ComboBox CBstop{&TabSheet1, "CBstop"};
    ui::Label Label6{&TabSheet1, "Label6", "Parity:"};
    ui::ComboBox CBparity{&TabSheet1, "CBparity"};
    ui::Label Label7{&TabSheet1, "Label7", "Bits:"};
    ui::ComboBox CBbits{&TabSheet1, "CBbits"};
    ui::Label Label8{&TabSheet1, "Label8", "Tx data flow control:"};
    ui::ComboBox CBtxfc{&TabSheet1, "CBtxfc"};
    ui::Label Label9{&TabSheet1, "Label9", "Rx data flow control:"};
    ui::ComboBox CBrxfc{&TabSheet1, "CBrxfc"};
    ui::TabSheet TabSheet2{PageControl1, "TabSheet2", "Other"};
    ui::CheckBox CBautocon{&TabSheet2, "CBautocon", "Auto connect on terminal start"};
    ui::Button BtnBack{this, "BtnBack", "Refresh"};
    ui::Button BtnOk{this, "BtnOk", "OK"};
    ui::Button BtnCancel{this, "BtnCancel", "Cancel"};

    void FormShow();
    void BtnBackClick();
    void BtnOkClick();
    void BtnCancelClick();
    void CBbaudChange();
    void CBcomnChange();
    void CBcomnDrawItem(ui::Canvas& canvas, int index, const ui::Rect& r, bool selected);
    void Ecus1baudDblClick();
    void Ecus2baudDblClick();
    void Ecus1baudKeyPress(char& key);
    void Ecus2baudKeyPress(char& key);

    // The working copy and the port numbers behind CBcomn's items.
    const PortSettings& working_copy() const { return work_; }
    const std::vector<std::int32_t>& port_list() const { return ports_; }
    // What the catalogue said of each listed port, in item order.
    const std::vector<PortInfo>& port_infos() const { return infos_; }

 private:
    void init();
    void build_layout();
    void recolour_custom_fields();
    void show_port_device();

    std::unique_ptr<PortCatalogue> own_catalogue_;  // the trial opens, when none was given
    PortCatalogue& catalogue_;
    PortSettings& record_;
    PortSettings work_;
    std::vector<std::int32_t> ports_;
    std::vector<PortInfo> infos_;
};

// Parity code of a CBparity item and the item of a parity code (the combo
// lists Mark before Space); -1 when there is none.
int cs_parity_code_of_item(int item);
int cs_parity_item_of_code(int code);
