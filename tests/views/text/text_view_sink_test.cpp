// The text view filled by the received-text conversion keeps only line lengths
// and reads the characters back from the store. Whatever it paints, selects,
// copies or saves must equal the text the conversion handed over, in every
// line-break mode, across drains, with invisible bytes and time stamps.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/link/recording_sink.h"
#include "tests/link/rx_feed.h"
#include "link/serial_link.h"
#include "link/sim_port_driver.h"
#include "platform/files.h"
#include "ui/form.h"
#include "ui/headless/user.h"
#include "ui/services.h"
#include "views/text/text_save.h"
#include "views/text/text_view_sink.h"

namespace {

// Hands every call of the conversion to the view under test and to a recording
// of the text the conversion produced.
class Tee final : public LineSink {
 public:
    Tee(LineSink& view, RecordingSink& rec) : view_(view), rec_(rec) {}
    void add_line(std::string_view t) override { view_.add_line(t), rec_.add_line(t); }
    std::string last_line() const override { return rec_.last_line(); }
    void replace_last_line(std::string_view t) override { view_.replace_last_line(t), rec_.replace_last_line(t); }
    int line_count() const override { return rec_.line_count(); }
    void begin_update() override { view_.begin_update(), rec_.begin_update(); }
    void end_update() override { view_.end_update(), rec_.end_update(); }
    void clear() override { view_.clear(), rec_.clear(); }
    void append_to_last_line(std::string_view t) override { view_.append_to_last_line(t), rec_.append_to_last_line(t); }
    void line_starts_at(int32_t p) override { view_.line_starts_at(p), rec_.line_starts_at(p); }
    void line_style(std::uint32_t s) override { view_.line_style(s); }
    void last_line_stamped() override { view_.last_line_stamped(); }
    void converted_from(const RxStore& s, const RxText& t) override { view_.converted_from(s, t); }

 private:
    LineSink& view_;
    RecordingSink& rec_;
};

std::string joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (std::size_t i = 0; i < lines.size(); ++i) all += (i ? "\r\n" : "") + lines[i];
    return all;
}

// Courier 8 pt headless: cells of 7 x 11 px; the views show 20 columns, 5 rows.
class TextViewSinkTest : public ::testing::Test {
 protected:
    void SetUp() override
    {
        v.set_bounds(0, 0, 20 * 7, 5 * 11);
        own.set_bounds(0, 0, 20 * 7, 5 * 11);
        f.show();
        rx_feed_open(link);
        start(rx_lb_cr, false, false);
    }
    void start(int mode, bool show, bool stamps, bool ansi = false, bool utf8 = false)
    {
        link.rx_text_ansi(ansi);
        link.rx_text_utf8(utf8);
        ASSERT_EQ(0, link.rx_store_init(1024));
        ASSERT_EQ(0, link.rx_text_attach(&tee));
        link.rx_text_line_break(mode);
        link.rx_text_invisible('.', show);
        link.rx_text_timestamps(stamps);
        ticks = 0;
    }
    void tick(std::string_view bytes)
    {
        const RxStore* store = nullptr;
        link.rx_store_info(&store);
        const std::int32_t from = store->length;
        ASSERT_TRUE(rx_feed(link, bytes));
        ASSERT_EQ(0, link.rx_store_append());
        link.rx_text_drained(from, 1000u * ++ticks + 7u);
        ASSERT_EQ(0, link.rx_text_update(tee));
    }
    void feed(const std::string& bytes, std::size_t chunk)
    {
        for (std::size_t at = 0; at < bytes.size(); at += chunk) tick(std::string_view(bytes).substr(at, chunk));
    }
    // The view holds what the conversion produced, line for line; its
    // characters (UTF-8 read) are what the text shows of them.
    void expect_same_lines(const std::string& context)
    {
        ASSERT_EQ(int(rec.lines.size()), v.line_count()) << context;
        for (std::size_t i = 0; i < rec.lines.size(); ++i) {
            ASSERT_EQ(rec.lines[i], v.lines().line(i)) << context << i;
            // From the middle too: a column is found without the characters before it.
            const std::size_t half = rec.lines[i].size() / 2, end = rec.lines[i].size();
            ASSERT_EQ(rec.lines[i].substr(half), v.lines().text({i, half}, {i, end})) << context << i;
            if (!v.lines().wide()) continue;
            const std::u32string chars = v.lines().wide_text({i, 0}, {i, end});
            ASSERT_EQ(chars.substr(half), v.lines().wide_text({i, half}, {i, end})) << context << i;
            for (std::size_t k = 0; k < end; ++k)
                ASSERT_EQ(chars[k] < 0x100 ? char(chars[k]) : '?', rec.lines[i][k]) << context << i << " col " << k;
        }
    }
    std::vector<std::u32string> wide_lines() const
    {
        std::vector<std::u32string> out;
        for (std::size_t i = 0; i < rec.lines.size(); ++i)
            out.push_back(v.lines().wide_text({i, 0}, {i, rec.lines[i].size()}));
        return out;
    }
    // What Save text writes of the view.
    std::string saved()
    {
        const std::string path = ::testing::TempDir() + "olvex_text_view_sink_save.txt";
        FileWriter out;
        EXPECT_EQ(0, out.open(path));
        EXPECT_EQ(0, write_text_lines(v.lines(), out));
        EXPECT_EQ(0, out.close());
        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        in.close();
        std::remove(path.c_str());
        return bytes.str();
    }
    // The same text kept as text, as a view filled line by line holds it.
    void fill_own()
    {
        own.clear();
        for (const std::string& line : rec.lines) own.add_line(line);
    }

