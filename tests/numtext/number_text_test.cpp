// Number text: byte groups, formatters and parsers, case by case.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "numtext/number_text.h"

namespace {

constexpr uint64_t u64_max = std::numeric_limits<uint64_t>::max();
constexpr int64_t i64_min = std::numeric_limits<int64_t>::min();
constexpr int64_t i64_max = std::numeric_limits<int64_t>::max();
constexpr uint64_t untouched = 0xDEADBEEFCAFEF00Dull;

struct BytesCase {
    std::vector<unsigned char> bytes;
    bool big_endian;
    int64_t as_signed;
    uint64_t as_unsigned;
};

TEST(NumberTextBytes, GroupsReadInBothByteOrders)
{
    const BytesCase cases[] = {
        {{0x80}, false, -128, 128},
        {{0x80}, true, -128, 128},
        {{0xFF, 0xFE}, false, -257, 0xFEFF},
        {{0xFE, 0xFF}, true, -257, 0xFEFF},
        {{0x01, 0x02, 0x03}, false, 0x030201, 0x030201},
        {{0x01, 0x02, 0x03}, true, 0x010203, 0x010203},
        {{0x00, 0x00, 0x80}, false, -8388608, 0x800000},
        {{0x7F, 0xFF, 0xFF, 0xFF}, true, 0x7FFFFFFF, 0x7FFFFFFF},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, false, -1, 0xFFFFFFFFFFull},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, false, -1, u64_max},
        {{0x80, 0, 0, 0, 0, 0, 0, 0}, true, i64_min, uint64_t{1} << 63},
        {{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08}, false, 0x0807060504030201, 0x0807060504030201},
    };
    for (const auto& c : cases) {
        const int n = static_cast<int>(c.bytes.size());
        SCOPED_TRACE(testing::Message() << "count " << n << " big-endian " << c.big_endian);
        EXPECT_EQ(BytesToSigned64(c.bytes.data(), n, c.big_endian), c.as_signed);
        EXPECT_EQ(BytesToUnsigned64(c.bytes.data(), n, c.big_endian), c.as_unsigned);
    }
}

