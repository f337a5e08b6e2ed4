// The escape-sequence parser and the UTF-8 decoder of received text: every
// SGR code, sequences cut at every byte, the length limit, bad UTF-8 of each kind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/ansi_escape.h"
#include "link/utf8_decode.h"

namespace {

// What a terminal would show: ordinary bytes (ESC as '~'), and "<fg/bg/flags>"
// wherever the style changed, in hex.
std::string shown(AnsiParser& p, const std::string& bytes)
{
    std::string out, held;
    AnsiStyle last = p.style();
    auto mark = [&] {
        if (p.style() == last) return;
        last = p.style();
        char buf[16];
        std::snprintf(buf, sizeof buf, "<%x/%x/%x>", last.fg, last.bg, last.flags);
        out += buf;
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint8_t b = std::uint8_t(bytes[i]);
        const AnsiStep step = p.feed(b);
        if (step == AnsiStep::text) {
            out += b == 0x1B ? '~' : char(b);
        } else if (step == AnsiStep::held) {
            held += char(b);
        } else if (step == AnsiStep::consumed) {
            held.clear();
            mark();
        } else {
            EXPECT_EQ(std::size_t(p.pending()), held.size()) << bytes;
            for (char c : held) out += c == 0x1B ? '~' : c;
            held.clear();
            --i;  // fed again
        }
    }
    return out;
}

std::string shown(const std::string& bytes)
{
    AnsiParser p;
    return shown(p, bytes);
}

TEST(AnsiParser, EverySgrCode)
{
    struct Case {
        const char* bytes;
        const char* want;
    };
    const Case cases[] = {
        {"\x1b[31mA", "<1/0/1>A"},
        {"\x1b[0;32mI (310)\x1b[0m", "<2/0/1>I (310)<0/0/0>"},
        {"\x1b[97mA\x1b[90mB", "<f/0/1>A<8/0/1>B"},
        {"\x1b[44mA\x1b[107mB\x1b[49mC", "<0/4/2>A<0/f/2>B<0/0/0>C"},
        {"\x1b[1mA\x1b[2mB\x1b[22mC", "<0/0/4>A<0/0/c>B<0/0/0>C"},
        {"\x1b[3mA\x1b[23mB", "<0/0/10>A<0/0/0>B"},
        {"\x1b[4mA\x1b[24mB", "<0/0/20>A<0/0/0>B"},
        {"\x1b[7mA\x1b[27mB", "<0/0/40>A<0/0/0>B"},
        {"\x1b[35;1mA\x1b[39mB", "<5/0/5>A<0/0/4>B"},
        {"\x1b[38;5;196mA", "<c4/0/1>A"},
        {"\x1b[48;5;300mA", "<0/ff/2>A"},
        {"\x1b[38;2;255;0;0mA", "<c4/0/1>A"},
        {"\x1b[48;2;128;128;128mA", "<0/f4/2>A"},
        {"\x1b[38:5:21mA", "<15/0/1>A"},
        {"\x1b[31m\x1b[mA", "<1/0/1><0/0/0>A"},       // ESC[m resets
        {"\x1b[31;mA", "A"},                          // an empty parameter is 0
        {"\x1b[38;5mA\x1b[1;38;2;1mB", "A<0/0/4>B"},  // a colour cut short stops there
        {"\x1b[5;6;8;9;53mA", "A"},                   // codes without a look change nothing
    };
    for (const Case& c : cases) EXPECT_EQ(shown(c.bytes), c.want) << c.bytes;
}

TEST(AnsiParser, OtherSequencesAreConsumedAndBrokenOnesShown)
{
    struct Case {
        const char* bytes;
        const char* want;
    };
    const Case cases[] = {
        {"a\x1b[2Kb\x1b[1;1Hc\x1b[Jd", "abcd"},
        {"\x1b[?25lA\x1b[?25h", "A"},
        {"\x1b[?1;31mA", "A"},  // a private SGR is not SGR
        {"\x1b]0;title\x07"
         "A",
         "A"},
        {"\x1b]8;;http://x\x1b\\link", "link"},
        {"\x1b(BA\x1b"
         "7B\x1b"
         "c",
         "AB"},
        {"\x1b[31\rA", "~[31\rA"},  // a control byte ends a sequence unseen
        {"\x1b]0;ti\nA", "~]0;ti\nA"},
        {"\x1b[3\x1b[32mA", "~[3<2/0/1>A"},  // ESC starts anew
        {"\x1b\x80"
         "A",
         "~\x80"
         "A"},
        {"\x1b]x\x1b"
         "A",
         "~]x~A"},  // ESC in a string not followed by backslash
    };
    for (const Case& c : cases) EXPECT_EQ(shown(c.bytes), c.want) << c.bytes;
}

TEST(AnsiParser, SequencesCutAtEveryByteGiveTheSameResult)
{
    const std::string log = "\x1b[0;32mI (310) cpu\x1b[0m\r\n\x1b]0;t\x07\x1b[38;2;9;200;9mx\x1b[?25l\x1b[1;4my";
    const std::string whole = shown(log);
    for (std::size_t cut = 1; cut < log.size(); ++cut) {
        AnsiParser p;
        // The parser keeps its state between two pieces, as between two drains.
        const std::string first = shown(p, log.substr(0, cut));
        EXPECT_EQ(first + shown(p, log.substr(cut)), whole) << cut;
    }
}

TEST(AnsiParser, SixtyFourBytesAtMostThenShownAsTheyCame)
{
    const std::string fits = "\x1b[" + std::string(60, '0') + "1m";  // 64 bytes with its final
    EXPECT_EQ(fits.size(), 64u);
    EXPECT_EQ(shown(fits + "A"), "<0/0/4>A");
    const std::string longer = "\x1b[" + std::string(62, '1') + "m";
    EXPECT_EQ(shown(longer + "A"), "~[" + std::string(62, '1') + "mA");
    const std::string osc = "\x1b]" + std::string(70, 'x') + "\x07";
    EXPECT_EQ(shown(osc), "~]" + std::string(70, 'x') + "\x07");
}

TEST(AnsiParser, StyleCarriesAndPacksIntoFourBytes)
{
    AnsiParser p;
    shown(p, "\x1b[1;33;44ma\r\nb");
    const AnsiStyle s = p.style();
    EXPECT_EQ(AnsiStyle::unpacked(s.packed()), s);
    AnsiParser q;
    q.restart(AnsiStyle::unpacked(s.packed()));
    EXPECT_EQ(shown(q, "c\x1b[0m"), "c<0/0/0>");
    static_assert(sizeof(AnsiStyle) == 4);
}

TEST(AnsiPalette, SystemCubeGreysAndNearest)
{
    EXPECT_EQ(ansi_palette_rgb(1), 0xCD0000u);
    EXPECT_EQ(ansi_palette_rgb(16), 0x000000u);
    EXPECT_EQ(ansi_palette_rgb(196), 0xFF0000u);
    EXPECT_EQ(ansi_palette_rgb(231), 0xFFFFFFu);
    EXPECT_EQ(ansi_palette_rgb(232), 0x080808u);
    EXPECT_EQ(ansi_palette_rgb(255), 0xEEEEEEu);
    for (int i = 16; i < 256; ++i) {
        const std::uint32_t c = ansi_palette_rgb(std::uint8_t(i));
        EXPECT_EQ(ansi_palette_rgb(ansi_nearest(std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c))), c) << i;
    }
}

