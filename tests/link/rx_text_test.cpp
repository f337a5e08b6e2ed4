// Conversion of received bytes into lines: the five line-break modes, the CR or
// LF held back across passes, invisible bytes, 1023-character pieces, and many
// small passes agreeing with one big pass.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "link/rx_store.h"
#include "link/rx_text.h"
#include "link/serial_link.h"
#include "link/sim_port_driver.h"
#include "recording_sink.h"
#include "rx_feed.h"

namespace {

using Lines = std::vector<std::string>;

class TextTest : public ::testing::Test {
 protected:
    SimPortDriver sim;
    SerialLink link{sim};
    RecordingSink sink;
    LineSink* view = &sink;  // the one attached last, which every update is handed

    void SetUp() override
    {
        rx_feed_open(link);
        ASSERT_EQ(0, link.rx_store_init(1024));
        ASSERT_EQ(0, attach(&sink));
        link.rx_text_invisible('.', false);
    }

    int attach(LineSink* v)
    {
        const int r = link.rx_text_attach(v);
        if (r == 0) view = v;
        return r;
    }
    int update() { return link.rx_text_update(*view); }

    // One drain step: the bytes arrive, the store takes them, the text follows.
    void tick(const std::string& bytes)
    {
        ASSERT_TRUE(rx_feed(link, bytes));
        ASSERT_EQ(0, link.rx_store_append());
        ASSERT_EQ(0, update());
    }

