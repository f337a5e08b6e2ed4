// The send-string window over the simulated line: the marks, the user byte,
// the end-of-string byte, the history and the messages.
#include "tests/tx/tx_fixture.h"
#include "tx/slot_form.h"

class SendStringTest : public TxTest {
 protected:
    void SetUp() override
    {
        TxTest::SetUp();
        connect_at(0);
        user.press("Ctrl+M");
        ASSERT_TRUE(f().visible());
    }
    TTXSForm& f() { return *TXSForm; }
    void send(const std::string& text)
    {
        f().CBmsg.set_text("");
        user.type(f().CBmsg, text);
        user.click(f().BtnSend);
    }
    std::vector<std::string> history() { return f().CBmsg.items(); }
    // The string with escapes on or off and a checksum, typed afresh.
    void set_up(const std::string& text, bool escapes, const char* checksum, bool eos = false)
    {
        f().CBesc.set_checked(escapes);
        user.select(f().CBchk, checksum);
        f().CBeos.set_checked(eos);
        f().CBmsg.set_text("");
        user.type(f().CBmsg, text);
    }
    void repeat_every(const char* ms)
    {
        f().Erep.set_text(ms);
        user.click(f().BtnRepeat);
    }
    // Saves the current string to a slot through the dialog; `pick` 0 keeps
    // the slot the dialog offers and expects it to be `offered`.
    void save_to_slot(int offered, const std::string& name, int pick = 0)
    {
        user.in_modal("SlotForm", [&, this](ui::Form& d) {
            auto& dlg = static_cast<TSlotForm&>(d);
            EXPECT_EQ(dlg.CBslot.item_index(), offered - 1);
            if (pick) user.select(dlg.CBslot, pick - 1);
            dlg.Ename.set_text(name);
            user.click(dlg.BtnOk);
        });
        user.click(f().BtnSlot);
    }
    static Bytes times(const Bytes& one, int n)
    {
        Bytes all;
        for (int i = 0; i < n; ++i) all.insert(all.end(), one.begin(), one.end());
        return all;
    }
};

TEST_F(SendStringTest, WindowAsLaidOut)
{
    EXPECT_EQ(f().caption(), "Send string");
    EXPECT_EQ(f().form_style(), ui::FormStyle::StayOnTop);
    // Two rows taller than it once was, for the checksum and repeat rows.
    EXPECT_EQ(f().client_size(), (ui::Size{392, 279}));
    EXPECT_EQ(f().min_window_size(), (ui::Size{400, 306}));
    EXPECT_EQ(f().max_window_size(), (ui::Size{0, 306}));
    EXPECT_FALSE(f().CBesc.checked());
    EXPECT_EQ(f().CBchk.items(), (std::vector<std::string>{"None", "Sum8", "XOR8", "CRC-8", "CRC-16/MODBUS",
                                                           "CRC-16/CCITT-FALSE", "CRC-32"}));
    EXPECT_EQ(f().CBchk.text(), "None");
    EXPECT_EQ(f().Erep.text(), "1000");
    EXPECT_EQ(f().BtnRepeat.caption(), "Repeat");
    EXPECT_EQ(f().BtnSlot.caption(), "Save to slot...");
    EXPECT_FALSE(f().CBeol.checked());
    EXPECT_TRUE(f().CBeos.checked());
    EXPECT_EQ(f().CBeos.caption(), "Append EOS ('\\0')");
    EXPECT_TRUE(f().RBdef.checked());
    for (ui::Control* c : std::initializer_list<ui::Control*>{&f().RBdef, &f().RBusr, &f().RBcr, &f().RBlf, &f().RBcrlf,
                                                              &f().RBlfcr, &f().Edec, &f().Ehex})
        EXPECT_FALSE(c->enabled()) << c->name();
    user.click(f().CBeol);
    EXPECT_TRUE(f().Ehex.enabled());
    EXPECT_TRUE(f().RBlfcr.enabled());
    EXPECT_EQ(f().Edec.text(), "13");
    EXPECT_EQ(f().Ehex.text(), "0D");
    EXPECT_EQ(f().Edec.color(), ui::colors::window);
    EXPECT_EQ(f().Ehex.color(), ui::colors::btn_face);
    user.resize(f(), 600, 231);
    EXPECT_EQ(f().CBmsg.width(), 376 + 208) << "the string field stretches";
}

