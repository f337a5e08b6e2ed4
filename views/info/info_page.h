// The Info page on TSinfo: port settings in words, frame figures, modem
// lines, driver queue levels and line error counts, refreshed by Timer2.
#pragma once

#include "link/port_settings.h"
#include "link/serial_link.h"
#include "ui/group_box.h"
#include "ui/label.h"
#include "ui/page_control.h"

class InfoPage {
 public:
    // The settings fields show `record`; the signal, buffer and error fields
    // the link's running connection.
    InfoPage(ui::TabSheet& sheet, SerialLink& link, const PortSettings& record);

    // One Timer2 tick: nothing unless the settings are loaded and the page is
    // the one shown; settings and frame fields always, the signal and buffer
    // fields only while connected and when the port status snapshot succeeds.
    void refresh();

    // Each field follows the label naming it, so it can be found by its label.
    ui::GroupBox GBset;
    ui::Label Lipn{&GBset, "Lipn", "Port:"};
    ui::StaticText STipn{&GBset, "STipn"};
    ui::Label Libdr{&GBset, "Libdr", "Baud rate:"};
    ui::StaticText STibdr{&GBset, "STibdr"};
    ui::Label Listp{&GBset, "Listp", "Stop bits:"};
    ui::StaticText STistp{&GBset, "STistp"};
    ui::Label Lipar{&GBset, "Lipar", "Parity:"};
    ui::StaticText STipar{&GBset, "STipar"};
    ui::Label Lidbit{&GBset, "Lidbit", "Data bits:"};
    ui::StaticText STidbit{&GBset, "STidbit"};
    ui::Label Lifctrl{&GBset, "Lifctrl", "Flow control:"};
    ui::StaticText STifctrl{&GBset, "STifctrl"};

    ui::GroupBox GBfmt;
    ui::Label Lfifrm{&GBfmt, "Lfifrm", "Frame length:"};
    ui::StaticText STfifrm{&GBfmt, "STfifrm"};
    ui::Label Lfibitr{&GBfmt, "Lfibitr", "Max bitrate:"};
    ui::StaticText STfibitr{&GBfmt, "STfibitr"};
    ui::Label Lfibyter{&GBfmt, "Lfibyter", "Max byterate:"};
    ui::StaticText STfibyter{&GBfmt, "STfibyter"};
    ui::Label Lfiusg{&GBfmt, "Lfiusg", "Frame usage:"};
    ui::StaticText STfiusg{&GBfmt, "STfiusg"};

    ui::GroupBox GBsig;
    ui::Label LcsCTS{&GBsig, "LcsCTS", "CTS:"};
    ui::StaticText STcsCTS{&GBsig, "STcsCTS"};
    ui::Label LcsRTS{&GBsig, "LcsRTS", "RTS:"};
    ui::StaticText STcsRTS{&GBsig, "STcsRTS"};
    ui::Label LcsDSR{&GBsig, "LcsDSR", "DSR:"};
    ui::StaticText STcsDSR{&GBsig, "STcsDSR"};
    ui::Label LcsDTR{&GBsig, "LcsDTR", "DTR:"};
    ui::StaticText STcsDTR{&GBsig, "STcsDTR"};
    ui::Label LcsRI{&GBsig, "LcsRI", "RI:"};
    ui::StaticText STcsRI{&GBsig, "STcsRI"};
    ui::Label LcsCD{&GBsig, "LcsCD", "CD:"};
    ui::StaticText STcsCD{&GBsig, "STcsCD"};

    ui::GroupBox GBbuf;
    ui::Label Lctxb{&GBbuf, "Lctxb", "TX buffer:"};
    ui::StaticText STctxb{&GBbuf, "STctxb"};
    ui::Label Lctxbs{&GBbuf, "Lctxbs", "/"};
    ui::StaticText STctxbs{&GBbuf, "STctxbs"};
    ui::Label Lcrxb{&GBbuf, "Lcrxb", "RX buffer:"};
    ui::StaticText STcrxb{&GBbuf, "STcrxb"};
    ui::Label Lcrxbs{&GBbuf, "Lcrxbs", "/"};
    ui::StaticText STcrxbs{&GBbuf, "STcrxbs"};

    // Line errors the driver reported on this connection, by kind.
    ui::GroupBox GBerr;
    ui::Label LleFrm{&GBerr, "LleFrm", "Framing:"};
    ui::StaticText STleFrm{&GBerr, "STleFrm"};
    ui::Label LleOvr{&GBerr, "LleOvr", "Overrun:"};
    ui::StaticText STleOvr{&GBerr, "STleOvr"};
    ui::Label LlePar{&GBerr, "LlePar", "Rx parity:"};
    ui::StaticText STlePar{&GBerr, "STlePar"};
    ui::Label LleBrk{&GBerr, "LleBrk", "Break:"};
    ui::StaticText STleBrk{&GBerr, "STleBrk"};
    ui::Label LleRxo{&GBerr, "LleRxo", "Rx overflow:"};
    ui::StaticText STleRxo{&GBerr, "STleRxo"};

 private:
    void layout();
    void refresh_settings();
    void refresh_port();
    void refresh_errors();

    ui::TabSheet& sheet_;
    SerialLink& link_;
    const PortSettings& record_;
};
