// The main window when its port goes away mid-stream: every byte that arrived
// is kept, the window disconnects cleanly and says so once, and "Reconnect
// automatically" brings the port back into the same store until the user's
// own Connect or Disconect ends the retrying.
#include <string>

#include "main_window_fixture.h"

namespace {

class PortLossWindowTest : public MainWindowTest {
 protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m->menu.MMlnLF.click();
    }
    static bool eventually(const std::function<bool()>& done, int ms = 3000)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }
    // The peer sends; the receive thread has them in the FIFO on return.
    void peer_sends(const std::string& bytes)
    {
        const std::int32_t before = link().rx_fill();
        sim.peer_write(1, bytes.data(), bytes.size());
        ASSERT_TRUE(eventually([&] { return link().rx_fill() == before + std::int32_t(bytes.size()); }));
    }
    std::string store_text()
    {
        const RxStore* s = nullptr;
        link().rx_store_info(&s);
        return std::string(reinterpret_cast<const char*>(s->data), std::size_t(s->length));
    }
    // The device goes; the next tick finds the loss (its message answered).
    void lose_port(bool expect_box = true)
    {
        sim.vanish(1);
        ASSERT_TRUE(eventually([&] { return link().rx_port_lost(); }));
        if (expect_box) user.answer_message_box(ui::mr::Ok);
        tick();
        ASSERT_FALSE(link().connected());
    }
    void expect_link_closed()
    {
        EXPECT_FALSE(link().threads().rx_thread_exists());
        EXPECT_FALSE(link().threads().tx_thread_exists());
        EXPECT_EQ(link().com_port(), nullptr);
        EXPECT_EQ(link().rx_side().fifo.start, nullptr);
    }
};

TEST_F(PortLossWindowTest, KeepsEveryByteDisconnectsAndSaysSoOnce)
{
    connect();
    peer_sends("first\nsecond\n");
    tick();
    m->hex.block_start = 2;
    m->hex.block_end = 9;
    peer_sends("third\nfour");  // still in the FIFO when the port goes
    lose_port();

    EXPECT_EQ(store_text(), "first\nsecond\nthird\nfour");
    EXPECT_EQ(lines(), (std::vector<std::string>{"first", "second", "third", "four"}));
    EXPECT_EQ(m->hex.block_start, 2);
    EXPECT_EQ(m->hex.block_end, 9);
    expect_link_closed();
    EXPECT_EQ(m->SB.panel(0).text, "COM1 lost");
    EXPECT_TRUE(m->menu.MMcon.enabled());
    EXPECT_TRUE(m->menu.MMdiscon.enabled());
    EXPECT_FALSE(m->menu.MMtxEOL.enabled());
    EXPECT_EQ(m->tools.BtnCon.caption(), "Connect");
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text.rfind("COM1 lost!", 0), 0u) << boxes()[0].text;
    EXPECT_EQ(boxes()[0].caption, "Error");

    // Off by default: no retry, no second message, nothing more in the store.
    sim.reappear(1);
    user.wait(3000);
    EXPECT_FALSE(link().connected());
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_EQ(store_length(), 23);
    EXPECT_EQ(m->SB.panel(1).text, " Rx: 23B");
}

TEST_F(PortLossWindowTest, ReconnectsWhenTheDeviceReturnsAndAppendsToTheSameStore)
{
    user.choose(m->menu.MMreconnect);
    EXPECT_TRUE(m->menu.MMreconnect.checked());
    EXPECT_EQ(port_settings().port_reconnect, 1);
    connect();
    peer_sends("before\n");
    lose_port();

    // While the device is missing the attempts fail silently.
    user.wait(3500);
    EXPECT_FALSE(link().connected());
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_EQ(m->SB.panel(0).text, "COM1 lost");

    sim.reappear(1);
    user.wait(1000);
    ASSERT_TRUE(link().connected());
    EXPECT_EQ(m->SB.panel(0).text, "connected");
    EXPECT_FALSE(m->menu.MMcon.enabled());
    EXPECT_TRUE(m->menu.MMtxEOL.enabled());
    EXPECT_EQ(boxes().size(), 1u);
    peer_sends("after\n");
    tick();
    EXPECT_EQ(store_text(), "before\nafter\n");
    EXPECT_EQ(lines(), (std::vector<std::string>{"before", "after", ""}));

    // A second loss is handled like the first.
    lose_port();
    EXPECT_EQ(boxes().size(), 2u);
    sim.reappear(1);
    user.wait(1000);
    EXPECT_TRUE(link().connected());
}

