// The save-binary dialog's range check: its messages, the cut to the data,
// and negative values that only a paste brings in.
#include "rx/binary_range.h"

#include <gtest/gtest.h>

namespace {

struct RangeCase {
    const char* what;
    StartField sf;
    const char* start;
    EndField ef;
    const char* end;
    std::int32_t length;
    const char* error;  // "" when good
    std::int32_t start_out, end_out, count_out;
};

const char* const bad_start = "Invalid value of \"binary data start\"!";
const char* const bad_end = "Invalid value of \"binary data end\"!";
const char* const bad_length = "Invalid value of \"binary data length\"!";

TEST(BinaryRange, Table)
{
    using SF = StartField;
    using EF = EndField;
    const RangeCase cases[] = {
        {"end cut to the data", SF::Dec, "10", EF::EndDec, "500", 100, "", 10, 99, 90},
        {"hex length 10", SF::Dec, "0", EF::LenHex, "10", 100, "", 0, 15, 16},
        {"hex start and end", SF::Hex, "a", EF::EndHex, "1F", 100, "", 10, 31, 22},
        {"length cut to the data", SF::Dec, "90", EF::LenDec, "50", 100, "", 90, 99, 10},
        {"huge length does not wrap", SF::Dec, "5", EF::LenHex, "7FFFFFFFFFFFFFFF", 100, "", 5, 99, 95},
        {"single byte", SF::Dec, "99", EF::EndDec, "99", 100, "", 99, 99, 1},
        {"start = length", SF::Dec, "100", EF::EndDec, "100", 100,
         "Invalid value of \"binary data start\" - value higher than data len.", 0, 0, 0},
        {"empty start", SF::Dec, "", EF::EndDec, "5", 100, bad_start, 0, 0, 0},
        {"empty end", SF::Dec, "0", EF::EndHex, "", 100, bad_end, 0, 0, 0},
        {"empty length", SF::Dec, "0", EF::LenDec, "", 100, bad_length, 0, 0, 0},
        {"not a number", SF::Hex, "XYZ", EF::EndDec, "5", 100, bad_start, 0, 0, 0},
        {"zero length", SF::Dec, "3", EF::LenDec, "0", 100, "Invalid value of \"binary data length\" - zero data len!",
         0, 0, 0},
        {"end before start", SF::Dec, "20", EF::EndDec, "19", 100,
         "Invalid value of \"binary data end\" - data end before data start!", 0, 0, 0},
        {"pasted negative start", SF::Dec, "-1", EF::EndDec, "5", 100, bad_start, 0, 0, 0},
        {"pasted negative hex start", SF::Hex, "-10", EF::LenDec, "5", 100, bad_start, 0, 0, 0},
        {"pasted negative length", SF::Dec, "10", EF::LenDec, "-5", 100, bad_length, 0, 0, 0},
        {"pasted negative end", SF::Dec, "10", EF::EndDec, "-5", 100,
         "Invalid value of \"binary data end\" - data end before data start!", 0, 0, 0},
        {"start past 2^31", SF::Hex, "100000000", EF::LenDec, "1", 100,
         "Invalid value of \"binary data start\" - value higher than data len.", 0, 0, 0},
    };
    for (const RangeCase& c : cases) {
        const BinaryRange r = check_binary_range(c.sf, c.start, c.ef, c.end, c.length);
        EXPECT_EQ(r.error, c.error) << c.what;
        if (*c.error) continue;
        EXPECT_EQ(r.start, c.start_out) << c.what;
        EXPECT_EQ(r.end, c.end_out) << c.what;
        EXPECT_EQ(r.count, c.count_out) << c.what;
    }
}

TEST(BinaryRange, HexTexts)
{
    EXPECT_EQ(range_hex_text(0), "0");
    EXPECT_EQ(range_hex_text(90), "5A");
    EXPECT_EQ(range_hex_text(99), "63");
    EXPECT_EQ(range_hex_text(2147483647), "7FFFFFFF");
}

}  // namespace
