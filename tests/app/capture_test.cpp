// Capture to file, time stamps and the output lines from the main window, on
// the headless backend with a simulated COM1 and real files.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

#include "link/rx_text.h"
#include "main_window_fixture.h"
#include "platform/files.h"
#include "ui/headless/world.h"

namespace {

std::string file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string random_bytes(std::size_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (char& c : s) c = char(gen() & 0xFF);
    return s;
}

class CaptureTest : public MainWindowTest {
 protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        dir = std::filesystem::temp_directory_path() /
              ("olvex_capture_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        path = (dir / "capture.bin").string();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    void start_capture(const std::string& to)
    {
        user.pick_file(to);
        ASSERT_TRUE(user.choose(m->menu.MMcapture));
    }

    // Ticks until the capture has written `n` bytes in all (real time bounds it,
    // since the receive thread runs for real).
    void tick_until_captured(std::int64_t n)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (m->receive.drain.capture.written() < n && m->menu.MMcapture.checked() &&
               std::chrono::steady_clock::now() < deadline) {
            tick();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    std::filesystem::path dir;
    std::string path;
};

}  // namespace

TEST_F(CaptureTest, FileHoldsEveryPeerByteAcrossAStoreThatStopsGrowing)
{
    // RTS flow control holds the peer while the driver's queue is full, so the
    // simulated line loses nothing on its way to the receive FIFO.
    port_settings().port_rx_handshake = 1;
    port_settings().port_rx_data_block_size = 1024;
    user.click(m->tools.BtnClr);
    connect();
    start_capture(path);
    EXPECT_EQ(m->SB.panel(1).text, " Rx: 0B | capture: 0B");

    const std::string data = random_bytes(600000, 12);
    sim.peer_write(1, data.data(), 10000);
    tick_until_captured(10000);
    ASSERT_EQ(store_length(), 10000);

    static constexpr std::size_t limit = 64 * 1024;
    resources.growth_check = [](std::size_t capacity) { return capacity <= limit; };
    user.answer_message_box(ui::mr::Ok);  // told once that the store is full
    for (std::size_t at = 10000; at < data.size(); at += 50000) {
        sim.peer_write(1, data.data() + at, std::min<std::size_t>(50000, data.size() - at));
        tick();
    }
    tick_until_captured(std::int64_t(data.size()));

    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].caption, "Warning");
    EXPECT_NE(boxes()[0].text.find(path), std::string::npos);
    EXPECT_TRUE(link().connected());
    // The store kept its first bytes, in order, and stopped there.
    const RxStore* s = nullptr;
    ASSERT_EQ(link().rx_store_info(&s), 0);
    ASSERT_GT(s->length, 0);
    EXPECT_LE(std::size_t(s->length), limit);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(s->data), std::size_t(s->length)),
              data.substr(0, std::size_t(s->length)));
    EXPECT_EQ(m->SB.panel(1).text.substr(m->SB.panel(1).text.find(" | ")), " | capture: 600000B");

    user.choose(m->menu.MMcapture);  // off: closed, status without it
    EXPECT_FALSE(m->menu.MMcapture.checked());
    EXPECT_EQ(m->SB.panel(1).text.find("capture"), std::string::npos);
    EXPECT_EQ(file_bytes(path), data);

    // "Clear rx data" gives the store room again; a capture is not needed for it.
    user.click(m->tools.BtnClr);
    arrive("after");
    tick();
    EXPECT_EQ(store_length(), 5);
}

TEST_F(CaptureTest, WithoutCaptureAFullStoreStillDisconnectsAndClears)
{
    connect();
    start_capture(path);
    port_settings().port_rx_data_block_size = 1024;
    user.click(m->tools.BtnClr);
    resources.growth_check = [](std::size_t) { return false; };
    user.answer_message_box(ui::mr::Ok);
    arrive("while capturing");
    tick();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_TRUE(link().connected());
    user.choose(m->menu.MMcapture);

    // Capture off with the store full: the store's own failure, as always.
    user.answer_message_box(ui::mr::Ok);
    arrive("more");
    tick();
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].caption, "Error");
    EXPECT_FALSE(link().connected());
    EXPECT_EQ(file_bytes(path), "while capturing");
}

