// The send-file window over the simulated line: whole transfers, the bars and
// texts, Hold, Cancel, the time-out, the starts that fail, and the ends that
// must lose nothing or stop safely.
#include "tests/tx/tx_fixture.h"

#include <cerrno>
#include <functional>

#include "platform/files.h"

namespace {

using Clock = std::chrono::steady_clock;
using Outcome = TTXFForm::Outcome;
using TxState = TTXFForm::TxState;

}  // namespace

class SendFileTest : public TxTest {
 protected:
    // Opens the window with Ctrl+O on `path` and lets it run: each step is one
    // timer tick of virtual time plus `real_ms` of real time for the transmit
    // thread, then `each` (with the tick's number) while the window is open.
    void send(const std::string& path, const std::function<void(TTXFForm&, int)>& each = {}, int real_ms = 2,
              double max_seconds = 20)
    {
        user.pick_file(path);
        user.in_modal("TXFForm", [&](ui::Form&) {
            const auto deadline = Clock::now() + std::chrono::milliseconds(static_cast<long long>(max_seconds * 1000));
            for (int i = 0; open() && Clock::now() < deadline; ++i) {
                user.wait(100);
                std::this_thread::sleep_for(std::chrono::milliseconds(real_ms));
                if (each && open()) each(*TXFForm, i);
            }
            ASSERT_FALSE(open()) << "the transfer never ended";
        });
        user.press("Ctrl+O");
    }
    const TTXFForm::Transfer& tr() { return TXFForm->transfer(); }
    // The modal window runs until it has closed itself (its modal result set).
    static bool open() { return TXFForm->visible() && TXFForm->modal_result() == ui::mr::None; }
};

TEST_F(SendFileTest, OnlyWhileConnectedAndEveryWayOpensIt)
{
    user.press("Ctrl+O");  // disconnected: nothing opens, no dialog is asked for
    m->menu.MMtxfile.click();
    EXPECT_TRUE(user.world().file_dialogs.empty());
    connect();
    for (int way = 0; way < 3; ++way) {
        user.cancel_file_dialog();
        user.in_modal("TXFForm", [&](ui::Form& f) {
            EXPECT_TRUE(f.visible());
            user.wait(100);  // a cancelled dialog closes the window on the first tick
        });
        if (way == 0) user.press("Ctrl+O");
        if (way == 1) user.click(m->tools.BtnTxfile);
        if (way == 2) user.choose(*m, {"Tx", "Send file"});
    }
    ASSERT_EQ(user.world().file_dialogs.size(), 3u);
    EXPECT_EQ(user.world().file_dialogs[0].dialog, "OD1");
    EXPECT_EQ(user.world().file_dialogs[0].filter, "All files (*.*)|*.*");
    EXPECT_EQ(TXFForm->transfer().outcome, Outcome::NotStarted);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SendFileTest, OneByteFileFinishesAndClosesTheTickAfter)
{
    connect_at(0);
    const std::string path = file_with({0x5A}, "one.bin");
    std::vector<std::string> captions;
    send(path, [&](TTXFForm& f, int) { captions.push_back(f.caption()); });
    EXPECT_EQ(peer_got(1, 2), Bytes{0x5A});
    ASSERT_FALSE(captions.empty());
    EXPECT_EQ(captions.back(), "Tx (100% done)");
    EXPECT_EQ(tr().outcome, Outcome::Complete);
    EXPECT_EQ(TXFForm->STname.caption(), " one.bin");
    EXPECT_EQ(TXFForm->LblTxPrg.caption(), "Tx progress (1 B / 1 B):");
    EXPECT_EQ(TXFForm->OD1.initial_dir, dir_.string() + "/");
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SendFileTest, FileAsLargeAsTheFreeSpaceStaysReadingThenDrains)
{
    connect_at(9600, 65536);
    const Bytes content = random_bytes(65535);
    std::vector<std::pair<TxState, std::int32_t>> seen;
    send(file_with(content), [&](TTXFForm&, int tick) {
        seen.emplace_back(tr().state, tr().bytes_read);
        if (tick == 1) sim.set_paced(false);  // the rest at once
    });
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(TxState::Reading, 65535)) << "all read in the first tick, still Reading";
    // It drains once the transmit thread has taken a block, which in real time
    // may be a few ticks later (or finishes in that tick); it never reads again.
    for (const auto& [state, read] : seen) EXPECT_EQ(read, 65535);
    EXPECT_NE(seen.back().first, TxState::Reading);
    EXPECT_EQ(peer_got(content.size(), 5), content);
    EXPECT_EQ(tr().outcome, Outcome::Complete);
}