TEST_F(PortLossWindowTest, TheUsersDisconectOrConnectEndsTheRetrying)
{
    user.choose(m->menu.MMreconnect);
    connect();
    lose_port();
    user.choose(m->menu.MMdiscon);
    EXPECT_EQ(m->SB.panel(0).text, "disconnected");
    EXPECT_FALSE(m->menu.MMdiscon.enabled());
    sim.reappear(1);
    user.wait(3000);
    EXPECT_FALSE(link().connected());

    // Lost again; the user's Connect while the device is away fails as usual
    // and ends the retrying too.
    connect();
    lose_port();
    user.answer_message_box(ui::mr::Ok);
    user.choose(m->menu.MMcon);
    ASSERT_EQ(boxes().size(), 3u);
    EXPECT_THAT(boxes()[2].text, testing::StartsWith("COM1 opening failed!\nCreateFileA could not open "));
    sim.reappear(1);
    user.wait(3000);
    EXPECT_FALSE(link().connected());
    EXPECT_TRUE(m->menu.MMcon.enabled());
    expect_link_closed();
}

// A failed Connect ends the retrying as Disconect does, so the window must no
// longer say "COM1 lost" nor offer Disconect to end a retrying that is over.
TEST_F(PortLossWindowTest, AFailedConnectThatEndsTheRetryingShowsTheWindowDisconnected)
{
    user.choose(m->menu.MMreconnect);
    connect();
    lose_port();
    ASSERT_EQ(m->SB.panel(0).text, "COM1 lost");
    ASSERT_TRUE(m->loss.retrying());
    user.answer_message_box(ui::mr::Ok);
    user.choose(m->menu.MMcon);
    ASSERT_FALSE(link().connected());
    EXPECT_FALSE(m->loss.retrying());
    EXPECT_EQ(m->SB.panel(0).text, "disconnected");
    EXPECT_FALSE(m->menu.MMdiscon.enabled());
    EXPECT_TRUE(m->menu.MMcon.enabled());
}

TEST_F(PortLossWindowTest, NoMessageOverAModalDialogAndNoRetryWhileItShows)
{
    user.choose(m->menu.MMreconnect);
    connect();
    bool shown = false;
    user.in_modal("AForm", [&](ui::Form& about) {
        shown = true;
        lose_port(false);
        EXPECT_EQ(m->SB.panel(0).text, "COM1 lost");
        sim.reappear(1);
        user.wait(2500);
        EXPECT_FALSE(link().connected()) << "reopened under a modal dialog";
        about.close();
    });
    user.choose(m->menu.MMabout);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(boxes().empty());
    user.wait(1000);
    EXPECT_TRUE(link().connected());
}

TEST_F(PortLossWindowTest, ReconnectOptionIsTheLastPortItem)
{
    const auto& items = m->menu.MPort.items();
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ(items.back(), &m->menu.MMreconnect);
    EXPECT_TRUE(items[items.size() - 2]->is_separator());
    EXPECT_EQ(m->menu.MMreconnect.caption(), "Reconnect automatically");
    EXPECT_FALSE(m->menu.MMreconnect.checked());
    user.choose(m->menu.MMreconnect);
    user.choose(m->menu.MMreconnect);
    EXPECT_EQ(port_settings().port_reconnect, 0);
}

}  // namespace