    SimPortDriver sim;
    SerialLink link{sim};
    ui::headless::User user;
    ui::Form f{"TVForm"};
    ui::TextView v{&f, "Mtxt"};
    ui::TextView own{&f, "Own"};
    TextViewSink sink{v};
    RecordingSink rec;
    Tee tee{sink, rec};
    std::uint32_t ticks = 0;
};

TEST_F(TextViewSinkTest, LinesEqualTheConversionInEveryModeAndEveryDrainSize)
{
    static const char head[] = "ab\r\ncd\n\ref\rg\nh\r\r\n\n\x00i\x1bj\t\xff\r\n";
    // Colour codes, a cursor move, a title, and sequences that end unfinished,
    // by a line break and by their length.
    const std::string escapes =
        "\x1b[0;32mI (31) x\x1b[0m\r\n\x1b[1;4;38;5;9mred\r\nstill\x1b[2K\x1b]0;t\x07\x1b[m\r\n"
        "\x1b[3"
        "1\r\n\x1b[" +
        std::string(70, '1') + "m!\r\n";
    // UTF-8 of one to four bytes; cut by a letter, an escape and a line break;
    // a stray continuation, an overlong form, a surrogate, a code past U+10FFFF.
    const std::string utf8 =
        "t=24\xc2\xb0"
        "C 5\xc2\xb5s \xe2\x82\xac\xf0\x9f\x98\x80 "
        "cut\xe2\x82x\xc2\x1b[31m\xb0\x80\xc0\xaf\xed\xa0\x80\xf4\x90\x80\x80!"
        "\xe2\r\n\xc3\xa9";
    const std::string bytes = std::string(head, sizeof head - 1) + escapes + utf8 + std::string(1500, 'x') +
                              "\r\n\r\n\n\r" + "q" + std::string(300, '\0') + "r\x1b[33mr\r\nsome\r\nmore\r\ntail\r";
    struct Case {
        int mode;
        bool show;
        bool stamps;
        std::size_t switch_at;  // from this byte: another mode, invisible shown the other way, stamps toggled
        bool ansi = false;
        bool utf8 = false;
    } const cases[] = {
        {rx_lb_cr, false, false, 0},
        {rx_lb_lf, false, false, 0},
        {rx_lb_crlf, false, false, 0},
        {rx_lb_lfcr, false, false, 0},
        {rx_lb_any, false, false, 0},
        {rx_lb_crlf, true, false, 0},
        {rx_lb_lfcr, true, true, 0},
        {rx_lb_cr, false, true, 0},
        {rx_lb_crlf, false, false, 19},
        {rx_lb_any, true, true, 17},
        {rx_lb_lf, false, true, 20},
        {rx_lb_cr, false, false, 0, true},
        {rx_lb_lf, true, false, 0, true},
        {rx_lb_crlf, false, true, 0, true},
        {rx_lb_lfcr, true, false, 0, true},
        {rx_lb_any, false, false, 0, true},
        {rx_lb_crlf, true, true, 40, true},
        {rx_lb_lf, false, false, 70, true},
        {rx_lb_cr, false, false, 0, true, true},
        {rx_lb_lf, true, false, 0, true, true},
        {rx_lb_crlf, false, true, 0, true, true},
        {rx_lb_lfcr, true, false, 0, true, true},
        {rx_lb_any, false, false, 0, true, true},
        {rx_lb_crlf, false, false, 0, false, true},
    };
    for (const Case& c : cases) {
        std::vector<std::u32string> one_shot;
        for (std::size_t chunk : {4096u, 1u, 2u, 3u, 7u}) {
            const std::string context = "mode " + std::to_string(c.mode) + " switch " + std::to_string(c.switch_at) +
                                        " utf8 " + std::to_string(c.utf8) + " chunk " + std::to_string(chunk) +
                                        " line ";
            start(c.mode, c.show, c.stamps, c.ansi, c.utf8);
            for (std::size_t at = 0; at < bytes.size(); at += chunk) {
                std::size_t n = std::min(chunk, bytes.size() - at);
                if (c.switch_at && at < c.switch_at && at + n > c.switch_at) n = c.switch_at - at;
                if (c.switch_at && at == c.switch_at) {
                    link.rx_text_line_break((c.mode + 3) % 5);
                    link.rx_text_invisible('#', !c.show);
                    link.rx_text_timestamps(!c.stamps);
                    link.rx_text_ansi(!c.ansi);
                }
                tick(std::string_view(bytes).substr(at, n));
                at -= chunk - n;  // a shortened drain resumes where it stopped
                expect_same_lines(context);
            }
            if (c.ansi && !c.switch_at) {
                for (const std::string& line : rec.lines)
                    ASSERT_EQ(line.find("[0;32m"), std::string::npos) << context << line;
            }
            // Characters read back from the store, drain by drain, as from one pass.
            // (Time stamps differ: each drain has its own time.)
            if (c.utf8 && !c.stamps) {
                if (chunk == 4096u) one_shot = wide_lines();
                ASSERT_EQ(wide_lines(), one_shot) << context;
            }
        }
    }
}