TEST_F(SendFileTest, StartsThatFailSayWhyAndLeaveNoOldCaption)
{
    connect_at(0);
    send(file_with({0x5A}, "one.bin"));
    ASSERT_EQ(TXFForm->caption(), "Tx (100% done)");
    std::filesystem::create_directories(dir_ / "folder.bin");
    std::filesystem::resize_file(file_with({1}, "big.bin"), txf_max_file_size + 1);
    const struct {
        std::string name;
        std::string why;
    } cases[] = {
        {"empty.bin", "The file is empty."},
        {"missing.bin", file_error_text(ENOENT)},
        {"folder.bin", file_error_text(EISDIR)},
        {"big.bin", "The file is larger than 1 GB (1073741824 bytes)."},
    };
    file_with({}, "empty.bin");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = (dir_ / c.name).string();
        const std::size_t boxes_before = boxes().size();
        user.pick_file(path);
        user.answer_message_box(ui::mr::Ok);
        user.in_modal("TXFForm", [&](ui::Form& f) {
            EXPECT_EQ(f.caption(), "Tx (0% done)");
            EXPECT_NE(TXFForm->STname.caption(), " one.bin");
            user.wait(100);
        });
        user.press("Ctrl+O");
        EXPECT_EQ(tr().outcome, Outcome::NotStarted);
        ASSERT_EQ(boxes().size(), boxes_before + 1);
        EXPECT_EQ(boxes().back().text, "Cannot send file \"" + path + "\".\n" + c.why);
        EXPECT_EQ(boxes().back().caption, "Error ...");
    }
    EXPECT_EQ(peer_got(2, 0.2), Bytes{0x5A});
    EXPECT_EQ(link().tx_fill(), 0);
}

TEST_F(SendFileTest, ExactlyTheLargestFileStarts)
{
    connect_at(0, 65536);
    const std::string path = file_with({1}, "max.bin");
    std::filesystem::resize_file(path, txf_max_file_size);
    user.pick_file(path);
    user.in_modal("TXFForm", [&](ui::Form&) {
        user.wait(100);
        EXPECT_EQ(tr().state, TxState::Reading);
        EXPECT_EQ(tr().buffer_size, 65536) << "the buffer is the FIFO's size, not the file's";
        EXPECT_EQ(tr().bytes_read, 65535);
        user.click(TXFForm->BtnCancel);
    });
    user.press("Ctrl+O");
    EXPECT_EQ(tr().outcome, Outcome::Cancelled);
}

TEST_F(SendFileTest, HoldFillsTheFifoAndContinueFinishesWithoutTimeOut)
{
    connect_at(9600, 65536);
    const Bytes content = random_bytes(100000);
    bool checked = false;
    send(
        file_with(content),
        [&](TTXFForm& f, int tick) {
            if (tick == 0) {
                user.click(f.BtnHold);
                EXPECT_EQ(f.BtnHold.caption(), "Continue");
            }
            if (tick == 30) {
                // Three seconds held: the FIFO is full, nothing timed out.
                EXPECT_EQ(f.fifo_bar.value, 9999);
                EXPECT_EQ(f.fifo_bar.last_drawn, 9999);
                EXPECT_EQ(f.LblFifo.caption(), "Tx FIFO (64.00 kB):");
                EXPECT_EQ(link().tx_timeout_flag(), 0);
                sim.set_paced(false);  // the rest at once, so the test stays short
                user.click(f.BtnHold);
                EXPECT_EQ(f.BtnHold.caption(), "Hold");
                checked = true;
            }
        },
        100);
    EXPECT_TRUE(checked);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(tr().outcome, Outcome::Complete);
    EXPECT_EQ(peer_got(content.size(), 5), content);
}

TEST_F(SendFileTest, FlowControlHoldingTheLineTimesOutAfterTwoSeconds)
{
    port_settings().port_tx_handshake = 1;
    sim.set_modem(1, false, true, false, false);  // CTS off
    connect_at(9600);
    user.answer_message_box(ui::mr::Ok);
    const auto start = Clock::now();
    double at = 0;
    send(
        file_with(random_bytes(50000)),
        [&](TTXFForm&, int) {
            if (!boxes().empty() && at == 0) at = std::chrono::duration<double>(Clock::now() - start).count();
        },
        50);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text,
              "Transmission timeout occured during file transfer!\nTx FIFO cleared, canceling file transfer.");
    EXPECT_EQ(boxes()[0].caption, "Error ...");
    EXPECT_EQ(boxes()[0].icon, ui::MsgIcon::Error);
    EXPECT_GT(at, 2.0);
    EXPECT_LT(at, 4.0);
    EXPECT_EQ(tr().outcome, Outcome::TimedOut);
    EXPECT_EQ(link().tx_fill(), 0);
}

TEST_F(SendFileTest, CancelDropsWhatIsQueued)
{
    connect_at(9600, 65536);
    const Bytes content = random_bytes(200000);
    send(file_with(content), [&](TTXFForm& f, int tick) {
        if (tick == 3) user.click(f.BtnCancel);
    });
    EXPECT_EQ(tr().outcome, Outcome::Cancelled);
    EXPECT_EQ(link().tx_fill(), 0);
    const Bytes got = peer_got(content.size(), 2.5);
    EXPECT_LT(got.size(), 5000u) << "only what the driver already held";
    EXPECT_TRUE(std::equal(got.begin(), got.end(), content.begin()));
}

