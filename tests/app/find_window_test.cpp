// The Find window on the headless main window: its layout and keys, refused
// patterns, a hit shown in both views, stepping and counting with wrap, a
// clear that cancels, and "Follow new data" across drains.
#include <chrono>
#include <thread>

#include "tests/app/main_window_fixture.h"
#include "views/find/find_form.h"

class FindWindowTest : public MainWindowTest {
 protected:
    TFindForm& f() { return *FindForm; }
    HexPage& hex() { return m->hex; }
    void receive(const std::string& bytes)
    {
        arrive(bytes);
        tick();
    }
    void open()
    {
        user.press("Ctrl+Shift+F");
        ASSERT_TRUE(f().visible());
    }
    // Lets the search thread finish and its reports arrive on the window's timer.
    void settle()
    {
        for (int i = 0; i < 5000 && f().searching(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            user.wait(find_poll_ms);
        }
        ASSERT_FALSE(f().searching());
    }
    void set_pattern(const std::string& text, bool hex_bytes = false, bool match_case = false)
    {
        if (f().CBhex.checked() != hex_bytes) user.click(f().CBhex);
        if (f().CBcase.checked() != match_case) f().CBcase.set_checked(match_case);
        f().CBfind.set_text("");
        user.type(f().CBfind, text);
    }
    void find(const std::string& text, bool hex_bytes = false, bool match_case = false)
    {
        set_pattern(text, hex_bytes, match_case);
        user.click(f().BtnNext);
        settle();
    }
    std::string status() { return f().STstatus.caption(); }
};

TEST_F(FindWindowTest, WindowAsLaidOutOpenedFromTheRxMenuAndClosedByEscape)
{
    EXPECT_EQ(m->menu.MMfind.caption(), "Find...");
    EXPECT_EQ(m->menu.MMfind.shortcut(), ui::shortcut("Ctrl+Shift+F"));
    EXPECT_EQ(m->menu.MMfind.parent(), &m->menu.MRx);
    EXPECT_TRUE(m->menu.MMfollow.checked()) << "on by default";
    EXPECT_FALSE(f().visible());
    open();
    EXPECT_EQ(f().caption(), "Find");
    EXPECT_EQ(f().form_style(), ui::FormStyle::StayOnTop);
    // The label comes right before the edit, so a driver finds it by "Find:".
    const auto& kids = f().children();
    const auto label = std::find(kids.begin(), kids.end(), &f().LFind);
    ASSERT_NE(label, kids.end());
    EXPECT_EQ(*(label + 1), &f().CBfind);
    EXPECT_EQ(f().LFind.caption(), "Find:");
    EXPECT_EQ(f().CBfind.style(), ui::ComboStyle::DropDown);
    EXPECT_EQ(f().CBhex.caption(), "Hex bytes");
    EXPECT_EQ(f().CBcase.caption(), "Match case");
    EXPECT_EQ(f().BtnNext.caption(), "Find next");
    EXPECT_EQ(f().BtnPrev.caption(), "Find previous");
    EXPECT_EQ(f().BtnCount.caption(), "Count");
    EXPECT_EQ(f().BtnClose.caption(), "Close");
    EXPECT_EQ(status(), "");
    user.click(f().CBhex);
    EXPECT_FALSE(f().CBcase.enabled()) << "bytes have no case";
    user.click(f().CBhex);
    EXPECT_TRUE(f().CBcase.enabled());
    user.focus(f().CBfind);
    user.type("\x1b");
    EXPECT_FALSE(f().visible());
    user.choose(m->menu.MMfind);
    EXPECT_TRUE(f().visible());
}

TEST_F(FindWindowTest, BadPatternsNeitherSearchNorMoveTheViews)
{
    connect();
    receive("abc\rDEF\r");
    const std::int32_t row = hex().DGhex.row(), col = hex().DGhex.col();
    open();
    const struct {
        const char* text;
        bool hex;
        const char* status;
    } cases[] = {
        {"", false, "Empty pattern"},
        {"  ", true, "Empty pattern"},
        {"61 6", true, "Odd number of hex digits"},
        {"61 6Z", true, "Not a hex digit: \"Z\""},
        {"6?", true, "A byte of any value is written ??"},
    };
    for (const auto& c : cases) {
        set_pattern(c.text, c.hex);
        user.click(f().BtnNext);
        EXPECT_FALSE(f().searching()) << c.text;
        EXPECT_EQ(status(), c.status) << c.text;
        EXPECT_EQ(hex().block_start, 0) << c.text;
        EXPECT_EQ(hex().block_end, 0) << c.text;
        EXPECT_EQ(hex().DGhex.row(), row) << c.text;
        EXPECT_EQ(hex().DGhex.col(), col) << c.text;
        EXPECT_TRUE(m->menu.MMfollow.checked()) << c.text;
        EXPECT_FALSE(m->text_page.Mtxt.has_selection()) << c.text;
    }
    EXPECT_EQ(f().CBfind.count(), 0) << "refused patterns are not remembered";
}

TEST_F(FindWindowTest, AHitShowsInBothViewsAndHoldsThemStill)
{
    connect();
    receive("one\rtwo ERROR three\rfour\r");
    open();
    find("error");
    EXPECT_EQ(status(), "Found at 0x00000008 (1 of 1)");
    EXPECT_EQ(hex().block_start, 8);
    EXPECT_EQ(hex().block_end, 12);
    EXPECT_EQ(hex().DGhex.row(), 1);
    EXPECT_EQ(hex().DGhex.col(), 9);
    EXPECT_EQ(hex().STss.caption(), " 0x00000008");
    EXPECT_EQ(hex().STsp.caption(), " 0x0000000C");
    EXPECT_EQ(hex().STsl.caption(), " 5");
    EXPECT_EQ(hex().STrxposd.caption(), " 8");
    EXPECT_EQ(hex().STu8.caption(), " 69");  // 'E'
    EXPECT_EQ(m->text_page.Mtxt.anchor(), (ui::TextPos{1, 4}));
    EXPECT_EQ(m->text_page.Mtxt.caret(), (ui::TextPos{1, 9}));
    EXPECT_FALSE(m->menu.MMfollow.checked()) << "the hit stays in view";
    // More data: the hit stays where it is in both views.
    receive("five\r");
    EXPECT_EQ(hex().DGhex.row(), 1);
    EXPECT_EQ(hex().DGhex.col(), 9);
    EXPECT_EQ(hex().block_start, 8);
    EXPECT_EQ(m->text_page.Mtxt.selected_text(), "ERROR");
}

TEST_F(FindWindowTest, TheTextPageSelectsWhatTheHitShowsAs)
{
    m->text_page.Mtxt.set_view_size(ui::Size{200, 110});
    m->text_page.Mtxt.set_char_size(ui::Size{7, 11});
    connect();
    open();
    const struct {
        const char* name;
        bool stamps, invisible;
        std::string data, pattern;
        bool hex;
        ui::TextPos from, to;
        const char* selected;
    } cases[] = {
        {"plain", false, false, "x\rab ERR cd\r", "ERR", false, {1, 3}, {1, 6}, "ERR"},
        {"a dropped LF starts the line", false, false, "x\r\nabcERR\r", "ERR", false, {1, 3}, {1, 6}, "ERR"},
        {"hidden invisible bytes",
         false,
         false,
         std::string("a\x01\x02"
                     "bERR\r"),
         "ERR",
         false,
         {0, 2},
         {0, 5},
         "ERR"},
        {"shown invisible bytes",
         false,
         true,
         std::string("a\x01\x02"
                     "bERR\r"),
         "ERR",
         false,
         {0, 4},
         {0, 7},
         "ERR"},
        {"time stamps", true, false, "x\rab ERR\r", "ERR", false, {1, 16}, {1, 19}, "ERR"},
        {"across a line end", false, false, "ab\r\ncd\r", "0D 0A 63", true, {0, 0}, {1, 2}, "ab\r\ncd"},
        {"the last of many lines",
         false,
         false,
         std::string(600, '\r') + "end ERR",
         "ERR",
         false,
         {600, 4},
         {600, 7},
         "ERR"},
    };
    for (const auto& c : cases) {
        user.choose(m->menu.MMclrrx);
        if (m->menu.MMtstamp.checked() != c.stamps) user.choose(m->menu.MMtstamp);
        if (m->menu.MMdis.checked() != c.invisible) user.choose(m->menu.MMdis);
        m->text_page.Mtxt.set_top_row(0);
        receive(c.data);
        find(c.pattern, c.hex, true);
        EXPECT_EQ(m->text_page.Mtxt.anchor(), c.from) << c.name;
        EXPECT_EQ(m->text_page.Mtxt.caret(), c.to) << c.name;
        EXPECT_EQ(m->text_page.Mtxt.selected_text(), c.selected) << c.name;
        const std::uint64_t row = c.from.line;  // no wrap: one row per line
        EXPECT_LE(m->text_page.Mtxt.top_row(), row) << c.name;
        EXPECT_LT(row, m->text_page.Mtxt.top_row() + std::uint64_t(m->text_page.Mtxt.page_rows())) << c.name;
    }
}

TEST_F(FindWindowTest, StepsOnFromTheHitWrapsAndCounts)
{
    connect();
    receive("ab..ab..ab");
    open();
    set_pattern("AB");
    const struct {
        const char* key;
        const char* status;
        std::int32_t block_start;
    } steps[] = {
        {"F3", "Found at 0x00000000 (1 of 3)", 0},
        {"F3", "Found at 0x00000004 (2 of 3)", 4},
        {"F3", "Found at 0x00000008 (3 of 3)", 8},
        {"F3", "Found at 0x00000000 (1 of 3), wrapped to the start", 0},
        {"Shift+F3", "Found at 0x00000008 (3 of 3), wrapped to the end", 8},
        {"Shift+F3", "Found at 0x00000004 (2 of 3)", 4},
    };
    for (const auto& s : steps) {
        user.press(s.key);
        settle();
        EXPECT_EQ(status(), s.status) << s.key;
        EXPECT_EQ(hex().block_start, s.block_start) << s.status;
        EXPECT_EQ(hex().block_end, s.block_start + 1) << s.status;
    }
    user.click(f().BtnCount);
    settle();
    EXPECT_EQ(status(), "3 found");
    EXPECT_EQ(hex().block_start, 4) << "a count shows no hit";
    find("zz");
    EXPECT_EQ(status(), "Not found");
    EXPECT_EQ(f().CBfind.items(), (std::vector<std::string>{"zz", "AB"}));

    // F3 in the main window: the hidden Find window comes back to say what it found.
    user.type("\x1b");
    ASSERT_FALSE(f().visible());
    user.activate(*m);
    f().CBfind.set_text("ab");
    user.press("F3");
    EXPECT_TRUE(f().visible());
    settle();
    EXPECT_EQ(status(), "Found at 0x00000008 (3 of 3)");
}

TEST_F(FindWindowTest, ClearRxDataCancelsTheSearchAndForgetsTheHit)
{
    connect();
    receive(std::string(60000, 'x') + "needle");
    open();
    find("needle");
    ASSERT_EQ(f().current_hit(), 60000);
    set_pattern("x");
    user.click(f().BtnCount);
    user.activate(*m);
    user.press("Shift+Del");
    EXPECT_FALSE(f().searching());
    EXPECT_EQ(f().current_hit(), -1);
    EXPECT_EQ(status(), "");
    user.wait(200);
    EXPECT_EQ(status(), "") << "nothing of the cancelled search arrives";
    receive("x.needle");
    find("needle");
    EXPECT_EQ(status(), "Found at 0x00000002 (1 of 1)") << "the search starts from the start again";
}

// Closing the window cancels its search; reopened, it must not claim one still runs.
TEST_F(FindWindowTest, ClosedMidSearchAndReopenedItSaysNothingOfTheCancelledSearch)
{
    struct Case {
        const char* button;
        const char* close_by;
    };
    const Case cases[] = {{"BtnNext", "Close"}, {"BtnPrev", "Escape"}, {"BtnCount", "Close"}, {"BtnCount", "Escape"}};
    connect();
    receive(std::string(60000, 'x') + "needle");
    open();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " closed by " + c.close_by);
        set_pattern("x");
        user.click(static_cast<ui::Button&>(*f().find(c.button)));
        if (std::string(c.close_by) == "Close") {
            user.click(f().BtnClose);
        } else {
            user.focus(f().CBfind);
            user.type("\x1b");
        }
        ASSERT_FALSE(f().visible());
        user.wait(200);
        user.choose(m->menu.MMfind);
        ASSERT_TRUE(f().visible());
        user.wait(200);
        EXPECT_FALSE(f().searching());
        EXPECT_EQ(status(), "");
    }
}

