// The send-string window's pure steps: escapes with their error positions,
// every checksum's standard check value and the repeat schedule (the built
// buffer is checked on the wire by the window's tests).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tx/send_bytes.h"

using Bytes = std::vector<std::uint8_t>;

TEST(SendBytes, EscapesResolveOrNameTheBadOneAndWhereItStarts)
{
    const struct {
        std::string text;
        Bytes bytes;      // when good
        const char* bad;  // the message when not
    } cases[] = {
        {"plain", {'p', 'l', 'a', 'i', 'n'}, nullptr},
        {"a\\r\\n\\t\\0\\\\b", {'a', 13, 10, 9, 0, '\\', 'b'}, nullptr},
        {"\\x01\\x0a\\xFF\\xfF", {0x01, 0x0A, 0xFF, 0xFF}, nullptr},
        {"\\x414", {'A', '4'}, nullptr},
        {"\\\\x41", {'\\', 'x', '4', '1'}, nullptr},
        {"", {}, nullptr},
        {"abc\\q", {}, "Bad escape \"\\q\" at character 4"},
        {"abcd\\qrs", {}, "Bad escape \"\\q\" at character 5"},
        {"\\x4", {}, "Bad escape \"\\x4\" at character 1"},
        {"ok\\x4G", {}, "Bad escape \"\\x4G\" at character 3"},
        {"\\xG1", {}, "Bad escape \"\\xG\" at character 1"},
        {"\\x", {}, "Bad escape \"\\x\" at character 1"},
        {"end\\", {}, "Bad escape \"\\\" at character 4"},
        {"\\X41", {}, "Bad escape \"\\X\" at character 1"},
        {"\\r\\R", {}, "Bad escape \"\\R\" at character 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Bytes out;
        BadEscape bad;
        const bool ok = parse_escapes(c.text, out, bad);
        EXPECT_EQ(ok, c.bad == nullptr);
        if (ok)
            EXPECT_EQ(out, c.bytes);
        else
            EXPECT_EQ(bad_escape_text(bad), c.bad);
    }
}

TEST(SendBytes, EveryChecksumGivesItsStandardCheckValueInWireOrder)
{
    const std::string check = "123456789";
    const auto* data = reinterpret_cast<const std::uint8_t*>(check.data());
    const struct {
        Checksum kind;
        const char* caption;
        const char* wire;   // of "123456789"
        const char* empty;  // of no bytes at all
    } cases[] = {
        {Checksum::None, "None", "", ""},
        {Checksum::Sum8, "Sum8", "DD", "00"},
        {Checksum::Xor8, "XOR8", "31", "00"},
        {Checksum::Crc8, "CRC-8", "F4", "00"},
        {Checksum::Crc16Modbus, "CRC-16/MODBUS", "37 4B", "FF FF"},
        {Checksum::Crc16CcittFalse, "CRC-16/CCITT-FALSE", "29 B1", "FF FF"},
        {Checksum::Crc32, "CRC-32", "26 39 F4 CB", "00 00 00 00"},
    };
    ASSERT_EQ(std::size(cases), static_cast<std::size_t>(checksum_count));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        const int kind = static_cast<int>(c.kind);
        EXPECT_STREQ(checksum_caption(kind), c.caption);
        std::uint8_t out[4];
        int n = checksum_bytes(kind, data, check.size(), out);
        EXPECT_EQ(hex_bytes_text(out, n), c.wire);
        n = checksum_bytes(kind, nullptr, 0, out);
        EXPECT_EQ(hex_bytes_text(out, n), c.empty);
    }
    std::uint8_t out[4];
    EXPECT_EQ(checksum_bytes(99, data, check.size(), out), 0) << "an unknown kind is None";
    EXPECT_STREQ(checksum_caption(-1), "None");
}

TEST(SendBytes, ScheduleKeepsItsRateFromTheStartWhateverTheTicksDo)
{
    const struct {
        const char* name;
        std::uint32_t start;
        std::int32_t period;
        std::vector<std::uint32_t> ticks;  // after the start
        std::vector<std::int32_t> due;
    } cases[] = {
        {"on time", 0, 100, {100, 200, 300}, {1, 1, 1}},
        {"early tick takes nothing", 0, 100, {99, 100, 199}, {0, 1, 0}},
        {"late ticks do not drift",
         0,
         100,
         {109, 218, 327, 436, 545, 654, 763, 872, 981, 1199},
         {1, 1, 1, 1, 1, 1, 1, 1, 1, 2}},
        {"coarse ticks catch up", 0, 1, {16, 31, 47}, {16, 15, 16}},
        {"a stalled thread makes up one second at most", 0, 10, {5000, 5010}, {100, 1}},
        {"a long period makes up one slot", 0, 3600000, {7200000, 10800000}, {1, 1}},
        {"across the tick count's wrap", 0xFFFFFF00u, 100, {100, 200, 300, 400}, {1, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RepeatSchedule s;
        s.start(c.start, c.period);
        std::vector<std::int32_t> due;
        for (std::uint32_t t : c.ticks) due.push_back(s.take_due(c.start + t));
        EXPECT_EQ(due, c.due);
    }
    RepeatSchedule s;
    s.start(1000, 100);
    EXPECT_EQ(s.wait_ms(1000), 100);
    EXPECT_EQ(s.take_due(1130), 1);
    EXPECT_EQ(s.wait_ms(1130), 70) << "the next wait aims at the slot, not a period from now";
    EXPECT_EQ(s.wait_ms(1250), 1);
}

// The transfer's CRC (start 0, XMODEM) and the send window's (start FFFF) by the
// table, against values from the bit-by-bit definition: every byte value, and a
// block split in two resumes where it stopped.
TEST(SendBytes, Crc16CcittByTableMatchesTheBitwiseDefinition)
{
    std::vector<std::uint8_t> all;
    for (int i = 0; i < 1024; ++i) all.push_back(static_cast<std::uint8_t>(i));
    const std::vector<std::uint8_t> check = {'1', '2', '3', '4', '5', '6', '7', '8', '9'}, pad(128, 0x1A);
    const struct {
        const std::vector<std::uint8_t>& data;
        std::uint16_t start, crc;
    } cases[] = {{check, 0, 0x31C3}, {check, 0xFFFF, 0x29B1}, {all, 0, 0xC2E0}, {pad, 0, 0xF8B0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.crc);
        EXPECT_EQ(crc16_ccitt(c.data.data(), c.data.size(), c.start), c.crc);
        const std::size_t half = c.data.size() / 2;
        EXPECT_EQ(crc16_ccitt(c.data.data() + half, c.data.size() - half, crc16_ccitt(c.data.data(), half, c.start)),
                  c.crc);
    }
}
