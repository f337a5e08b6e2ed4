// The send-string window over the simulated line: the marks, the user byte,
// the end-of-string byte, the history and the messages.
#include "tests/tx/tx_fixture.h"

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
};

TEST_F(SendStringTest, WindowAsLaidOut)
{
    EXPECT_EQ(f().caption(), "Send string");
    EXPECT_EQ(f().form_style(), ui::FormStyle::StayOnTop);
    EXPECT_EQ(f().client_size(), (ui::Size{392, 231}));
    EXPECT_EQ(f().min_window_size(), (ui::Size{400, 258}));
    EXPECT_EQ(f().max_window_size(), (ui::Size{0, 258}));
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
