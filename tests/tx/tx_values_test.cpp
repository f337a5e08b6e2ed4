// The transmit windows' pure steps: size texts, the bar drawing, the integer
// parse, range, texts and bytes, and the send-string marks and user byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tx/integer_value.h"
#include "tx/paint_bar.h"
#include "tx/txs_form.h"
#include "ui/form.h"
#include "ui/headless/recording_canvas.h"

using Bytes = std::vector<std::uint8_t>;

TEST(TxValues, SizeTextsSwitchUnitAtTenUnits)
{
    const struct {
        double n;
        const char* text;
    } cases[] = {
        {0, "0 B"},          {8191, "8191 B"},          {10239, "10239 B"},     {10240, "10.00 kB"},
        {12800, "12.50 kB"}, {10485759, "10240.00 kB"}, {10485760, "10.00 MB"}, {1073741824, "1024.00 MB"},
        {10245, "10.00 kB"}, {10246, "10.01 kB"},
    };
    for (const auto& c : cases) EXPECT_EQ(size_text(c.n), c.text) << c.n;
}

TEST(TxValues, BarDrawsFrameFillAndCentredWholePercent)
{
    ui::Form host{"Host"};
    ui::PaintBox box{&host, "PB"};
    box.set_bounds(0, 0, 352, 27);
    PaintBar bar;
    bar_init(bar, box, ui::Color::rgb(179, 208, 244), 1);
    EXPECT_EQ(bar.last_drawn, 0);
    EXPECT_FALSE(bar_refresh(bar)) << "an unchanged value is not repainted";

    const struct {
        int value;
        const char* text;
        int fill_right;  // 0: no fill drawn
    } cases[] = {
        {0, "0%", 0}, {9999, "99%", 1 + 9999 * 350 / 10000}, {10000, "100%", 351}, {12000, "100%", 351}, {-5, "0%", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const int before = bar.last_drawn;
        bar.value = c.value;
        EXPECT_EQ(bar_refresh(bar), c.value != before);
        EXPECT_EQ(bar.last_drawn, c.value);
        ui::headless::RecordingCanvas canvas(ui::Rect{0, 0, 352, 27});
        bar_paint(bar, canvas);
        const auto& ops = canvas.ops();
        ASSERT_GE(ops.size(), 2u);
        EXPECT_EQ(ops[0].kind, ui::headless::OpKind::Rectangle);
        EXPECT_EQ(ops[0].rect, (ui::Rect{0, 0, 352, 27}));
        EXPECT_EQ(ops[0].brush.color, ui::colors::white);
        EXPECT_EQ(ops[0].pen.color, ui::colors::black);
        if (c.fill_right) {
            ASSERT_EQ(ops.size(), 3u);
            EXPECT_EQ(ops[1].rect, (ui::Rect{1, 1, c.fill_right, 26}));
            EXPECT_EQ(ops[1].brush.color, ui::Color::rgb(179, 208, 244));
        } else {
            EXPECT_EQ(ops.size(), 2u);
        }
        EXPECT_EQ(ops.back().text, c.text);
        EXPECT_EQ(ops.back().brush.style, ui::BrushStyle::Clear);
    }
}

TEST(TxValues, IntegerRangeIsTheUnionOfSignedAndUnsigned)
{
    const struct {
        const char* text;
        int radix, n;
        bool parses, fits;
    } cases[] = {
        {"255", 10, 1, true, true},
        {"-128", 10, 1, true, true},
        {"256", 10, 1, true, false},
        {"-129", 10, 1, true, false},
        {"65535", 10, 2, true, true},
        {"-32768", 10, 2, true, true},
        {"18446744073709551615", 10, 8, true, true},
        {"-9223372036854775808", 10, 8, true, true},
        {"18446744073709551616", 10, 8, false, false},
        {"-9223372036854775809", 10, 8, false, false},
        {"-FF", 16, 2, true, true},
        {"-1 0000000", 2, 1, true, true},  // -128 typed with a blank
        {"+5", 10, 1, true, true},
        {"12-3", 10, 4, false, false},
        {"", 10, 4, false, false},
        {"   ", 10, 4, true, true},
        {"0x10", 16, 4, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        IntegerValue v;
        ASSERT_EQ(parse_integer_value(c.text, c.radix, v), c.parses);
        if (c.parses) {
            EXPECT_EQ(integer_fits(v, c.n), c.fits);
        }
    }
}

TEST(TxValues, IntegerTextsAndBytesInBothOrders)
{
    const struct {
        const char* text;
        int n;
        const char *dec, *hex, *bin;
        Bytes le;
    } cases[] = {
        {"300", 2, "300", "012C", "00000001 00101100 ", {0x2C, 0x01}},
        {"-2", 2, "-2", "-0002", "-00000000 00000010 ", {0xFE, 0xFF}},
        {"255", 1, "255", "FF", "11111111 ", {0xFF}},
        {"-128", 1, "-128", "-80", "-10000000 ", {0x80}},
        {"  ", 3, "0", "000000", "00000000 00000000 00000000 ", {0, 0, 0}},
        {"18446744073709551615", 8, "18446744073709551615", "FFFFFFFFFFFFFFFF",
         "11111111 11111111 11111111 11111111 11111111 11111111 11111111 11111111 ", Bytes(8, 0xFF)},
        {"-9223372036854775808",
         8,
         "-9223372036854775808",
         "-8000000000000000",
         "-10000000 00000000 00000000 00000000 00000000 00000000 00000000 00000000 ",
         {0, 0, 0, 0, 0, 0, 0, 0x80}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        IntegerValue v;
        ASSERT_TRUE(parse_integer_value(c.text, 10, v));
        ASSERT_TRUE(integer_fits(v, c.n));
        const IntegerTexts t = integer_texts(v, c.n);
        EXPECT_EQ(t.dec, c.dec);
        EXPECT_EQ(t.hex, c.hex);
        EXPECT_EQ(t.bin, c.bin);
        // Each rewritten field parses back to the same value.
        for (auto [text, radix] : {std::pair{t.dec, 10}, {t.hex, 16}, {t.bin, 2}}) {
            IntegerValue back;
            ASSERT_TRUE(parse_integer_value(text, radix, back)) << text;
            EXPECT_EQ(back.negative, v.negative);
            EXPECT_EQ(back.negative ? static_cast<std::uint64_t>(back.s) : back.u,
                      v.negative ? static_cast<std::uint64_t>(v.s) : v.u);
        }
        std::uint8_t out[8] = {};
        ASSERT_EQ(integer_bytes(v, c.n, false, out), c.n);
        EXPECT_EQ(Bytes(out, out + c.n), c.le);
        ASSERT_EQ(integer_bytes(v, c.n, true, out), c.n);
        EXPECT_EQ(Bytes(out, out + c.n), Bytes(c.le.rbegin(), c.le.rend()));
    }
}

TEST(TxValues, EndOfLineMarksAndTheDefaultFollowingTheMode)
{
    const struct {
        int choice, mode;
        Bytes mark;
    } cases[] = {
        {0, 0, {13}}, {0, 1, {10}}, {0, 2, {13, 10}}, {0, 3, {10, 13}}, {0, 4, {13}},
        {1, 2, {42}}, {2, 2, {13}}, {3, 0, {10}},     {4, 0, {13, 10}}, {5, 0, {10, 13}},
    };
    for (const auto& c : cases) {
        std::uint8_t out[2] = {};
        const int n = string_eol_mark(c.choice, c.mode, 42, out);
        EXPECT_EQ(Bytes(out, out + n), c.mark) << c.choice << " " << c.mode;
    }
}

TEST(TxValues, UserBytesClampToTheirByte)
{
    const struct {
        const char* text;
        bool hex;
        int byte;
    } cases[] = {
        {"13", false, 13},
        {"300", false, 255},
        {"-1", false, 255},
        {"", false, 0},
        {"x", false, 0},
        {"99999999999", false, 0},  // no 32-bit number
        {"d", true, 13},
        {"0D", true, 13},
        {"FF", true, 255},
        {"100", true, 255},
        {"FFFFFFFF", true, 255},
        // More than eight significant digits: still just a value above 255.
        {"123456789", true, 255},
        {"FFFFFFFFFFFFFFFFFF", true, 255},
        {"0000000000000000000041", true, 0x41},
        {"0", true, 0},
        {"zz", true, 0},
        // Blanks and leading zeros of any length; no number is 0 however long.
        {"0 00000000000000000", true, 0},
        {" 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 4 1 ", true, 0x41},
        {"   ", true, 0},
        {"Gfffffffffffffffff", true, 0},
        {"fffffffffffffffffG", true, 0},
        {"-1", true, 0},
        {"1 0000 0000", true, 255},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.hex ? user_byte_of_hex(c.text) : user_byte_of_decimal(c.text), c.byte) << c.text;
}
