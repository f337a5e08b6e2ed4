// The send-integer window over the simulated line: sizes, orders, the range
// rule, the rewritten fields, the key filters, the messages and the close.
#include "tests/tx/tx_fixture.h"

class SendIntegerTest : public TxTest {
 protected:
    void SetUp() override
    {
        TxTest::SetUp();
        connect_at(0);
        user.press("Ctrl+I");
        ASSERT_TRUE(f().visible());
    }
    TTXIForm& f() { return *TXIForm; }
    // Types a value into the field of the radix and a size, then clicks Send.
    void send(ui::Edit& field, const std::string& value, const std::string& size)
    {
        field.set_text("");
        user.type(field, value);
        f().Eibs.set_text("");
        user.type(f().Eibs, size);
        user.click(f().BtnSend);
    }
};

TEST_F(SendIntegerTest, WindowAsLaidOut)
{
    EXPECT_EQ(f().caption(), "Send integer");
    EXPECT_EQ(f().form_style(), ui::FormStyle::StayOnTop);
    EXPECT_EQ(f().client_size(), (ui::Size{527, 217}));
    EXPECT_EQ(f().min_window_size(), (ui::Size{500, 244}));
    EXPECT_EQ(f().max_window_size(), (ui::Size{0, 244}));
    EXPECT_EQ(f().Eidec.text(), "0");
    EXPECT_EQ(f().Eibs.text(), "4");
    EXPECT_TRUE(f().RBile.checked());
    EXPECT_TRUE(f().Eidec.focused());
    EXPECT_EQ(f().Eidec.color(), ui::colors::window);
    EXPECT_EQ(f().Eihex.color(), ui::colors::btn_face);
    user.resize(f(), 700, 217);
    EXPECT_EQ(f().Eidec.width(), 451 + 173) << "the value fields stretch";
}

