// Typing to the port and the Tab/EOL/EOF commands, checked at the far end of
// the simulated line.
#include "main_window_fixture.h"
#include "tx/keyboard_send.h"

using Bytes = std::vector<unsigned char>;

TEST_F(MainWindowTest, TypedCharactersGoOutInKeyboardModeOnly)
{
    connect();
    user.type("x");
    EXPECT_EQ(peer_got(0), Bytes{});  // mode off
    user.click(m->tools.BtnKeyboard);
    user.type("ab\r");
    EXPECT_EQ(peer_got(3), (Bytes{97, 98, 13}));
    user.hold_shift(true);
    user.type("\r");
    user.hold_shift(false);
    EXPECT_EQ(peer_got(1), (Bytes{10}));
    user.press("Ctrl+T");  // a menu shortcut sends through its command, once
    EXPECT_EQ(peer_got(1), (Bytes{9}));
}

// On the HEX and Info pages as on the Text page: every key that makes a
// character goes out, and no control takes it (Tab moves no focus, Space ticks
// no box, a digit changes no field).
TEST_F(MainWindowTest, KeyboardModeSendsFromEveryPageAndNoControlTakesTheKeys)
{
    HexPage& hex = m->hex;
    struct Case {
        const char* name;
        int page;
        ui::Control* focus;
    };
    const Case cases[] = {
        {"grid", 1, &hex.DGhex},
        {"hexa check box", 1, &hex.CBivHex},
        {"radio button", 1, &hex.RBivlDec},
        {"length field", 1, &hex.Eivarlen},
        {"Info page tabs", 2, &m->PCd},
    };
    connect();
    user.click(m->tools.BtnKeyboard);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        user.select_tab(m->PCd, c.page);
        user.focus(*c.focus);
        for (const char* key : {"Tab", "Ctrl+A", "Ctrl+C"}) user.press(key);
        user.press(ui::keys::Space);
        user.type("5\r");
        EXPECT_EQ(peer_got(6), (Bytes{9, 1, 3, ' ', '5', 13}));
        EXPECT_TRUE(c.focus->focused());
        EXPECT_FALSE(hex.CBivHex.checked());
        EXPECT_FALSE(hex.RBivlDec.checked());
        EXPECT_EQ(hex.Eivarlen.text(), "1");
    }
    // Off again: the controls have their keys back and nothing is sent.
    user.click(m->tools.BtnKeyboard);
    user.select_tab(m->PCd, 1);
    user.focus(hex.DGhex);
    user.press("Tab");
    EXPECT_TRUE(hex.CBivHex.focused());
    user.press(ui::keys::Space);
    EXPECT_TRUE(hex.CBivHex.checked());
    EXPECT_EQ(peer_got(0), Bytes{});
}

TEST_F(MainWindowTest, DisconnectKeepsTheKeyboardToggle)
{
    connect();
    user.click(m->tools.BtnKeyboard);
    user.click(m->tools.BtnCon);  // disconnect
    EXPECT_TRUE(m->tools.BtnKeyboard.down());
    EXPECT_TRUE(m->menu.MMkeyboard.checked());
    EXPECT_FALSE(m->tools.BtnKeyboard.enabled());
    user.type("z");  // nothing to send to
    connect();
    user.type("k");
    EXPECT_EQ(peer_got(1), (Bytes{'k'}));
}

TEST_F(MainWindowTest, KeyboardToggleKeepsButtonMenuAndIconTogether)
{
    connect();
    for (int i = 0; i < 5; ++i) {
        if (i % 2) {
            user.click(m->tools.BtnKeyboard);
        } else {
            user.choose(m->menu.MMkeyboard);
        }
        const bool on = i % 2 == 0;
        EXPECT_EQ(m->tools.BtnKeyboard.down(), on);
        EXPECT_EQ(m->menu.MMkeyboard.checked(), on);
        EXPECT_EQ(m->menu.MMkeyboard.image_index(), on ? 11 : 10);
    }
}

TEST_F(MainWindowTest, SendEolFollowsTheLineBreakMode)
{
    const struct {
        ui::MenuItem MainMenuBar::*item;
        Bytes bytes;
    } cases[] = {
        {&MainMenuBar::MMlnCR, {13}},       {&MainMenuBar::MMlnLF, {10}},  {&MainMenuBar::MMlnCRLF, {13, 10}},
        {&MainMenuBar::MMlnLFCR, {10, 13}}, {&MainMenuBar::MMlnANY, {13}},
    };
    connect();
    for (const auto& c : cases) {
        SCOPED_TRACE((m->menu.*c.item).caption());
        user.choose(m->menu.*c.item);
        user.click(m->tools.BtnTxEOL);
        EXPECT_EQ(peer_got(c.bytes.size()), c.bytes);
    }
    user.press("Ctrl+F");
    EXPECT_EQ(peer_got(1), Bytes{0});
    user.click(m->tools.BtnTxTab);
    EXPECT_EQ(peer_got(1), Bytes{9});
}

