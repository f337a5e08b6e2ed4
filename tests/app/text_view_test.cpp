// The received text in the main window: drains across ticks, the line-break
// modes, long lines, invisible bytes, refresh and clear.
#include "main_window_fixture.h"
#include "ui/services.h"
#include "app/find_hit.h"

TEST_F(MainWindowTest, CrLfSplitAcrossTwoTicks)
{
    user.choose(m->menu.MMlnCRLF);
    connect();
    arrive("abc\r");
    tick();
    EXPECT_EQ(lines(), (std::vector<std::string>{"abc"}));  // the CR is held back
    EXPECT_EQ(store_length(), 4);
    arrive("\n");
    tick();
    EXPECT_EQ(lines(), (std::vector<std::string>{"abc", ""}));
}

TEST_F(MainWindowTest, LineBreakModesOnCrLfBetweenTwoLetters)
{
    const struct {
        ui::MenuItem MainMenuBar::*item;
        std::vector<std::string> lines;
    } cases[] = {
        {&MainMenuBar::MMlnCR, {"a", "b"}},      {&MainMenuBar::MMlnLF, {"a", "b"}},
        {&MainMenuBar::MMlnCRLF, {"a", "b"}},    {&MainMenuBar::MMlnLFCR, {"ab"}},
        {&MainMenuBar::MMlnANY, {"a", "", "b"}},
    };
    connect();
    for (const auto& c : cases) {
        SCOPED_TRACE((m->menu.*c.item).caption());
        user.choose(m->menu.*c.item);
        user.choose(m->menu.MMclrrx);
        arrive("a\r\nb");
        tick();
        EXPECT_EQ(lines(), c.lines);
    }
}

TEST_F(MainWindowTest, TwoThousandBytesWithoutABreakMakeOneLine)
{
    connect();
    std::string text;
    for (int i = 0; i < 2000; ++i) text += char('A' + i % 26);
    arrive(text.substr(0, 1500));
    tick();
    arrive(text.substr(1500));
    tick();
    EXPECT_EQ(lines(), (std::vector<std::string>{text}));
}

TEST_F(MainWindowTest, InvisibleBytesFollowTheMenuFromTheNextDrainOn)
{
    connect();
    arrive(std::string("a\0b\x80\tc", 6));
    tick();
    EXPECT_EQ(lines(), (std::vector<std::string>{"ab\x80\tc"}));
    user.choose(m->menu.MMdis);
    EXPECT_TRUE(m->menu.MMdis.checked());
    EXPECT_EQ(lines(), (std::vector<std::string>{"ab\x80\tc"}));  // nothing rebuilt
    arrive(std::string("\x01z", 2));
    tick();
    EXPECT_EQ(lines(), (std::vector<std::string>{"ab\x80\tc.z"}));
    user.choose(m->menu.MMdis);
    arrive(std::string("\x02y", 2));
    tick();
    EXPECT_EQ(lines(), (std::vector<std::string>{"ab\x80\tc.zy"}));
}

TEST_F(MainWindowTest, ModeChangeActsOnlyAfterRefresh)
{
    connect();
    arrive("a\nb\n");
    tick();
    EXPECT_EQ(lines(), (std::vector<std::string>{"ab"}));
    user.choose(m->menu.MMlnLF);
    EXPECT_EQ(lines(), (std::vector<std::string>{"ab"}));
    user.press("Ctrl+R");
    EXPECT_EQ(lines(), (std::vector<std::string>{"a", "b", ""}));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(MainWindowTest, RefreshAsksFromHalfAMebibyteAndNoKeepsTheView)
{
    connect();
    std::string block(524287, 'q');
    block[10] = '\r';
    arrive(block);
    user.wait(m->Timer1.interval());
    ASSERT_EQ(store_length(), 524287);
    user.choose(m->menu.MMlnLF);
    user.choose(m->menu.MMtxtRf);  // below the threshold: no question
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(m->text_page.Mtxt.line_count(), 1);  // CR dropped in mode LF

    user.choose(m->menu.MMlnCR);
    arrive("q");
    user.wait(m->Timer1.interval());
    ASSERT_EQ(store_length(), 524288);
    user.answer_message_box(ui::mr::No);
    user.choose(m->menu.MMtxtRf);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].caption, "Warning");
    EXPECT_EQ(boxes()[0].icon, ui::MsgIcon::Question);
    EXPECT_EQ(boxes()[0].buttons, ui::MsgButtons::YesNo);
    EXPECT_EQ(boxes()[0].text,
              "This operation could take serious amount of time for this much data.\n"
              "Would you like to continue?");
    EXPECT_EQ(m->text_page.Mtxt.line_count(), 1);  // No: as it was

    user.answer_message_box(ui::mr::Yes);
    user.choose(m->menu.MMtxtRf);
    EXPECT_EQ(m->text_page.Mtxt.line_count(), 2);  // rebuilt in mode CR
}