TEST_F(FindWindowTest, FollowNewDataOffHoldsBothViewsAndOnJumpsToTheEnd)
{
    m->text_page.Mtxt.set_view_size(ui::Size{200, 110});
    m->text_page.Mtxt.set_char_size(ui::Size{7, 11});
    connect();
    std::string many;
    for (int i = 0; i < 100; ++i) many += "line\r";
    receive(many);
    user.run_posted();
    EXPECT_EQ(hex().DGhex.row(), hex().DGhex.row_count() - 1) << "on: the drain went to the end";

    user.choose(m->menu.MMfollow);  // off
    hex().DGhex.set_current(3, 2);
    ASSERT_EQ(hex().inspector_position, 18);
    const std::int32_t grid_top = hex().DGhex.top_row();
    m->text_page.Mtxt.set_top_row(5);
    const std::int32_t rows = hex().DGhex.row_count();
    receive(many);
    user.run_posted();
    EXPECT_GT(hex().DGhex.row_count(), rows) << "the grid still grows";
    EXPECT_EQ(hex().DGhex.row(), 2);
    EXPECT_EQ(hex().DGhex.col(), 3);
    EXPECT_EQ(hex().DGhex.top_row(), grid_top);
    EXPECT_EQ(hex().inspector_position, 18);
    EXPECT_EQ(hex().STrxposd.caption(), " 18");
    EXPECT_EQ(m->text_page.Mtxt.top_row(), 5u);
    EXPECT_EQ(m->text_page.Mtxt.line_count(), 201);
    EXPECT_EQ(m->SB.panel(1).text.rfind(" Rx: 1000B", 0), 0u) << m->SB.panel(1).text;

    user.choose(m->menu.MMfollow);  // on again
    user.run_posted();
    EXPECT_EQ(hex().DGhex.row(), hex().DGhex.row_count() - 1);
    EXPECT_EQ(hex().DGhex.col(), 32);
    EXPECT_EQ(m->text_page.Mtxt.top_row(), m->text_page.Mtxt.max_top_row());
}