TEST_F(CaptureTest, FailedWriteStopsTheCaptureWithTheFileAndReasonAndKeepsTheData)
{
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    connect();
    start_capture("/dev/full");
    ASSERT_TRUE(m->menu.MMcapture.checked());
    user.answer_message_box(ui::mr::Ok);
    arrive("kept in memory");
    tick();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].caption, "Error");
    EXPECT_NE(boxes()[0].text.find("/dev/full"), std::string::npos);
    EXPECT_NE(boxes()[0].text.find(file_error_text(ENOSPC)), std::string::npos);
    EXPECT_FALSE(m->menu.MMcapture.checked());
    EXPECT_TRUE(link().connected());
    EXPECT_EQ(store_length(), 14);
    EXPECT_EQ(m->SB.panel(1).text.find("capture"), std::string::npos);

    // Nothing more is reported on the ticks after it.
    arrive("x");
    tick();
    EXPECT_EQ(boxes().size(), 1u);
}

TEST_F(CaptureTest, ChoosingTheFileStartingAndDisconnecting)
{
    // Cancelled dialog: the item unchecks itself and nothing is written.
    user.cancel_file_dialog();
    user.choose(m->menu.MMcapture);
    EXPECT_FALSE(m->menu.MMcapture.checked());

    // A file that cannot be made: message with its name, item unchecked.
    const std::string bad = (dir / "no" / "such" / "folder.bin").string();
    user.answer_message_box(ui::mr::Ok);
    start_capture(bad);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_NE(boxes()[0].text.find(bad), std::string::npos);
    EXPECT_FALSE(m->menu.MMcapture.checked());

    // Started while disconnected: the file is there (emptied) at once.
    {
        std::ofstream(path, std::ios::binary) << "old content";
    }
    start_capture(path);
    EXPECT_TRUE(m->menu.MMcapture.checked());
    EXPECT_EQ(file_bytes(path), "");
    EXPECT_EQ(m->capture.SDcap.initial_dir, dir.string());
    connect();
    arrive("one ");
    tick();
    // Disconect flushes and closes; the next connection appends to the same file.
    user.click(m->tools.BtnCon);
    EXPECT_EQ(file_bytes(path), "one ");
    EXPECT_TRUE(m->menu.MMcapture.checked());
    connect();
    arrive("two");
    tick();
    EXPECT_EQ(m->SB.panel(1).text.substr(m->SB.panel(1).text.find(" | ")), " | capture: 7B");
    // Closing the program ends it cleanly too.
    m->close();
    EXPECT_EQ(file_bytes(path), "one two");
}