TEST_F(MainWindowTest, ClearWhileConnectedEmptiesEverythingAndStartsAFreshLine)
{
    connect();
    arrive("one\rtwo");
    tick();
    ASSERT_EQ(m->hex.DGhex.row_count(), 2);
    arrive(std::string(20, 'x'));
    tick();
    EXPECT_EQ(m->hex.DGhex.row_count(), 3);  // 27 bytes: two data rows and the header
    EXPECT_EQ(m->hex.DGhex.row(), 2);
    EXPECT_EQ(m->hex.DGhex.col(), 32);
    user.press("Shift+Del");
    EXPECT_TRUE(link().connected());
    EXPECT_EQ(m->text_page.Mtxt.line_count(), 0);
    EXPECT_EQ(m->hex.DGhex.row_count(), 2);
    EXPECT_EQ(store_length(), 0);
    arrive("new");
    tick();
    EXPECT_EQ(lines(), (std::vector<std::string>{"new"}));
    EXPECT_EQ(store_length(), 3);
}

TEST_F(MainWindowTest, AutoScrollFollowsTheEndOnlyWhileChecked)
{
    m->text_page.Mtxt.set_view_size(ui::Size{200, 110});
    m->text_page.Mtxt.set_char_size(ui::Size{7, 11});
    connect();
    std::string many;
    for (int i = 0; i < 100; ++i) many += "line\r";
    arrive(many);
    tick();
    EXPECT_EQ(m->text_page.Mtxt.top_row(), m->text_page.Mtxt.max_top_row());
    EXPECT_GT(m->text_page.Mtxt.top_row(), 0u);

    user.choose(m->menu.MMas);  // off
    m->text_page.Mtxt.set_top_row(0);
    arrive(many);
    tick();
    EXPECT_EQ(m->text_page.Mtxt.top_row(), 0u);
    user.choose(m->menu.MMas);  // on again: scrolls at once (posted)
    user.run_posted();
    EXPECT_EQ(m->text_page.Mtxt.top_row(), m->text_page.Mtxt.max_top_row());
}

TEST_F(MainWindowTest, WordWrapFollowsItsCheckMark)
{
    user.press("Ctrl+W");
    EXPECT_TRUE(m->menu.MMwwrap.checked());
    EXPECT_TRUE(m->text_page.Mtxt.word_wrap());
    EXPECT_FALSE(m->text_page.Mtxt.horizontal_bar());
    user.choose(*m, {"Rx", "Text", "Word wrap"});
    EXPECT_FALSE(m->text_page.Mtxt.word_wrap());
}

// A burst of many more lines than one drain used to scroll: with auto-scroll on
// the last line is in view after every drain, with or without word wrap.
TEST_F(MainWindowTest, AutoScrollShowsTheLastLineAfterABigDrain)
{
    for (bool wrap : {false, true}) {
        SCOPED_TRACE(wrap ? "word wrap" : "no wrap");
        if (m->menu.MMwwrap.checked() != wrap) user.choose(m->menu.MMwwrap);
        user.choose(m->menu.MMclrrx);
        if (!link().connected()) connect();
        std::string burst;
        for (int i = 0; i < 5000; ++i) burst += "line " + std::to_string(i) + " of a burst well wider than one row\r";
        arrive(burst);
        tick();
        ASSERT_EQ(m->text_page.Mtxt.line_count(), 5001);
        EXPECT_EQ(m->text_page.Mtxt.top_row(), m->text_page.Mtxt.max_top_row());
        EXPECT_GT(m->text_page.Mtxt.top_row(), 4000u);
        arrive("tail\r");
        tick();
        EXPECT_EQ(m->text_page.Mtxt.top_row(), m->text_page.Mtxt.max_top_row());
    }
}