TEST_F(MainWindowTest, SendEolWithOneFreeByteSendsNothing)
{
    connect();
    link().tx_hold(1);
    const std::string filler(link().tx_free() - 1, 'f');
    ASSERT_EQ(link().tx_put(filler.data(), std::int32_t(filler.size())), 0);
    ASSERT_EQ(link().tx_free(), 1);
    user.choose(m->menu.MMlnCRLF);
    user.choose(m->menu.MMtxEOL);
    EXPECT_EQ(link().tx_free(), 1);  // never a lone CR
    user.choose(m->menu.MMlnCR);
    user.choose(m->menu.MMtxEOL);
    EXPECT_EQ(link().tx_free(), 0);
    user.choose(m->menu.MMtxEOF);  // full: dropped without a word
    EXPECT_TRUE(boxes().empty());
    link().tx_clear();
    link().tx_hold(0);
}

TEST_F(MainWindowTest, CommandsDoNothingWhileDisconnected)
{
    m->tx.MMtxTabClick();
    m->tx.MMtxEOLClick();
    m->tx.MMtxEOFClick();
    char c = 'a';
    send_typed(link(), c, true, false);
    EXPECT_EQ(link().tx_fill(), 0);
    EXPECT_EQ(sim.peer_available(1), 0u);
}

TEST(EolBytes, OneOrTwoBytesPerMode)
{
    const struct {
        int mode;
        int n;
        std::uint8_t b0, b1;
    } cases[] = {{0, 1, 13, 0}, {1, 1, 10, 0}, {2, 2, 13, 10}, {3, 2, 10, 13}, {4, 1, 13, 0}};
    for (auto c : cases) {
        std::uint8_t out[2] = {};
        ASSERT_EQ(eol_bytes(c.mode, out), c.n) << c.mode;
        EXPECT_EQ(out[0], c.b0);
        if (c.n == 2) {
            EXPECT_EQ(out[1], c.b1);
        }
    }
}

// The text view keeps Ctrl+A, Ctrl+C and Tab for itself only while typing does
// not go to the port; in keyboard mode they are characters like any other.
TEST_F(MainWindowTest, TextViewKeysFollowKeyboardMode)
{
    const struct {
        const char* key;
        unsigned char byte;
    } keys[] = {{"Ctrl+A", 1}, {"Ctrl+C", 3}, {"Tab", 9}};
    connect();
    arrive("one\rtwo\r");
    tick();
    user.select_tab(m->PCd, 0);
    user.focus(m->text_page.Mtxt);
    ui::set_clipboard_text("kept");

    user.click(m->tools.BtnKeyboard);
    for (const auto& k : keys) {
        SCOPED_TRACE(k.key);
        user.press(k.key);
        EXPECT_EQ(peer_got(1), Bytes{k.byte});
        EXPECT_FALSE(m->text_page.Mtxt.has_selection());
        EXPECT_EQ(ui::clipboard_text(), "kept");
        EXPECT_TRUE(m->text_page.Mtxt.focused());
    }
    // Copying stays at hand: the view's selection through Ctrl+Insert.
    m->text_page.Mtxt.select({0, 0}, {0, 3});
    user.press("Ctrl+Ins");
    EXPECT_EQ(ui::clipboard_text(), "one");
    EXPECT_EQ(peer_got(0), Bytes{});

    user.click(m->tools.BtnKeyboard);  // off: the view's own keys again, nothing sent
    user.focus(m->text_page.Mtxt);
    user.press("Ctrl+A");
    user.press("Ctrl+C");
    user.press("Tab");
    EXPECT_EQ(peer_got(0), Bytes{});
    EXPECT_EQ(ui::clipboard_text(), "one\r\ntwo\r\n");
    EXPECT_TRUE(m->text_page.Mtxt.focused());

    // Keyboard mode on but disconnected: nothing to send to, the view selects.
    user.click(m->tools.BtnKeyboard);
    user.click(m->tools.BtnCon);
    m->text_page.Mtxt.select({0, 0}, {0, 0});
    user.focus(m->text_page.Mtxt);
    user.press("Ctrl+A");
    EXPECT_TRUE(m->text_page.Mtxt.has_selection());
}