TEST_F(SendStringTest, HelloWithEachMark)
{
    const Bytes hello{'h', 'e', 'l', 'l', 'o'};
    const struct {
        const char* name;
        bool eol, eos;
        ui::RadioButton TTXSForm::*mark;
        ui::MenuItem MainMenuBar::*mode;
        Bytes tail;
    } cases[] = {
        {"no mark", false, true, &TTXSForm::RBdef, &MainMenuBar::MMlnCR, {0}},
        {"no mark, no EOS", false, false, &TTXSForm::RBdef, &MainMenuBar::MMlnCR, {}},
        {"default CR+LF", true, true, &TTXSForm::RBdef, &MainMenuBar::MMlnCRLF, {13, 10, 0}},
        {"default CR or LF", true, true, &TTXSForm::RBdef, &MainMenuBar::MMlnANY, {13, 0}},
        {"default LF+CR", true, false, &TTXSForm::RBdef, &MainMenuBar::MMlnLFCR, {10, 13}},
        {"CR", true, true, &TTXSForm::RBcr, &MainMenuBar::MMlnLF, {13, 0}},
        {"LF", true, true, &TTXSForm::RBlf, &MainMenuBar::MMlnCR, {10, 0}},
        {"CR+LF", true, true, &TTXSForm::RBcrlf, &MainMenuBar::MMlnCR, {13, 10, 0}},
        {"LF+CR", true, true, &TTXSForm::RBlfcr, &MainMenuBar::MMlnCR, {10, 13, 0}},
        {"user 13", true, true, &TTXSForm::RBusr, &MainMenuBar::MMlnLF, {13, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        user.choose(m->menu.*c.mode);
        f().CBeol.set_checked(c.eol);
        f().CBeolClick();
        f().CBeos.set_checked(c.eos);
        (f().*c.mark).set_checked(true);
        send("hello");
        Bytes wire = hello;
        wire.insert(wire.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(peer_got(wire.size(), 2), wire);
    }
    EXPECT_EQ(history(), (std::vector<std::string>{"hello"})) << "no duplicates by send";
}

TEST_F(SendStringTest, UserByteIsClampedAndWrittenBack)
{
    user.click(f().CBeol);
    user.click(f().RBusr);
    f().CBeos.set_checked(false);
    const struct {
        bool hex;
        const char* text;
        int byte;
        const char *dec, *hexout;
    } cases[] = {
        {false, "300", 255, "255", "FF"}, {true, "", 0, "0", "00"},
        {true, "d", 13, "13", "0D"},      {true, "123456789", 255, "255", "FF"},  // more than eight digits: clamped too
        {false, "7", 7, "7", "07"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ui::Edit& field = c.hex ? f().Ehex : f().Edec;
        field.set_text("");
        user.type(field, c.text);
        EXPECT_EQ(f().hex_active(), c.hex);
        EXPECT_EQ(f().Ehex.color(), c.hex ? ui::colors::window : ui::colors::btn_face);
        send("a");
        EXPECT_EQ(peer_got(2, 2), (Bytes{'a', static_cast<unsigned char>(c.byte)}));
        EXPECT_EQ(f().Edec.text(), c.dec);
        EXPECT_EQ(f().Ehex.text(), c.hexout);
    }
    f().Edec.set_text("");
    user.type(f().Edec, "1x-2");
    EXPECT_EQ(f().Edec.text(), "12") << "digits only";
    f().Ehex.set_text("");
    user.type(f().Ehex, "aG9");
    EXPECT_EQ(f().Ehex.text(), "a9") << "letters keep their case";
}

TEST_F(SendStringTest, EmptyStringAndTheEndOfStringByte)
{
    f().CBeos.set_checked(false);
    send("");
    EXPECT_TRUE(peer_got(1, 0.2).empty());
    EXPECT_EQ(history(), (std::vector<std::string>{""}));
    f().CBeos.set_checked(true);
    send("");
    EXPECT_EQ(peer_got(1, 2), Bytes{0});
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SendStringTest, HistoryMovesASentStringToTheTopAndComparesExactly)
{
    for (const char* s : {"one", "two", "three", "One"}) send(s);
    EXPECT_EQ(history(), (std::vector<std::string>{"One", "three", "two", "one"}));
    send("two");
    EXPECT_EQ(history(), (std::vector<std::string>{"two", "One", "three", "one"}));
    EXPECT_EQ(f().CBmsg.text(), "two");
    for (int i = 0; i < 25; ++i) send("s" + std::to_string(i));
    EXPECT_EQ(history().size(), 29u) << "no limit while running";
    peer_got(1000, 0.3);
}

TEST_F(SendStringTest, EnterSendsAndSendCloseAlwaysCloses)
{
    f().CBmsg.set_text("");
    user.type(f().CBmsg, "hi\r");
    EXPECT_EQ(peer_got(3, 2), (Bytes{'h', 'i', 0}));
    link().tx_hold(1);
    const std::string filler(link().tx_free() - 2, 'f');
    ASSERT_EQ(link().tx_put(filler.data(), static_cast<std::int32_t>(filler.size())), 0);
    user.answer_message_box(ui::mr::Ok);
    f().CBmsg.set_text("abc");
    user.click(f().BtnSendClose);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Not enough space in tx FIFO!");
    EXPECT_EQ(boxes()[0].caption, "Error ...");
    EXPECT_EQ(boxes()[0].icon, ui::MsgIcon::Error);
    EXPECT_FALSE(f().visible());
    EXPECT_EQ(history()[0], "abc") << "the history changed before the check";
    EXPECT_EQ(link().tx_free(), 2) << "nothing of the string was put";
    // Disconnected: Send does nothing, Send + close only closes.
    link().tx_hold(0);
    user.click(m->tools.BtnCon);
    f().show();
    user.click(f().BtnSend);
    EXPECT_EQ(history()[0], "abc");
    user.click(f().BtnSendClose);
    EXPECT_FALSE(f().visible());
}

TEST_F(SendStringTest, EveryShowingTypesIntoTheStringField)
{
    EXPECT_TRUE(f().CBmsg.focused());
    send("a");
    user.click(f().BtnCancel);
    user.press("Ctrl+M");
    EXPECT_TRUE(f().CBmsg.focused());
    f().CBmsg.set_text("");
    user.type("q\r");
    EXPECT_TRUE(f().visible()) << "Enter went to the string, not to Cancel";
    EXPECT_EQ(peer_got(4, 2), (Bytes{'a', 0, 'q', 0}));
}

TEST_F(SendStringTest, AReopenedWindowSelectsTheKeptTextSoTypingReplacesIt)
{
    send("hello");
    user.click(f().BtnCancel);
    user.press("Ctrl+M");
    EXPECT_EQ(f().CBmsg.sel_start(), 0);
    EXPECT_EQ(f().CBmsg.sel_length(), 5);
    user.type("q\r");  // not "qhello"
    user.click(f().BtnCancel);
    user.press("Ctrl+M");
    user.type("\r");  // Enter alone sends the kept string again
    EXPECT_EQ(peer_got(10, 2), (Bytes{'h', 'e', 'l', 'l', 'o', 0, 'q', 0, 'q', 0}));

    // The same in Send integer's field and Find's pattern.
    user.click(f().BtnCancel);
    user.press("Ctrl+I");
    TXIForm->Eidec.set_text("123");
    TXIForm->close();
    user.press("Ctrl+I");
    EXPECT_EQ(TXIForm->Eidec.selected_text(), "123");
    TXIForm->close();
    user.press("Ctrl+Shift+F");
    FindForm->CBfind.set_text("abc");
    FindForm->close();
    user.press("Ctrl+Shift+F");
    EXPECT_TRUE(FindForm->CBfind.focused());
    EXPECT_EQ(FindForm->CBfind.sel_length(), 3);
}

TEST_F(SendStringTest, EscapesAndChecksumsGoBeforeTheMarkAndTheLabelShowsTheChecksum)
{
    const std::string modbus = "\\x01\\x03\\x00\\x00\\x00\\x0A";
    const struct {
        std::string text;
        bool escapes, eol, eos;
        const char* checksum;
        const char* label;
        Bytes wire;
    } cases[] = {
        {modbus, true, false, false, "CRC-16/MODBUS", "C5 CD", {1, 3, 0, 0, 0, 0x0A, 0xC5, 0xCD}},
        {"123456789", false, false, true, "CRC-8", "F4", {'1', '2', '3', '4', '5', '6', '7', '8', '9', 0xF4, 0}},
        {"123456789",
         true,
         true,
         true,
         "CRC-16/CCITT-FALSE",
         "29 B1",
         {'1', '2', '3', '4', '5', '6', '7', '8', '9', 0x29, 0xB1, 13, 10, 0}},
        {"123456789",
         true,
         false,
         false,
         "CRC-32",
         "26 39 F4 CB",
         {'1', '2', '3', '4', '5', '6', '7', '8', '9', 0x26, 0x39, 0xF4, 0xCB}},
        {"a\\0b", true, true, false, "Sum8", "C3", {'a', 0, 'b', 0xC3, 13, 10}},
        {"a\\0", false, false, true, "None", "", {'a', '\\', '0', 0}},  // escapes off: as typed
    };
    user.choose(m->menu.MMlnCRLF);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        f().CBeol.set_checked(c.eol);
        f().CBeolClick();
        set_up(c.text, c.escapes, c.checksum, c.eos);
        EXPECT_EQ(f().STchk.caption(), c.label) << "live, as typed";
        user.click(f().BtnSend);
        EXPECT_EQ(peer_got(c.wire.size(), 2), c.wire);
        EXPECT_EQ(history()[0], c.text) << "the history keeps what was typed";
    }
    // The label follows the options too, and a half-typed escape has no checksum.
    set_up(modbus, true, "CRC-16/MODBUS");
    user.click(f().CBesc);
    EXPECT_EQ(f().STchk.caption(), "47 43") << "the raw text's CRC";
    user.click(f().CBesc);
    EXPECT_EQ(f().STchk.caption(), "C5 CD");
    user.type(f().CBmsg, "\\x4");
    EXPECT_EQ(f().STchk.caption(), "");
    user.select(f().CBchk, "None");
    EXPECT_EQ(f().STchk.caption(), "");
}

TEST_F(SendStringTest, ABadEscapeIsNeitherSentNorRememberedNorRepeatedNorSaved)
{
    set_up("abcd\\qrs", true, "None", true);
    for (ui::Button* b : {&f().BtnSend, &f().BtnRepeat, &f().BtnSlot}) {
        SCOPED_TRACE(b->name());
        user.answer_message_box(ui::mr::Ok);
        user.click(*b);
        ASSERT_FALSE(boxes().empty());
        EXPECT_EQ(boxes().back().text, "Bad escape \"\\q\" at character 5");
        EXPECT_EQ(boxes().back().caption, "Error ...");
        EXPECT_EQ(boxes().back().icon, ui::MsgIcon::Error);
    }
    EXPECT_EQ(boxes().size(), 3u);
    EXPECT_TRUE(history().empty());
    EXPECT_FALSE(f().repeating());
    EXPECT_FALSE(f().slots[0].used);
    user.click(f().CBesc);
    user.click(f().BtnSend);
    EXPECT_EQ(peer_got(9, 2), (Bytes{'a', 'b', 'c', 'd', '\\', 'q', 'r', 's', 0})) << "without escapes it is text";
    EXPECT_EQ(boxes().size(), 3u);
}

TEST_F(SendStringTest, RepeatKeepsThePeriodCountsAndStopsOnStopDisconnectAndClose)
{
    set_up("ab", false, "None");
    const Bytes ab{'a', 'b'};
    repeat_every("100");
    EXPECT_EQ(f().BtnRepeat.caption(), "Stop");
    EXPECT_EQ(f().STrep.caption(), "sent 0 times");
    user.wait(1000);
    EXPECT_EQ(f().STrep.caption(), "sent 10 times") << "10 periods, 10 sends";
    EXPECT_EQ(peer_got(20, 2), times(ab, 10));
    f().CBmsg.set_text("changed");
    user.wait(99);
    user.click(f().BtnRepeat);
    EXPECT_EQ(f().BtnRepeat.caption(), "Repeat");
    user.wait(500);
    EXPECT_EQ(f().STrep.caption(), "sent 10 times");
    EXPECT_TRUE(peer_got(1, 0.2).empty());

    // A 1 ms period on the virtual clock: one send per millisecond.
    f().CBmsg.set_text("ab");
    repeat_every("1");
    user.wait(1000);
    EXPECT_EQ(f().STrep.caption(), "sent 1000 times");
    EXPECT_EQ(peer_got(2000, 5).size(), 2000u);
    // Out of range periods are limited and written back, as the dialogs' number fields are.
    user.click(f().BtnRepeat);
    repeat_every("0");
    EXPECT_EQ(f().Erep.text(), "1");
    user.click(f().BtnRepeat);
    repeat_every("9999999");
    EXPECT_EQ(f().Erep.text(), "3600000");
    user.click(f().BtnRepeat);
    peer_got(100000, 0.3);

    // A disconnect, a lost port and closing the window each end it.
    const std::function<void()> enders[] = {
        [&] { user.click(m->tools.BtnCon); },
        [&] {
            sim.vanish(1);
            for (int i = 0; i < 200 && !link().rx_port_lost(); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            user.answer_message_box(ui::mr::Ok);
            tick();
        },
        [&] { user.click(f().BtnCancel); },
    };
    for (const auto& end : enders) {
        if (!f().visible()) user.press("Ctrl+M");
        repeat_every("100");
        user.wait(300);
        EXPECT_EQ(f().STrep.caption(), "sent 3 times");
        peer_got(6, 2);
        end();
        EXPECT_FALSE(f().repeating());
        EXPECT_EQ(f().BtnRepeat.caption(), "Repeat");
        if (!link().connected()) {
            sim.reappear(1);
            connect();
        }
        user.wait(500);
        EXPECT_TRUE(peer_got(1, 0.2).empty());
    }
}

TEST_F(SendStringTest, RepeatSkipsAndCountsWhatTheFullFifoCannotTake)
{
    set_up("ab", false, "None");
    link().tx_hold(1);
    const std::string filler(link().tx_free() - 5, 'f');
    ASSERT_EQ(link().tx_put(filler.data(), static_cast<std::int32_t>(filler.size())), 0);
    repeat_every("100");
    user.wait(500);
    EXPECT_EQ(f().STrep.caption(), "sent 2 times, 3 skipped: transmit FIFO full");
    EXPECT_EQ(link().tx_free(), 1) << "nothing queued beyond the room";
    EXPECT_TRUE(boxes().empty()) << "a repeat says it in its status, not in a box";
    user.click(f().BtnRepeat);
    link().tx_hold(0);
    const Bytes got = peer_got(filler.size() + 4, 5);
    EXPECT_EQ(Bytes(got.end() - 4, got.end()), (Bytes{'a', 'b', 'a', 'b'}));
}

TEST_F(SendStringTest, SlotsSendAtOnceFromTheMenuAndTheirKeysEvenInKeyboardMode)
{
    set_up("\\x01\\x03\\x00\\x00\\x00\\x0A", true, "CRC-16/MODBUS");
    save_to_slot(1, "Read regs");
    const Bytes modbus{1, 3, 0, 0, 0, 0x0A, 0xC5, 0xCD};
    EXPECT_EQ(m->menu.MMquick1.caption(), "Read regs");
    EXPECT_TRUE(m->menu.MMquick1.enabled());
    EXPECT_EQ(m->menu.MMquick2.caption(), "(empty)");
    EXPECT_FALSE(m->menu.MMquick2.enabled());
    EXPECT_TRUE(history().empty()) << "saving sends nothing and remembers nothing";

    // Slot 2 gets the text as its caption; "Default" follows the text view's mode when sent.
    f().CBeol.set_checked(true);
    f().CBeolClick();
    set_up("R&D", false, "None", true);
    save_to_slot(2, "");
    // A dialog cancelled changes nothing.
    user.in_modal("SlotForm", [&](ui::Form& d) { user.click(static_cast<TSlotForm&>(d).BtnCancel); });
    user.click(f().BtnSlot);
    // Slot 10 is Ctrl+0.
    f().CBeol.set_checked(false);
    set_up("z", false, "XOR8");
    save_to_slot(3, "last", 10);
    EXPECT_EQ(m->menu.MMquick2.caption(), "R&&D") << "no access key";
    EXPECT_EQ(m->menu.MMquick10.caption(), "last");
    EXPECT_FALSE(m->menu.MMquick3.enabled());

    user.click(f().BtnCancel);
    user.choose(m->menu.MMlnLFCR);
    const struct {
        const char* keys;
        Bytes wire;
    } cases[] = {
        {"Ctrl+1", modbus},
        {"Ctrl+2", {'R', '&', 'D', 10, 13, 0}},
        {"Ctrl+0", {'z', 'z'}},
        {"Ctrl+3", {}},
    };
    for (bool keyboard : {false, true}) {
        if (keyboard) user.click(m->tools.BtnKeyboard);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.keys) + (keyboard ? " in keyboard mode" : ""));
            user.press(c.keys);
            EXPECT_EQ(peer_got(c.wire.size(), c.wire.empty() ? 0.2 : 2), c.wire);
        }
    }
    EXPECT_FALSE(f().visible()) << "no window opens";
    user.click(m->tools.BtnCon);
    EXPECT_FALSE(m->menu.MMquick1.enabled()) << "greyed while disconnected";
    user.press("Ctrl+1");
    EXPECT_TRUE(peer_got(1, 0.2).empty());
    EXPECT_TRUE(boxes().empty());
}