TEST_F(MainWindowTest, ReceivedLinesReachThePlotWhileItShowsAndClearEmptiesIt)
{
    // The plot feeds on its own timer, after the drain that brought the lines.
    auto settle = [&] {
        tick();
        user.wait(m->plot.TimerPlot.interval());
    };
    connect();
    arrive("7\r8\r");
    settle();
    EXPECT_EQ(m->plot.table().rows(), 0u) << "a hidden plot parses nothing";
    user.select_tab(m->PCd, 3);
    settle();
    EXPECT_EQ(m->plot.table().rows(), 2u) << "shown, it catches up";
    user.click(m->tools.BtnClr);
    arrive("1,2\r3,");
    settle();
    EXPECT_EQ(m->plot.table().rows(), 1u) << "the open last line waits";
    arrive("4\rtext\r");
    settle();
    EXPECT_EQ(m->plot.table().rows(), 2u);
    EXPECT_EQ(m->plot.table().value(1, 1), 4.0);
    EXPECT_EQ(m->plot.LplotStatus.caption(), "skipped: 1 lines");
    user.click(m->tools.BtnClr);
    EXPECT_EQ(m->plot.table().rows(), 0u);
    EXPECT_EQ(m->PCd.page_count(), 5);  // Text, HEX, Info, Plot, Traffic
}

TEST_F(MainWindowTest, AnsiColoursRebuildTheTextAndCopyFindAndPlotSeeNoEscapes)
{
    const std::string log =
        "\x1b[0;32mI (310) cpu_start: up\x1b[0m\r\n"
        "\x1b[0;33m#00001 t=   1.0s temp=24.00C volt=3.30V status=OK\x1b[0m\r\n";
    user.choose(m->menu.MMlnCRLF);
    connect();
    arrive(log);
    tick();
    const Lines raw = {"[0;32mI (310) cpu_start: up[0m", "[0;33m#00001 t=   1.0s temp=24.00C volt=3.30V status=OK[0m",
                       ""};
    EXPECT_EQ(lines(), raw) << "off: as without colours";
    user.choose(m->menu.MMansi);
    const Lines shown = {"I (310) cpu_start: up", "#00001 t=   1.0s temp=24.00C volt=3.30V status=OK", ""};
    EXPECT_EQ(lines(), shown) << "switching rebuilds what is there";
    EXPECT_TRUE(boxes().empty());

    m->text_page.Mtxt.select_all();
    ASSERT_TRUE(m->text_page.Mtxt.copy_selection());
    EXPECT_EQ(ui::clipboard_text().value_or(""), shown[0] + "\r\n" + shown[1] + "\r\n");
    // "cpu" is at store byte 15 and column 8 of the first line.
    const auto hit = text_range_of(m->link, m->text_page.sink, 15, 18, false);
    ASSERT_TRUE(hit.has_value());
    EXPECT_EQ(hit->from, (ui::TextPos{0, 8}));
    EXPECT_EQ(hit->to, (ui::TextPos{0, 11}));

    // The plot reads the bytes, so its names are the same with colours off.
    user.choose(m->menu.MMansi);
    user.select_tab(m->PCd, 3);
    tick();
    user.wait(m->plot.TimerPlot.interval());
    EXPECT_EQ(m->plot.table().rows(), 1u);
    std::vector<std::string> names = {"t", "temp", "volt"};
    EXPECT_EQ(m->plot.names(), names);
    EXPECT_EQ(m->plot.LplotStatus.caption(), "skipped: 1 lines");

    // A rebuild of much data asks first; No leaves the item as it was.
    arrive(std::string(524288, 'z'));
    tick();
    user.answer_message_box(ui::mr::No);
    user.choose(m->menu.MMansi);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_FALSE(m->menu.MMansi.checked());
    EXPECT_FALSE(m->link.rx_text_ansi_on());
}

TEST_F(MainWindowTest, Utf8RebuildsTheTextAndFindSelectsItsCharacters)
{
    user.choose(m->menu.MMlnCRLF);
    connect();
    arrive("t=24\xc2\xb0\x43 5\xc2\xb5s\r\n");
    tick();
    EXPECT_EQ(lines(), (Lines{"t=24\xc2\xb0\x43 5\xc2\xb5s", ""})) << "off: a byte a character";
    user.choose(m->menu.MMutf8);
    EXPECT_EQ(lines(), (Lines{"t=24\xb0\x43 5\xb5s", ""})) << "switching rebuilds what is there";
    EXPECT_TRUE(m->text_page.Mtxt.lines().wide());
    EXPECT_TRUE(boxes().empty());
    // "\xb5s" is at store bytes 9 to 11 and columns 8 and 9.
    const auto hit = text_range_of(m->link, m->text_page.sink, 9, 12, false);
    ASSERT_TRUE(hit.has_value());
    EXPECT_EQ(hit->from, (ui::TextPos{0, 8}));
    EXPECT_EQ(hit->to, (ui::TextPos{0, 10}));
}
