// The send-file window TTXFForm: streams one file into the transmit FIFO on a
// 100 ms timer, with a progress bar, a FIFO bar, Hold/Continue and Cancel.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "link/serial_link.h"
#include "platform/files.h"
#include "settings/profile_file.h"
#include "tx/paint_bar.h"
#include "ui/button.h"
#include "ui/file_dialog.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/paint_box.h"
#include "ui/timer.h"

// The largest file a transfer starts with (2^30 bytes).
inline constexpr std::int64_t txf_max_file_size = 1073741824;

class TTXFForm : public ui::Form {
 public:
    // Sends through the link's transmit FIFO.
    explicit TTXFForm(SerialLink& link);
    ~TTXFForm() override;

    ui::Label Label1{this, "Label1", "File name:"};
    ui::StaticText STname{this, "STname", " "};
    ui::Label LblTxPrg{this, "LblTxPrg", "Tx progress:"};
    ui::PaintBox PBtxpb{this, "PBtxpb"};
    ui::Label LblFifo{this, "LblFifo", "Tx FIFO:"};
    ui::PaintBox PBfifopb{this, "PBfifopb"};
    ui::Button BtnHold{this, "BtnHold", "Hold"};
    ui::Button BtnCancel{this, "BtnCancel", "Cancel"};
    ui::Timer Timer1{"Timer1", 100, false};
    ui::OpenDialog OD1{"OD1"};

    void FormShow();
    void FormClose(ui::CloseAction& action);
    void Timer1Timer();
    void BtnHoldClick();
    void BtnCancelClick();

    enum class TxState { Idle, Reading, Draining };
    // How the last transfer ended, for the close and for tests.
    enum class Outcome { None, Complete, Cancelled, NotStarted, TimedOut, LinkLost, FileShort };

    // The transfer record; the open file and the buffer are kept beside it.
    struct Transfer {
        std::int32_t buffer_size = 0;
        std::int32_t file_size = 0;
        std::int32_t bytes_read = 0;
        std::int32_t bytes_sent = 0;  // the file's bytes that have left the FIFO
        std::int32_t last_fill = 0;
        // Bytes that were already queued when the transfer began: they leave the
        // FIFO first and are not the file's.
        std::int64_t queued_before = 0;
        std::int64_t left_fifo = 0;  // every byte that left the FIFO since the start
        TxState state = TxState::Idle;
        bool close_request = false;
        bool hold = false;
        Outcome outcome = Outcome::None;
    };
    const Transfer& transfer() const { return tr_; }

    PaintBar tx_bar;
    PaintBar fifo_bar;

 private:
    void build_layout();
    // False when no transfer starts; `why` then says so, unless the user cancelled.
    bool start_transfer(std::string& why);
    void stop(Outcome why);
    void read_file();
    void count_progress(std::int32_t fill_before_read);
    bool connected() const { return link_.connected(); }

    SerialLink& link_;
    Transfer tr_;
    FileReader file_;
    std::unique_ptr<unsigned char[]> buffer_;
};

// The PATH/path_send_file group: the open dialog's starting folder. Load and
// save return 1 without a settings file, else 0; a refused write throws.
int LoadSendFileFolder(const ProfileFile* file, TTXFForm& form);
int SaveSendFileFolder(ProfileFile* file, const TTXFForm& form);