// Code points as "41 FFFD ..." for a byte string fed whole.
std::string decoded(Utf8Decoder& d, const std::string& bytes, bool finish = true)
{
    std::string out;
    char32_t cps[4];
    auto put = [&](int n) {
        for (int i = 0; i < n; ++i) {
            char buf[12];
            std::snprintf(buf, sizeof buf, "%s%X", out.empty() ? "" : " ", unsigned(cps[i]));
            out += buf;
        }
    };
    for (char c : bytes) put(d.feed(std::uint8_t(c), cps));
    if (finish) put(d.finish(cps));
    return out;
}

std::string decoded(const std::string& bytes)
{
    Utf8Decoder d;
    return decoded(d, bytes);
}

TEST(Utf8Decoder, CharactersAndEachKindOfBadByte)
{
    struct Case {
        const char* bytes;
        const char* want;
    };
    const Case cases[] = {
        {"A\xc2\xb0"
         "C",
         "41 B0 43"},            // degree sign
        {"\xc2\xb5s", "B5 73"},  // micro sign
        {"\xe2\x82\xac", "20AC"},
        {"\xf0\x9f\x98\x80", "1F600"},
        {"\xef\xbf\xbf", "FFFF"},
        {"\xf4\x8f\xbf\xbf", "10FFFF"},
        {"\x80"
         "A\xbf",
         "FFFD 41 FFFD"},           // a continuation byte alone
        {"\xc0\xaf", "FFFD FFFD"},  // overlong lead bytes
        {"\xc1\xbf", "FFFD FFFD"},
        {"\xe0\x80\xaf", "FFFD FFFD FFFD"},           // overlong three-byte form
        {"\xf0\x8f\xbf\xbf", "FFFD FFFD FFFD FFFD"},  // overlong four-byte form
        {"\xed\xa0\x80", "FFFD FFFD FFFD"},           // a surrogate
        {"\xf4\x90\x80\x80", "FFFD FFFD FFFD FFFD"},  // above U+10FFFF
        {"\xf5\xff\xfe", "FFFD FFFD FFFD"},
        {"\xe2\x82"
         "A",
         "FFFD FFFD 41"},                                     // cut by an ASCII byte
        {"\xf0\x9f\x98\xe2\x82\xac", "FFFD FFFD FFFD 20AC"},  // cut by a new lead byte
        {"\xe2\x82", "FFFD FFFD"},                            // cut by the end
    };
    for (const Case& c : cases) EXPECT_EQ(decoded(c.bytes), c.want) << c.bytes;
}

TEST(Utf8Decoder, SplitAtEveryByteJoinsAndEncodeRoundTrips)
{
    const std::string text =
        "t=24\xc2\xb0"
        "C \xe2\x82\xac\xf0\x9f\x98\x80 \xe2\x82 x\x80";
    const std::string whole = decoded(text);
    for (std::size_t cut = 1; cut < text.size(); ++cut) {
        Utf8Decoder d;
        const std::string a = decoded(d, text.substr(0, cut), false);
        const std::string b = decoded(d, text.substr(cut));
        EXPECT_EQ(a.empty() || b.empty() ? a + b : a + " " + b, whole) << cut;
    }
    for (char32_t c : {char32_t(0x41), char32_t(0xB0), char32_t(0x7FF), char32_t(0x800), char32_t(0xFFFD),
                       char32_t(0x10000), char32_t(0x10FFFF)}) {
        char bytes[4];
        const int n = utf8_encode(c, bytes);
        Utf8Decoder d;
        char32_t out[4];
        int got = 0;
        for (int i = 0; i < n; ++i) got = d.feed(std::uint8_t(bytes[i]), out);
        ASSERT_EQ(got, 1);
        EXPECT_EQ(out[0], c);
    }
}

}  // namespace