TEST_F(CaptureTest, ALostPortClosesTheFileAndItsReconnectionAppends)
{
    const auto received = [&](std::size_t n) {
        for (int i = 0; i < 3000 && m->receive.drain.capture.written() < std::int64_t(n); ++i) {
            tick();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    };
    user.choose(m->menu.MMreconnect);
    connect();
    start_capture(path);
    sim.peer_write(1, "before ", 7);
    received(7);
    sim.vanish(1);
    user.answer_message_box(ui::mr::Ok);  // "COM1 lost"
    for (int i = 0; i < 3000 && link().connected(); ++i) {
        tick();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_FALSE(link().connected());
    EXPECT_EQ(file_bytes(path), "before ");  // flushed and closed with the port
    EXPECT_TRUE(m->menu.MMcapture.checked());

    sim.reappear(1);
    user.wait(1000);
    ASSERT_TRUE(link().connected());
    sim.peer_write(1, "after", 5);
    received(12);
    user.choose(m->menu.MMcapture);
    EXPECT_EQ(file_bytes(path), "before after");
}

TEST_F(CaptureTest, PortItemsSitBetweenSettingsAndTheReconnectOption)
{
    const auto& items = m->menu.MPort.items();
    std::vector<std::string> names;
    for (const ui::MenuItem* i : items) names.push_back(i->is_separator() ? "-" : i->caption());
    EXPECT_EQ(names, (std::vector<std::string>{"Connect", "Disconect", "-", "Settings", "-", "DTR", "RTS", "Send break",
                                               "-", "Reconnect automatically"}));
    EXPECT_EQ(m->menu.MRx.items().back(), &m->menu.MMcapture);
    EXPECT_EQ(m->menu.MMcapture.caption(), "Capture to file\x85");
}

TEST_F(CaptureTest, TimestampsFollowTheDrainOfEachLinesFirstByte)
{
    user.world().time_of_day_at_zero = ((13 * 60 + 5) * 60 + 9) * 1000LL + 20;  // 13:05:09.020
    ASSERT_TRUE(user.choose(m->menu.MMtstamp));
    connect();
    // Moves the clock a millisecond at a time until the drain has taken the
    // bytes, and gives the stamp of that moment.
    const auto drained_at = [&](const std::string& bytes) {
        const std::int32_t before = store_length();
        arrive(bytes);
        for (int i = 0; i < 2000 && store_length() == before; ++i) user.wait(1);
        char t[rx_text_stamp_length + 1] = {};
        rx_text_format_time(ui::local_time_of_day_ms(), t);
        return std::string(t);
    };
    const std::string t1 = drained_at("ab");
    user.wait(333);  // the clock moves on between drains
    const std::string t2 = drained_at("c\rd");
    user.wait(1000);
    const std::string t3 = drained_at("\r");
    user.wait(1000);
    const std::string t4 = drained_at("e");
    EXPECT_NE(t1, t2);
    // The empty line opened by the last CR takes the time of its own first byte.
    EXPECT_EQ(lines(), (std::vector<std::string>{t1 + "abc", t2 + "d", t4 + "e"}));
    EXPECT_NE(t3, t4);

    // "Refresh text" rebuilds the same lines from the drain times; the hex view
    // and the store never see the stamps.
    user.choose(m->menu.MMtxtRf);
    EXPECT_EQ(lines(), (std::vector<std::string>{t1 + "abc", t2 + "d", t4 + "e"}));
    EXPECT_EQ(store_length(), 7);

    // Off: the next lines come without them.
    user.choose(m->menu.MMtstamp);
    arrive("\rf");
    tick();
    EXPECT_EQ(lines().back(), "f");
}

TEST_F(CaptureTest, SaveTextKeepsTheStampsAndTheStoreHasNone)
{
    user.world().time_of_day_at_zero = 8 * 3600000LL;  // 08:00:00.000
    ASSERT_TRUE(user.choose(m->menu.MMtstamp));
    connect();
    arrive("abc\rde");
    for (int i = 0; i < 2000 && store_length() == 0; ++i) user.wait(1);
    char t[rx_text_stamp_length + 1] = {};
    rx_text_format_time(ui::local_time_of_day_ms(), t);
    ASSERT_EQ(lines(), (std::vector<std::string>{std::string(t) + "abc", std::string(t) + "de"}));

    user.pick_file(path);
    user.press("Alt+S");
    EXPECT_EQ(file_bytes(path), std::string(t) + "abc\r\n" + t + "de");
    // The bytes themselves, for the hex view and the binary saves, are as received.
    const RxStore* s = nullptr;
    ASSERT_EQ(link().rx_store_info(&s), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(s->data), std::size_t(s->length)), "abc\rde");
}

TEST_F(CaptureTest, DtrAndRtsFollowTheItemsUnlessFlowControlDrivesThem)
{
    EXPECT_FALSE(m->menu.MMdtr.enabled());
    EXPECT_FALSE(m->menu.MMrts.enabled());
    EXPECT_FALSE(m->menu.MMbreak.enabled());
    const struct {
        int rx_handshake;
        bool dtr_free, rts_free;
    } cases[] = {{0, true, true}, {1, true, false}, {2, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rx_handshake);
        port_settings().port_rx_handshake = c.rx_handshake;
        connect();
        EXPECT_TRUE(m->menu.MMdtr.checked());
        EXPECT_TRUE(m->menu.MMrts.checked());
        EXPECT_EQ(m->menu.MMdtr.enabled(), c.dtr_free);
        EXPECT_EQ(m->menu.MMrts.enabled(), c.rts_free);
        EXPECT_TRUE(m->menu.MMbreak.enabled());
        const std::pair<ui::MenuItem*, bool (SimPortDriver::*)(int)> items[] = {{&m->menu.MMdtr, &SimPortDriver::dtr},
                                                                                {&m->menu.MMrts, &SimPortDriver::rts}};
        for (auto [item, line] : items) {
            SCOPED_TRACE(item->caption());
            const bool free = item->enabled();
            EXPECT_EQ(user.choose(*item), free);
            EXPECT_EQ((sim.*line)(1), !free);  // cleared where it is the program's
            EXPECT_EQ(item->checked(), !free);
            user.choose(*item);
            EXPECT_TRUE((sim.*line)(1));
        }
        // Refused under flow control even when asked directly.
        EXPECT_EQ(link().com_set_rts(false), c.rts_free ? 0 : 2);
        EXPECT_EQ(link().com_set_dtr(false), c.dtr_free ? 0 : 2);
        if (c.rts_free) link().com_set_rts(true);
        if (c.dtr_free) link().com_set_dtr(true);
        EXPECT_TRUE(sim.dtr(1) && sim.rts(1));

        // A connection starts with both lines on again.
        if (c.rts_free) user.choose(m->menu.MMrts);
        user.click(m->tools.BtnCon);
        EXPECT_FALSE(m->menu.MMdtr.enabled() || m->menu.MMrts.enabled() || m->menu.MMbreak.enabled());
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(CaptureTest, TheInfoPageShowsTheLinesAsTheItemsSetThem)
{
    port_settings().settings_loaded = 1;    // as a settings file would
    port_settings().port_rx_handshake = 1;  // RTS follows the flow control
    connect();
    user.select_tab(m->PCd, 2);
    user.wait(500);
    EXPECT_EQ(m->info_page.STcsDTR.caption(), " on");
    user.choose(m->menu.MMdtr);
    user.wait(500);
    EXPECT_EQ(m->info_page.STcsDTR.caption(), " off");
    EXPECT_EQ(m->info_page.STcsRTS.caption(), " on");  // the driver's, by the queue level
    user.choose(m->menu.MMdtr);
    user.wait(500);
    EXPECT_EQ(m->info_page.STcsDTR.caption(), " on");
}

TEST_F(CaptureTest, BreakHoldsFor250MsWithoutBlocking)
{
    connect();
    ASSERT_TRUE(user.choose(m->menu.MMbreak));
    EXPECT_TRUE(sim.in_break(1));
    EXPECT_FALSE(m->menu.MMbreak.enabled());  // one break at a time
    arrive("during");                         // the window goes on draining meanwhile
    user.wait(249);
    EXPECT_TRUE(sim.in_break(1));
    EXPECT_EQ(store_length(), 6);
    user.wait(1);
    EXPECT_FALSE(sim.in_break(1));
    EXPECT_EQ(sim.break_log(1), (std::vector<bool>{true, false}));
    EXPECT_TRUE(m->menu.MMbreak.enabled());

    // Disconnecting in the middle ends it with the port; nothing fires later.
    user.choose(m->menu.MMbreak);
    user.click(m->tools.BtnCon);
    user.wait(500);
    EXPECT_EQ(sim.break_log(1), (std::vector<bool>{true, false, true}));
    EXPECT_FALSE(sim.in_break(1));
    EXPECT_FALSE(m->menu.MMbreak.enabled());
}

TEST_F(CaptureTest, ADriverWithoutModemLinesIsToldOncePerConnection)
{
    sim.fail(SimPortDriver::Call::escape, SimPortDriver::always);
    sim.fail(SimPortDriver::Call::set_break, SimPortDriver::always);
    connect();
    user.answer_message_box(ui::mr::Ok);
    user.choose(m->menu.MMdtr);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "The driver of COM1 refused to set DTR.\nThis port may have no modem control lines.");
    EXPECT_TRUE(m->menu.MMdtr.checked());  // the mark says what the line is
    user.choose(m->menu.MMrts);
    user.choose(m->menu.MMbreak);
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_TRUE(m->menu.MMbreak.enabled());

    user.click(m->tools.BtnCon);
    connect();
    user.answer_message_box(ui::mr::Ok);
    user.choose(m->menu.MMbreak);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].text,
              "The driver of COM1 refused to send a break.\nThis port may have no modem control lines.");
    sim.heal();
}