TEST_F(TextViewSinkTest, ColoursAreDrawnFromEachLinesStartAndCarryAcrossLines)
{
    start(rx_lb_crlf, false, false, true);
    // Green from the second line to the fourth; a red word inside the first.
    feed("a \x1b[31mred\x1b[0m b\r\n\x1b[32mg1\r\ng2\r\ng3\x1b[0m plain\r\nlast", 5);
    ASSERT_EQ(rec.lines, (std::vector<std::string>{"a red b", "g1", "g2", "g3 plain", "last"}));
    const ui::Color red = ui::Color::rgb(0xCD, 0, 0), green = ui::Color::rgb(0, 0xCD, 0);
    // The colour of each character drawn, as "c:r" (red), "c:g" (green), "c:-" (the view's).
    auto colours = [&] {
        std::string out;
        const auto canvas = user.paint(v);
        for (const auto& op : canvas.ops()) {
            if (op.kind != ui::headless::OpKind::Text) continue;
            const char k = op.font.color == red ? 'r' : op.font.color == green ? 'g' : '-';
            for (char ch : op.text) (out += ch) += k;
        }
        return out;
    };
    EXPECT_EQ(colours(),
              "a- -rrerdr -b-"
              "gg1g"
              "gg2g"
              "gg3g -p-l-a-i-n-"
              "l-a-s-t-");
    // Scrolled so that the green lines paint without the line that set the colour.
    v.set_bounds(0, 0, 20 * 7, 2 * 11);
    v.set_top_row(2);
    EXPECT_EQ(colours(),
              "gg2g"
              "gg3g -p-l-a-i-n-");
    // Kept per line start: the green set inside line 1 is where lines 2 and 3 begin.
    EXPECT_NE(sink.style_at_start(2), 0u);
    EXPECT_EQ(sink.style_at_start(2), sink.style_at_start(3));
    EXPECT_EQ(sink.style_at_start(1), 0u);
    EXPECT_EQ(sink.style_at_start(4), 0u);
}

TEST_F(TextViewSinkTest, ColumnsFarAlongALongLineWithDroppedBytes)
{
    // LF text seen in CR mode: one line of about 300 000 characters, every LF
    // dropped; with UTF-8 read, characters of two bytes and cut ones.
    for (bool utf8 : {false, true}) {
        start(rx_lb_cr, false, false, false, utf8);
        std::string bytes;
        for (int i = 0; i < 6000; ++i) {
            for (int k = 0; k < 48; ++k) bytes += i % 2 ? "\xc2\xb5" : "ab";
            bytes += i % 3 ? "\xc2\xb0\n" : "\xe2\x82\n";
        }
        feed(bytes, 65536);
        ASSERT_EQ(1, v.line_count());
        for (std::size_t col : {290000u, 65536u, 65535u, 131071u, 200000u, 1u, 250000u})
            ASSERT_EQ(rec.lines[0].substr(col, 20), v.lines().text({0, col}, {0, col + 20})) << col << " " << utf8;
    }
}

