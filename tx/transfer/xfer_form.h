// The "File transfer" window: sends or receives one file (YMODEM: a batch)
// with XMODEM, XMODEM-CRC, XMODEM-1K or YMODEM while connected, with a
// progress bar, a status line and Cancel. While it runs the transfer owns the
// received stream.
#pragma once

#include <memory>
#include <string>

#include "link/serial_link.h"
#include "settings/profile_file.h"
#include "tx/paint_bar.h"
#include "tx/transfer/xfer_engine.h"
#include "tx/transfer/xfer_files.h"
#include "tx/transfer/xfer_run.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/file_dialog.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/paint_box.h"
#include "ui/timer.h"

class TXferForm : public ui::Form {
 public:
    explicit TXferForm(SerialLink& link);
    ~TXferForm() override;

    ui::Label LblProto{this, "LblProto", "Protocol:"};
    ui::ComboBox CBproto{this, "CBproto"};
    ui::Button BtnSend{this, "BtnSend", "Send..."};
    ui::Button BtnReceive{this, "BtnReceive", "Receive..."};
    ui::Label LblFile{this, "LblFile", "File:"};
    ui::StaticText STfile{this, "STfile", " "};
    ui::PaintBox PBprogress{this, "PBprogress"};
    ui::Label LblStatus{this, "LblStatus", "Status:"};
    ui::StaticText STstatus{this, "STstatus", " "};
    ui::Button BtnCancel{this, "BtnCancel", "Cancel"};
    ui::Timer Timer1{"Timer1", 50, false};
    ui::OpenDialog ODsend{"ODsend"};
    ui::SaveDialog SDreceive{"SDreceive"};
    // YMODEM receives into a folder: chosen as the folder of a file picked in it.
    ui::SaveDialog SDfolder{"SDfolder"};

    void FormShow();
    void FormClose(ui::CloseAction& action);
    void BtnSendClick();
    void BtnReceiveClick();
    void BtnCancelClick();
    void Timer1Timer();

    // What the buttons start once a dialog has given the file: false (after
    // saying why) when the file cannot be sent.
    bool send_file(const std::string& path);
    // XMODEM: into the file `target`; YMODEM: into the folder `target`.
    void receive_into(const std::string& target);

    XferProtocol protocol() const;
    void set_protocol(XferProtocol p);
    bool running() const { return run_ && !ended_; }
    // The folder received YMODEM files go to.
    std::string receive_folder;
    // How the last transfer ended (the status line's text), for tests.
    const std::string& last_result() const { return last_result_; }

    PaintBar bar;

 private:
    void build_layout();
    void begin(std::unique_ptr<XferEngine> engine, const std::string& shown_name);
    void finish();
    void show_status(const XferStatus& s);
    void sync_buttons();
    std::int64_t now_ms() { return link_.clock_us() / 1000; }

    SerialLink& link_;
    std::unique_ptr<XferRun> run_;
    std::unique_ptr<XferFileSource> source_;
    std::unique_ptr<XferFileSink> sink_;
    std::int64_t started_ms_ = 0;
    bool ended_ = true;
    bool asking_ = false;             // a question's message box is open
    bool cancelled_by_user_ = false;  // the end needs no message box
    std::string last_result_;
};

// The FILETRANSFER group: the protocol and the send and receive folders.
// Load and save return 1 without a settings file, else 0; a refused write throws.
int LoadFileTransferSettings(const ProfileFile* file, TXferForm& form);
int SaveFileTransferSettings(ProfileFile* file, const TXferForm& form);