TEST_F(SendIntegerTest, ValuesSizesAndOrdersOnTheWire)
{
    const struct {
        const char* value;
        const char* size;
        bool big;
        Bytes wire;
        const char *dec, *hex, *bin;
    } cases[] = {
        {"300", "2", false, {0x2C, 0x01}, "300", "012C", "00000001 00101100 "},
        {"300", "2", true, {0x01, 0x2C}, "300", "012C", "00000001 00101100 "},
        {"-2", "2", false, {0xFE, 0xFF}, "-2", "-0002", "-00000000 00000010 "},
        {"-2", "2", true, {0xFF, 0xFE}, "-2", "-0002", "-00000000 00000010 "},
        {"255", "1", false, {0xFF}, "255", "FF", "11111111 "},
        {"-128", "1", false, {0x80}, "-128", "-80", "-10000000 "},
        {"18446744073709551615", "8", false, Bytes(8, 0xFF), "18446744073709551615", "FFFFFFFFFFFFFFFF",
         "11111111 11111111 11111111 11111111 11111111 11111111 11111111 11111111 "},
        {"-9223372036854775808",
         "8",
         false,
         {0, 0, 0, 0, 0, 0, 0, 0x80},
         "-9223372036854775808",
         "-8000000000000000",
         "-10000000 00000000 00000000 00000000 00000000 00000000 00000000 00000000 "},
        {"   ", "3", false, {0, 0, 0}, "0", "000000", "00000000 00000000 00000000 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " size " + c.size + (c.big ? " BE" : " LE"));
        user.click(c.big ? f().RBibe : f().RBile);
        send(f().Eidec, c.value, c.size);
        EXPECT_EQ(peer_got(c.wire.size(), 2), c.wire);
        EXPECT_EQ(f().Eidec.text(), c.dec);
        EXPECT_EQ(f().Eihex.text(), c.hex);
        EXPECT_EQ(f().Eibin.text(), c.bin);
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SendIntegerTest, HexAndBinaryFieldsCountWhenActive)
{
    user.focus(f().Eihex);
    EXPECT_EQ(f().active_radix(), 1);
    EXPECT_EQ(f().Eihex.color(), ui::colors::window);
    EXPECT_EQ(f().Eidec.color(), ui::colors::btn_face);
    f().Eihex.set_text("");
    user.type("ffg-");  // lower case becomes upper case, g is refused
    EXPECT_EQ(f().Eihex.text(), "FF-");
    send(f().Eihex, "-1F", "1");
    EXPECT_EQ(peer_got(1, 2), Bytes{0xE1});
    EXPECT_EQ(f().Eidec.text(), "-31");
    send(f().Eibin, "1 00000001", "2");
    EXPECT_EQ(f().active_radix(), 2);
    EXPECT_EQ(peer_got(2, 2), (Bytes{0x01, 0x01}));
    EXPECT_EQ(f().Eihex.text(), "0101");
    f().Eibin.set_text("");
    user.type(f().Eibin, "0121a ");
    EXPECT_EQ(f().Eibin.text(), "011 ");
    f().Eibs.set_text("");
    user.type(f().Eibs, "1-x2");
    EXPECT_EQ(f().Eibs.text(), "12");
}

TEST_F(SendIntegerTest, RefusalsSendNothingAndLeaveTheFields)
{
    const struct {
        const char* value;
        const char* size;
        const char* message;
        const char* size_after;
    } cases[] = {
        {"256", "1", "Invalid integer value!", "1"},
        {"-129", "1", "Invalid integer value!", "1"},
        {"65536", "0", "Invalid integer value!", "1"},  // size 0 becomes 1 first
        {"1-2", "12", "Invalid integer value!", "8"},   // 12 becomes 8 first
        {"5", "", "Enter an integer size of 1 to 8 bytes!", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " size '" + c.size + "'");
        f().Eihex.set_text("keep");
        f().Eibin.set_text("keep too");
        user.answer_message_box(ui::mr::Ok);
        const std::size_t before = boxes().size();
        send(f().Eidec, c.value, c.size);
        ASSERT_EQ(boxes().size(), before + 1);
        EXPECT_EQ(boxes().back().text, c.message);
        EXPECT_EQ(boxes().back().caption, "Error ...");
        EXPECT_EQ(f().Eidec.text(), c.value);
        EXPECT_EQ(f().Eihex.text(), "keep");
        EXPECT_EQ(f().Eibin.text(), "keep too");
        EXPECT_EQ(f().Eibs.text(), c.size_after);
    }
    EXPECT_TRUE(peer_got(1, 0.2).empty());
}

TEST_F(SendIntegerTest, FullFifoIsReportedBeforeTheValue)
{
    link().tx_hold(1);
    const std::string filler(link().tx_free() - 3, 'f');
    ASSERT_EQ(link().tx_put(filler.data(), static_cast<std::int32_t>(filler.size())), 0);
    user.answer_message_box(ui::mr::Ok);
    send(f().Eidec, "not a number", "4");
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Not enough space in tx FIFO!");
    send(f().Eidec, "7", "3");  // three bytes still fit
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_EQ(link().tx_free(), 0);
    link().tx_hold(0);
}

TEST_F(SendIntegerTest, SendAndCloseClosesOnlyAfterAGoodSend)
{
    user.answer_message_box(ui::mr::Ok);
    f().Eidec.set_text("300");
    f().Eibs.set_text("1");
    user.click(f().BtnSendClose);
    EXPECT_TRUE(f().visible()) << "a refused value keeps the window";
    f().Eibs.set_text("2");
    user.click(f().BtnSendClose);
    EXPECT_FALSE(f().visible());
    EXPECT_EQ(peer_got(2, 2), (Bytes{0x2C, 0x01}));
    // Shown again, it keeps its texts; while disconnected nothing is sent.
    user.press("Ctrl+I");
    EXPECT_EQ(f().Eidec.text(), "300");
    user.click(m->tools.BtnCon);
    user.click(f().BtnSendClose);
    EXPECT_TRUE(f().visible());
    EXPECT_EQ(boxes().size(), 1u);
}

TEST_F(SendIntegerTest, KeyboardAloneEnterSendsArrowsPickTheByteOrder)
{
    f().Eidec.set_text("300");
    f().Eibs.set_text("");
    user.type(f().Eibs, "2\r");  // Enter in a field presses the default button, Send
    EXPECT_EQ(peer_got(2, 2), (Bytes{0x2C, 0x01}));
    EXPECT_TRUE(f().visible());
    user.type("\t");
    EXPECT_TRUE(f().RBile.focused()) << "the checked button is the group's Tab stop";
    user.press("Down");
    EXPECT_TRUE(f().RBibe.focused());
    EXPECT_TRUE(f().RBibe.checked());
    user.type("\t");
    EXPECT_TRUE(f().BtnSendClose.focused()) << "the two byte orders are one Tab stop";
    user.press("Shift+Tab");
    EXPECT_TRUE(f().RBibe.focused());
    user.type("\r");
    EXPECT_EQ(peer_got(2, 2), (Bytes{0x01, 0x2C}));
}