TEST_F(TextViewSinkTest, Utf8DrawsItsCharactersOneCellEachAndCopiesAndSavesAsUtf8)
{
    const std::string bytes = "t=24\xc2\xb0\x43\r\n5\xc2\xb5s \xe2\x82\xac\xf0\x9f\x98\x80|\r\nbad\xe2\x82!";
    const struct {
        bool utf8;
        std::vector<std::u32string> drawn;  // by the wide calls
        std::string copied;                 // CF_TEXT
        std::u16string unicode;             // CF_UNICODETEXT
        std::string saved;
    } cases[] = {
        {true,
         {U"t=24\u00b0C", U"5\u00b5s \u20ac\U0001F600|", U"bad\ufffd\ufffd!"},
         "t=24\xb0\x43\r\n5\xb5s ??|\r\nbad?\x3f!",
         u"t=24\u00b0C\r\n5\u00b5s \u20ac\U0001F600|\r\nbad\ufffd\ufffd!",
         "t=24\xc2\xb0\x43\r\n5\xc2\xb5s \xe2\x82\xac\xf0\x9f\x98\x80|\r\nbad\xef\xbf\xbd\xef\xbf\xbd!"},
        // Off: a byte a character, drawn narrow in the code page; nothing wide anywhere.
        {false, {}, bytes, u"", bytes},
    };
    for (const auto& c : cases) {
        start(rx_lb_crlf, false, false, false, c.utf8);
        feed(bytes, 1);
        EXPECT_EQ(user.paint(v).wide_texts(), c.drawn) << c.utf8;
        EXPECT_EQ(v.lines().length(1), c.utf8 ? 7u : 13u) << "the four-byte character takes one column";
        v.select_all();
        ASSERT_TRUE(v.copy_selection());
        EXPECT_EQ(ui::clipboard_text().value_or("-"), c.copied);
        EXPECT_EQ(ui::clipboard_unicode_text().value_or(u""), c.unicode);
        EXPECT_EQ(saved(), c.saved) << c.utf8;
    }
}

TEST_F(TextViewSinkTest, PaintsTheSameRowsAsTheTextWithAndWithoutWordWrap)
{
    start(rx_lb_crlf, true, true);
    std::string bytes;
    for (int i = 0; i < 40; ++i) bytes += std::string(std::size_t(i * 3 % 50), char('a' + i % 26)) + "\x01\r\n";
    feed(bytes, 37);
    fill_own();
    for (bool wrap : {false, true}) {
        v.set_word_wrap(wrap);
        own.set_word_wrap(wrap);
        ASSERT_EQ(own.row_count(), v.row_count()) << wrap;
        for (std::uint64_t top : {std::uint64_t(0), std::uint64_t(7), own.max_top_row()}) {
            v.set_top_row(top);
            own.set_top_row(top);
            v.set_left_col(wrap ? 0 : 12);
            own.set_left_col(wrap ? 0 : 12);
            EXPECT_EQ(user.paint(own).texts(), user.paint(v).texts()) << wrap << " " << top;
        }
    }
}

TEST_F(TextViewSinkTest, SelectionCopyAndSaveAcrossStorePagesEqualTheText)
{
    // Lines of 100 characters over 200 KiB: selections cross many store blocks and pages.
    start(rx_lb_crlf, false, false);
    std::string bytes;
    for (int i = 0; i < 2000; ++i) bytes += std::string(100, char('A' + i % 26)) + "\r\n";
    feed(bytes, 3333);
    fill_own();
    expect_same_lines("pages ");

    struct Sel {
        ui::TextPos from, to;
    } const sels[] = {{{9, 50}, {41, 10}}, {{40, 95}, {41, 3}}, {{0, 0}, {2000, 0}}, {{1999, 100}, {7, 7}}};
    for (const Sel& s : sels) {
        own.select(s.from, s.to);
        v.select(s.from, s.to);
        EXPECT_EQ(own.selected_text(), v.selected_text());
        ASSERT_TRUE(v.copy_selection());
        EXPECT_EQ(own.selected_text(), ui::clipboard_text().value_or("")) << s.from.line;
    }

    EXPECT_EQ(joined(rec.lines), saved());
}

}  // namespace