    // The same, drained at a time of day, as the main window records it.
    void tick_at(std::uint32_t ms, const std::string& bytes)
    {
        const RxStore* store = nullptr;
        link.rx_store_info(&store);
        const std::int32_t from = store->length;
        ASSERT_TRUE(rx_feed(link, bytes));
        ASSERT_EQ(0, link.rx_store_append());
        link.rx_text_drained(from, ms);
        ASSERT_EQ(0, update());
    }
};

std::string stamp(std::uint32_t ms)
{
    char t[rx_text_stamp_length];
    rx_text_format_time(ms, t);
    return std::string(t, sizeof t);
}

TEST_F(TextTest, EachLineIsToldWhereItsBytesBegin)
{
    struct Case {
        int mode;
        std::vector<std::string> drains;
        Lines lines;
        std::vector<int32_t> starts;
    };
    const Case cases[] = {
        {rx_lb_cr, {"ab\r\ncd\r"}, {"ab", "cd", ""}, {0, 3, 7}},
        {rx_lb_any, {"a\r\nb"}, {"a", "", "b"}, {0, 2, 3}},
        // The held-back CR ends its line in the next pass; the line after starts behind the pair.
        {rx_lb_crlf, {"ab\r", "\ncd"}, {"ab", "cd"}, {0, 4}},
        // A pass ending on a line break opens the next line before its first byte came.
        {rx_lb_lf, {"ab\n", "cd\n", "e"}, {"ab", "cd", "e"}, {0, 3, 6}},
        // Pieces of a long line are one line.
        {rx_lb_cr, {std::string(2500, 'x') + "\ry"}, {std::string(2500, 'x'), "y"}, {0, 2501}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(0, link.rx_store_init(1024));
        ASSERT_EQ(0, attach(&sink));
        ASSERT_EQ(0, link.rx_text_line_break(c.mode));
        for (const std::string& d : c.drains) tick(d);
        EXPECT_EQ(sink.lines, c.lines) << "mode " << c.mode;
        EXPECT_EQ(sink.starts, c.starts) << "mode " << c.mode;
    }
}

TEST_F(TextTest, ModesOnCrLfBetweenTwoLetters)
{
    struct Case {
        int mode;
        Lines lines;
    };
    const Case cases[] = {
        {rx_lb_cr, {"a", "b"}}, {rx_lb_lf, {"a", "b"}},      {rx_lb_crlf, {"a", "b"}},
        {rx_lb_lfcr, {"ab"}},   {rx_lb_any, {"a", "", "b"}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(0, link.rx_store_init(1024));
        ASSERT_EQ(0, attach(&sink));
        ASSERT_EQ(0, link.rx_text_line_break(c.mode));
        tick("a\r\nb");
        EXPECT_EQ(c.lines, sink.lines) << "mode " << c.mode;
    }
}

TEST_F(TextTest, PairSplitAcrossTwoPassesIsHeldBack)
{
    struct Case {
        int mode;
        std::string first, second;
        Lines after_first, after_second;
    };
    const Case cases[] = {
        {rx_lb_crlf, "abc\r", "\n", {"abc"}, {"abc", ""}}, {rx_lb_lfcr, "abc\n", "\r", {"abc"}, {"abc", ""}},
        {rx_lb_crlf, "abc\r", "d", {"abc"}, {"abcd"}},    // a lone CR, dropped
        {rx_lb_crlf, "abc\n", "\nd", {"abc"}, {"abcd"}},  // LF is held too, then dropped
        {rx_lb_lfcr, "\n", "\rx", {""}, {"", "x"}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(0, link.rx_store_init(1024));
        ASSERT_EQ(0, attach(&sink));
        ASSERT_EQ(0, link.rx_text_line_break(c.mode));
        tick(c.first);
        EXPECT_EQ(c.after_first, sink.lines) << c.mode << " " << c.first;
        tick(c.second);
        EXPECT_EQ(c.after_second, sink.lines) << c.mode << " " << c.first;
    }
}

TEST_F(TextTest, LongLineComesInPiecesOf1023)
{
    const std::string text = std::string(2000, 'x');
    tick(text);
    EXPECT_EQ(Lines{text}, sink.lines);
    EXPECT_EQ((std::vector<size_t>{1023, 977}), (std::vector<size_t>{sink.pieces[0].size(), sink.pieces[1].size()}));

    // A line of exactly one piece, then its break: no empty piece in between.
    ASSERT_EQ(0, attach(&sink));
    ASSERT_EQ(0, link.rx_store_init(1024));
    tick(std::string(1023, 'y') + "\rz");
    EXPECT_EQ((Lines{std::string(1023, 'y'), "z"}), sink.lines);
}

TEST_F(TextTest, InvisibleBytesDroppedOrReplaced)
{
    const std::string data = std::string("a\0b\x1F\x7F\t\x80\xFF", 8);
    struct Case {
        bool show;
        int replacement;
        std::string line;
    };
    const Case cases[] = {
        {false, '.', "ab\x7F\t\x80\xFF"},
        {true, '.', "a.b.\x7F\t\x80\xFF"},
        {true, '*', "a*b*\x7F\t\x80\xFF"},
        {true, 31, "a*b*\x7F\t\x80\xFF"},  // below 32: the previous one stays
        {true, 0, "a*b*\x7F\t\x80\xFF"},   // the menu's own call: flag only
        {true, 0xB7,
         "a\xB7"
         "b\xB7\x7F\t\x80\xFF"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(0, link.rx_store_init(1024));
        ASSERT_EQ(0, attach(&sink));
        EXPECT_EQ(0, link.rx_text_invisible(c.replacement, c.show));
        tick(data);
        EXPECT_EQ(Lines{c.line}, sink.lines) << c.show << " " << c.replacement;
    }
}

TEST_F(TextTest, UnusedLineBreakIsNeverReplaced)
{
    link.rx_text_invisible('.', true);
    tick("a\nb\r");
    EXPECT_EQ((Lines{"ab", ""}), sink.lines);
}

TEST_F(TextTest, SwitchingAffectsOnlyLaterBytes)
{
    tick("a\r\nb\x01");
    EXPECT_EQ((Lines{"a", "b"}), sink.lines);
    ASSERT_EQ(0, link.rx_text_line_break(rx_lb_any));
    link.rx_text_invisible(0, true);
    tick("\x01\r\nc");
    EXPECT_EQ((Lines{"a", "b.", "", "c"}), sink.lines);

    // Refresh: attach again and the whole store is converted anew.
    ASSERT_EQ(0, attach(&sink));
    ASSERT_EQ(0, link.rx_text_line_break(rx_lb_any));
    ASSERT_EQ(0, update());
    EXPECT_EQ((Lines{"a", "", "b..", "", "c"}), sink.lines);
}

TEST_F(TextTest, ResultCodesAndGuards)
{
    EXPECT_EQ(1, update());  // no buffer yet
    EXPECT_TRUE(sink.lines.empty());
    EXPECT_EQ(1, attach(nullptr));
    EXPECT_EQ(1, link.rx_text_line_break(5));
    EXPECT_EQ(1, link.rx_text_line_break(-1));
    tick("a\nb");  // still mode CR: refused modes changed nothing
    EXPECT_EQ(Lines{"ab"}, sink.lines);
}

TEST_F(TextTest, EveryPassIsOneUpdateBracket)
{
    tick("x\ry\rz");
    tick("w");
    EXPECT_EQ(2, sink.passes);
    EXPECT_EQ(0, sink.updating);
    EXPECT_EQ(0, sink.calls_outside);
}

TEST_F(TextTest, OnlyDroppedBytesOpenAnEmptyFirstLine)
{
    tick("\n\x02");
    EXPECT_EQ(Lines{""}, sink.lines);
    tick("q");
    EXPECT_EQ(Lines{"q"}, sink.lines);
}

// A view that only reads and replaces its last line: the line sink's own
// append must build the same long line from its pieces.
class PlainSink : public LineSink {
 public:
    Lines lines;
    void add_line(std::string_view text) override { lines.emplace_back(text); }
    std::string last_line() const override { return lines.empty() ? std::string() : lines.back(); }
    void replace_last_line(std::string_view text) override { lines.back() = std::string(text); }
    int line_count() const override { return int(lines.size()); }
    void begin_update() override {}
    void end_update() override {}
    void clear() override { lines.clear(); }
};

TEST_F(TextTest, ViewWithoutInPlaceAppendGetsTheSameLines)
{
    PlainSink plain;
    ASSERT_EQ(0, attach(&plain));
    const std::string long_line(2500, 'k');
    tick(long_line + "\rab");
    tick("c\r");
    EXPECT_EQ((Lines{long_line, "abc", ""}), plain.lines);
    EXPECT_TRUE(sink.lines.empty());  // the view attached before is left alone
}

// The conversion pass transcribed byte by byte, as the reference for the
// run-based one.
Lines reference(const std::string& data, int mode, bool show, char replacement)
{
    Lines lines;
    bool open = false;
    std::string buf;
    auto end_line = [&] {
        if (open)
            lines.back() += buf;
        else
            lines.push_back(buf);
        open = false;
        buf.clear();
    };
    auto flush = [&] {
        if (open)
            lines.back() += buf;
        else {
            lines.push_back(buf);
            open = true;
        }
        buf.clear();
    };
    size_t p = 0, end = data.size();
    while (p < end) {
        const unsigned char b = data[p];
        bool held = false;
        size_t step = 1;
        if (b >= 0x20 || b == 0x09)
            buf += char(b);
        else if ((b == 0x0D || b == 0x0A) && (mode == 2 || mode == 3)) {
            const unsigned char first = mode == 2 ? 0x0D : 0x0A, second = mode == 2 ? 0x0A : 0x0D;
            if (p + 1 == end) {
                --end;
                held = true;
            } else if (b == first && (unsigned char)data[p + 1] == second) {
                step = 2;
                end_line();
            }
        } else if ((b == 0x0D || b == 0x0A) && mode == 4)
            end_line();
        else if ((b == 0x0D && mode == 0) || (b == 0x0A && mode == 1))
            end_line();
        else if (b != 0x0D && b != 0x0A && show)
            buf += replacement;
        if (!held) p += step;
        if (buf.size() == 1023 || p == end) flush();
    }
    return lines;
}

std::string random_data(std::mt19937& rng, size_t n)
{
    // Mostly letters, with line breaks, invisible bytes, bytes from 0x7F up and long stretches.
    std::string s;
    std::uniform_int_distribution<int> pick(0, 99), any(0, 255);
    while (s.size() < n) {
        const int r = pick(rng);
        if (r < 20)
            s += '\r';
        else if (r < 40)
            s += '\n';
        else if (r < 45)
            s += char(any(rng) & 0x1F);
        else if (r < 47)
            s += std::string(size_t(500 + any(rng) * 8), 'L');
        else if (r < 55)
            s += char(0x7F + any(rng) % 129);  // 0x7F to 0xFF are shown as they are
        else if (r < 57)
            s += '\t';
        else
            s += char('a' + r % 26);
    }
    s.resize(n);
    return s;
}

TEST_F(TextTest, ManySmallPassesGiveTheLinesOfOneBigPass)
{
    std::mt19937 rng(20261208);
    for (int round = 0; round < 20; ++round) {
        const std::string data = random_data(rng, 6000 + round * 700);
        for (int mode = 0; mode <= 4; ++mode) {
            const bool show = round % 2;
            ASSERT_EQ(0, link.rx_store_init(1024));
            ASSERT_EQ(0, attach(&sink));
            ASSERT_EQ(0, link.rx_text_line_break(mode));
            link.rx_text_invisible('.', show);
            tick(data);
            const Lines expected = reference(data, mode, show, '.');
            ASSERT_EQ(expected, sink.lines) << "one pass, round " << round << " mode " << mode;

            ASSERT_EQ(0, link.rx_store_init(1024));
            ASSERT_EQ(0, attach(&sink));
            ASSERT_EQ(0, link.rx_text_line_break(mode));
            std::uniform_int_distribution<size_t> chunk(1, round % 3 == 0 ? 3 : 1500);
            for (size_t at = 0; at < data.size();) {
                const size_t n = std::min(chunk(rng), data.size() - at);
                tick(data.substr(at, n));
                at += n;
            }
            ASSERT_EQ(expected, sink.lines) << "small passes, round " << round << " mode " << mode;
        }
    }
}

TEST(TextStamp, FormatsTheTimeOfDay)
{
    const struct {
        std::uint32_t ms;
        const char* text;
    } cases[] = {{0, "00:00:00.000 "},
                 {((1 * 60 + 2) * 60 + 3) * 1000 + 4, "01:02:03.004 "},
                 {86399999, "23:59:59.999 "},
                 {86400000 + 5, "00:00:00.005 "}};
    for (auto c : cases) EXPECT_EQ(stamp(c.ms), c.text) << c.ms;
}

TEST_F(TextTest, StampsTakeTheDrainOfEachLinesFirstByte)
{
    struct Case {
        int mode;
        std::vector<std::pair<std::uint32_t, std::string>> drains;
        Lines lines;
    };
    const std::uint32_t a = 1000, b = 2000, c = 3000;
    const Case cases[] = {
        // A line split across drains keeps its first drain's time.
        {rx_lb_cr, {{a, "ab"}, {b, "c\rd"}, {c, "e"}}, {stamp(a) + "abc", stamp(b) + "de"}},
        // After a break the empty last line waits for its own first byte.
        {rx_lb_lf, {{a, "x\n"}, {c, "y"}}, {stamp(a) + "x", stamp(c) + "y"}},
        {rx_lb_lf, {{a, "x\n"}}, {stamp(a) + "x", ""}},
        // A CR held back for its LF belongs to the drain that brought it.
        {rx_lb_crlf, {{a, "x\r"}, {b, "\n\r"}, {c, "\ny"}}, {stamp(a) + "x", stamp(b), stamp(c) + "y"}},
        // Lines of several pieces carry one stamp.
        {rx_lb_cr, {{a, std::string(1500, 'p')}, {b, "\r"}}, {stamp(a) + std::string(1500, 'p'), ""}},
    };
    for (const Case& k : cases) {
        ASSERT_EQ(0, link.rx_store_init(1024));
        ASSERT_EQ(0, attach(&sink));
        ASSERT_EQ(0, link.rx_text_line_break(k.mode));
        link.rx_text_timestamps(true);
        for (const auto& [ms, bytes] : k.drains) tick_at(ms, bytes);
        EXPECT_EQ(k.lines, sink.lines) << "mode " << k.mode << ", " << k.drains.size() << " drains";
    }
}

TEST_F(TextTest, StampedSmallPassesEqualOneRebuildAndTheUnstampedText)
{
    std::mt19937 rng(7);
    for (int mode = 0; mode <= 4; ++mode) {
        const std::string data = random_data(rng, 20000);
        ASSERT_EQ(0, link.rx_store_init(1024));
        ASSERT_EQ(0, attach(&sink));
        ASSERT_EQ(0, link.rx_text_line_break(mode));
        link.rx_text_timestamps(true);
        std::uniform_int_distribution<size_t> chunk(1, 700);
        std::uint32_t ms = 50000;
        for (size_t at = 0; at < data.size(); ms += 37) {
            const size_t n = std::min(chunk(rng), data.size() - at);
            tick_at(ms, data.substr(at, n));
            at += n;
        }
        const Lines incremental = sink.lines;

        // "Refresh text": one pass over the whole store finds the same times.
        ASSERT_EQ(0, attach(&sink));
        ASSERT_EQ(0, link.rx_text_line_break(mode));
        ASSERT_EQ(0, update());
        ASSERT_EQ(incremental, sink.lines) << "mode " << mode;

        // Without their stamps the lines are the plain conversion, and the
        // stamps never go back in time.
        const Lines plain = reference(data, mode, false, '.');
        ASSERT_EQ(plain.size(), incremental.size());
        std::string previous;
        for (size_t i = 0; i < plain.size(); ++i) {
            const std::string& line = incremental[i];
            if (i + 1 == plain.size() && line.empty() && plain[i].empty()) break;  // waits for a byte
            ASSERT_GE(line.size(), size_t(rx_text_stamp_length)) << i;
            EXPECT_EQ(line.substr(rx_text_stamp_length), plain[i]) << "mode " << mode << " line " << i;
            EXPECT_GE(line.substr(0, rx_text_stamp_length), previous);
            previous = line.substr(0, rx_text_stamp_length);
        }
    }
}

TEST_F(TextTest, SwitchingStampsLeavesTheLineInProgress)
{
    tick_at(1000, "ab");
    link.rx_text_timestamps(true);
    tick_at(2000, "c\rd");
    link.rx_text_timestamps(false);
    tick_at(3000, "e\rf");
    EXPECT_EQ((Lines{"abc", stamp(2000) + "de", "f"}), sink.lines);
}

TEST_F(TextTest, Utf8CharactersTakeOneColumnAndJoinAcrossPassesOfEverySize)
{
    // A degree sign, a micro sign, the euro, a cut sequence, a stray continuation
    // byte and a character cut by the line break; coloured too.
    const std::string data =
        "t=24\xc2\xb0"
        "C 5\xc2\xb5s \xe2\x82\xac\r\nbad \xe2\x82 x\x80y\r\n\x1b[32mcut\xe2\x82\r\nend";
    const std::vector<std::u32string> wide = {U"t=24\u00b0C 5\u00b5s \u20ac", U"bad \ufffd\ufffd x\ufffdy",
                                              U"cut\ufffd\ufffd", U"end"};
    const Lines narrow = {
        "t=24\xb0"
        "C 5\xb5s ?",
        "bad ?? x?y", "cut??", "end"};
    for (std::size_t chunk : {1u, 2u, 3u, 5u, 100u}) {
        ASSERT_EQ(0, link.rx_store_init(1024));
        link.rx_text_utf8(true);
        link.rx_text_ansi(true);
        ASSERT_EQ(0, attach(&sink));
        ASSERT_EQ(0, link.rx_text_line_break(rx_lb_crlf));
        for (std::size_t at = 0; at < data.size(); at += chunk) tick(data.substr(at, chunk));
        ASSERT_EQ(sink.lines, narrow) << chunk;
        const RxStore* store = nullptr;
        link.rx_store_info(&store);
        for (std::size_t i = 0; i < wide.size(); ++i) {
            const std::int32_t to = i + 1 < sink.starts.size() ? sink.starts[i + 1] : store->length;
            std::u32string got(64, U'\0');
            got.resize(link.rx_text().render(store->data, sink.starts[i], to, 0, 64, nullptr, nullptr, {}, nullptr,
                                             got.data()));
            EXPECT_EQ(got, wide[i]) << chunk << " line " << i;
        }
    }
    link.rx_text_utf8(false);
    link.rx_text_ansi(false);
}

}  // namespace