TEST_F(SendFileTest, ProgressTextsCaptionAndBarFollowTheBytesSent)
{
    connect_at(38400, 65536);
    const Bytes content = random_bytes(20000);
    int checks = 0;
    send(
        file_with(content),
        [&](TTXFForm& f, int) {
            const auto& t = tr();
            EXPECT_LE(t.bytes_sent, t.bytes_read);
            EXPECT_EQ(f.tx_bar.value, static_cast<int>(t.bytes_sent * 10000.0 / 20000));
            EXPECT_EQ(f.caption(), "Tx (" + std::to_string(t.bytes_sent * 100 / 20000) + "% done)");
            EXPECT_EQ(f.LblTxPrg.caption(), "Tx progress (" + size_text(t.bytes_sent) + " / 19.53 kB):");
            ++checks;
        },
        20);
    EXPECT_GT(checks, 3);
    EXPECT_EQ(peer_got(content.size(), 5), content);
}

// Mends: a complete transfer loses nothing, and bytes queued before the start
// are not counted as the file's. A file too big for the traffic record's bound
// is one entry there, and the bytes before it are kept.
TEST_F(SendFileTest, CompleteTransferHandsEveryByteToTheDriverBeforeClosing)
{
    connect_at(38400);
    link().traffic().set_tx_bound(8192);
    const Bytes before(6000, 'q');
    ASSERT_EQ(link().tx_put(before.data(), static_cast<std::int32_t>(before.size())), 0);
    const Bytes content = random_bytes(9000);
    const std::string path = file_with(content);
    std::int32_t sent_at_first_tick = -1, fill_when_complete = -1;
    send(
        path,
        [&](TTXFForm&, int tick) {
            if (tick == 0) sent_at_first_tick = tr().bytes_sent;
            // The file's bytes queue behind the earlier ones: whatever is still in
            // the FIFO is the file's last bytes first.
            EXPECT_LE(tr().bytes_sent, std::max(0, tr().bytes_read - link().tx_fill())) << "tick " << tick;
            if (tr().outcome == Outcome::Complete && fill_when_complete < 0) fill_when_complete = link().tx_fill();
        },
        20);
    EXPECT_EQ(sent_at_first_tick, 0) << "the queued bytes leaving first are not the file's";
    EXPECT_EQ(fill_when_complete, 0) << "complete only once the file's last byte has left the FIFO";
    EXPECT_EQ(tr().outcome, Outcome::Complete);
    EXPECT_EQ(link().tx_fill(), 0);
    EXPECT_EQ(link().tx_block_pending(), 0);
    Bytes all = before;
    all.insert(all.end(), content.begin(), content.end());
    EXPECT_EQ(peer_got(all.size(), 5), all);
    link().rx_store_append();
    const TrafficRecord& record = link().traffic();
    EXPECT_EQ(record.tx_end(), 6000);
    EXPECT_EQ(record.tx_dropped(), 0);
    const TxFile* file = nullptr;
    for (std::size_t i = record.tx_first_write(); i < record.tx_write_count() && !file; ++i)
        file = record.tx_file_at(i);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->sent, 9000);
    EXPECT_EQ(path.substr(path.size() - file->name.size()), file->name);
}

// Mend: the link going away stops the transfer with a message.
TEST_F(SendFileTest, DisconnectDuringTransferStopsWithAMessage)
{
    connect_at(9600, 65536);
    user.answer_message_box(ui::mr::Ok);
    send(file_with(random_bytes(200000)), [&](TTXFForm&, int tick) {
        if (tick == 2) m->menu.MMdiscon.click();  // as the main window does on a store failure or a lost port
    });
    EXPECT_FALSE(link().connected());
    EXPECT_EQ(tr().outcome, Outcome::LinkLost);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Port connection lost during file transfer!\nCanceling file transfer.");
    EXPECT_EQ(boxes()[0].caption, "Error ...");
    // A later connection starts clean.
    connect();
    EXPECT_EQ(link().tx_fill(), 0);
}

// Mend: a file that shrinks while it is sent ends the transfer.
TEST_F(SendFileTest, FileShortenedWhileSentEndsWithAMessage)
{
    connect_at(9600, 65536);
    user.answer_message_box(ui::mr::Ok);
    const std::string path = file_with(random_bytes(200000));
    send(path, [&](TTXFForm&, int tick) {
        if (tick == 0) std::filesystem::resize_file(path, 70000);
    });
    EXPECT_EQ(tr().outcome, Outcome::FileShort);
    EXPECT_EQ(tr().bytes_read, 70000);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "File could not be read to its end!\nCanceling file transfer.");
    EXPECT_EQ(link().tx_fill(), 0);
}