TEST(NumberTextBytes, EmptyGroupAndOversizedCountStayDefined)
{
    const unsigned char ten[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_EQ(BytesToSigned64(ten, 0, false), 0);
    EXPECT_EQ(BytesToUnsigned64(ten, 0, true), 0u);
    EXPECT_EQ(BytesToUnsigned64(nullptr, 4, false), 0u);
    // Bytes above the eighth would lie beyond bit 63.
    EXPECT_EQ(BytesToUnsigned64(ten, 10, false), 0x0807060504030201u);
    EXPECT_EQ(BytesToUnsigned64(ten, 10, true), 0x030405060708090Au);
}

struct SignedFormatCase {
    int64_t value;
    int width;
    const char* text;
};

TEST(NumberTextFormat, Signed)
{
    const SignedFormatCase cases[] = {
        {-5, 0, "-5"},
        {0, 0, "0"},
        {i64_min, 0, "-9223372036854775808"},
        {i64_max, 0, "9223372036854775807"},
        {-1, 1, "-0x01"},
        {300, 1, "0x12C"},
        {255, 4, "0x000000FF"},
        {-1, -1, "-0b00000001 "},
        {-300, -1, "-0b00101100 "},
        {5, -2, "0b00000000 00000101 "},
        {i64_min, 8, "-0x8000000000000000"},
        {i64_min, 1, "-0x8000000000000000"},
        {i64_min, -8, "-0b10000000 00000000 00000000 00000000 00000000 00000000 00000000 00000000 "},
        {i64_min, -1, "-0b00000000 "},
        {i64_max, 8, "0x7FFFFFFFFFFFFFFF"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatSigned64(c.value, c.width), c.text) << c.value << " width " << c.width;
}

struct UnsignedFormatCase {
    uint64_t value;
    int width;
    const char* text;
};

TEST(NumberTextFormat, Unsigned)
{
    const UnsignedFormatCase cases[] = {
        {255, 2, "0x00FF"},
        {5, -2, "0b00000000 00000101 "},
        {u64_max, 0, "18446744073709551615"},
        {u64_max, 8, "0xFFFFFFFFFFFFFFFF"},
        {u64_max, 1, "0xFFFFFFFFFFFFFFFF"},
        {0x1FF, -1, "0b11111111 "},
        {0, 3, "0x000000"},
        {u64_max, -8, "0b11111111 11111111 11111111 11111111 11111111 11111111 11111111 11111111 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatUnsigned64(c.value, c.width), c.text) << c.value << " width " << c.width;
}

TEST(NumberTextFormat, WidthsBeyondEightBytesAreHeldToEight)
{
    EXPECT_EQ(FormatUnsigned64(1, 1000), "0x0000000000000001");
    EXPECT_EQ(FormatUnsigned64(1, std::numeric_limits<int>::min()), FormatUnsigned64(1, -8));
    EXPECT_EQ(FormatSigned64(-1, std::numeric_limits<int>::min()), FormatSigned64(-1, -8));
}

TEST(NumberTextFormat, FormattedTextParsesBackToTheValue)
{
    const int64_t values[] = {0, 1, -1, 127, -128, 65535, -65536, i64_max, i64_min + 1};
    for (int64_t v : values) {
        int64_t back = 0;
        ASSERT_EQ(ParseSigned64(FormatSigned64(v, 0).c_str(), &back, 10), parse_ok) << v;
        EXPECT_EQ(back, v);
        uint64_t u = 0;
        std::string hex = FormatUnsigned64(static_cast<uint64_t>(v), 8).substr(2);
        ASSERT_EQ(ParseUnsigned64(hex.c_str(), &u, 16), parse_ok) << hex;
        EXPECT_EQ(u, static_cast<uint64_t>(v));
        std::string bin = FormatUnsigned64(static_cast<uint64_t>(v), -8).substr(2);
        ASSERT_EQ(ParseUnsigned64(bin.c_str(), &u, 2), parse_ok) << bin;
        EXPECT_EQ(u, static_cast<uint64_t>(v));
    }
}

struct UnsignedParseCase {
    const char* text;
    int radix;
    int code;
    uint64_t value;  // meaningful when code is 0
};

TEST(NumberTextParse, Unsigned)
{
    const UnsignedParseCase cases[] = {
        {"18446744073709551615", 10, parse_ok, u64_max},
        {"18446744073709551616", 10, parse_overflow, 0},
        {"20000000000000000000", 10, parse_overflow, 0},
        {"000000000000000000001", 10, parse_overflow, 0},  // 21 positions
        {"00000000000000000001", 10, parse_ok, 1},         // 20 positions
        {"FFFFFFFFFFFFFFFF", 16, parse_ok, u64_max},
        {"0FFFFFFFFFFFFFFFF", 16, parse_overflow, 0},
        {"1 000", 10, parse_ok, 1000},
        {"00000001 00000010 ", 2, parse_ok, 258},
        {"ff", 16, parse_ok, 255},
        {"fF\t", 16, parse_ok, 255},
        {"12", 2, parse_bad_text, 0},
        {"0x10", 16, parse_bad_text, 0},
        {"0b10", 2, parse_bad_text, 0},
        {"-5", 10, parse_bad_text, 0},
        {"+5", 10, parse_bad_text, 0},
        {"", 10, parse_bad_text, 0},
        {"   ", 10, parse_ok, 0},
        {" \t ", 16, parse_ok, 0},
        {"y", 35, parse_ok, 34},
        {"z", 35, parse_bad_text, 0},
        {"9", 9, parse_bad_text, 0},
        {"1010", 2, parse_ok, 10},
        {"1111111111111111111111111111111111111111111111111111111111111111", 2, parse_ok, u64_max},
        {"10000000000000000000000000000000000000000000000000000000000000000", 2, parse_overflow, 0},
    };
    for (const auto& c : cases) {
        uint64_t value = untouched;
        EXPECT_EQ(ParseUnsigned64(c.text, &value, c.radix), c.code) << '"' << c.text << "\" radix " << c.radix;
        EXPECT_EQ(value, c.code == parse_ok ? c.value : untouched) << '"' << c.text << '"';
    }
}

struct SignedParseCase {
    const char* text;
    int radix;
    int code;
    int64_t value;
};

TEST(NumberTextParse, Signed)
{
    const SignedParseCase cases[] = {
        {"-5", 10, parse_ok, -5},
        {" - 5", 10, parse_ok, -5},
        {"+5", 10, parse_ok, 5},
        {"12-34", 10, parse_bad_text, 0},
        {"5-", 10, parse_bad_text, 0},
        {"--5", 10, parse_bad_text, 0},
        {"x-5", 10, parse_bad_text, 0},
        {"-", 10, parse_ok, 0},
        {"9223372036854775807", 10, parse_ok, i64_max},
        {"9223372036854775808", 10, parse_overflow, 0},
        {"-9223372036854775808", 10, parse_ok, i64_min},
        {"-9223372036854775809", 10, parse_overflow, 0},
        {"-18446744073709551616", 10, parse_overflow, 0},
        {"-ff", 16, parse_ok, -255},
        {"7FFFFFFFFFFFFFFF", 16, parse_ok, i64_max},
        {"8000000000000000", 16, parse_overflow, 0},
        {"", 10, parse_bad_text, 0},
        {"  ", 10, parse_ok, 0},
    };
    for (const auto& c : cases) {
        int64_t value = static_cast<int64_t>(untouched);
        EXPECT_EQ(ParseSigned64(c.text, &value, c.radix), c.code) << '"' << c.text << "\" radix " << c.radix;
        EXPECT_EQ(value, c.code == parse_ok ? c.value : static_cast<int64_t>(untouched)) << '"' << c.text << '"';
    }
}

TEST(NumberTextParse, ArgumentsAreCheckedPlaceFirstThenRadix)
{
    uint64_t u = untouched;
    int64_t s = 7;
    EXPECT_EQ(ParseUnsigned64("1", &u, 36), parse_bad_radix);
    EXPECT_EQ(ParseSigned64("1", &s, 36), parse_bad_radix);
    EXPECT_EQ(ParseUnsigned64("1", &u, 1), parse_bad_radix);
    EXPECT_EQ(ParseSigned64("1", &s, 0), parse_bad_radix);
    EXPECT_EQ(ParseUnsigned64("1", nullptr, 36), parse_no_result);
    EXPECT_EQ(ParseSigned64("1", nullptr, 36), parse_no_result);
    EXPECT_EQ(ParseUnsigned64("1", nullptr, 10), parse_no_result);
    EXPECT_EQ(ParseUnsigned64(nullptr, &u, 10), parse_bad_text);
    EXPECT_EQ(ParseSigned64(nullptr, &s, 10), parse_bad_text);
    EXPECT_EQ(u, untouched);
    EXPECT_EQ(s, 7);
}

}  // namespace
