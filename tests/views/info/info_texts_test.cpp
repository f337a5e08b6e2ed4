// The Info page's texts: settings in words, the nine flow-control texts, frame
// figures and their decimals, modem lines and the RTS/DTR limit rule.
#include <gtest/gtest.h>

#include <string>

#include "link/port_driver.h"
#include "views/info/info_texts.h"

TEST(InfoTexts, SettingsInWords)
{
    EXPECT_EQ(info_port_text(true, 1), " COM1");
    EXPECT_EQ(info_port_text(true, 255), " COM255");
    EXPECT_EQ(info_port_text(false, 7), " none");

    const std::pair<std::int32_t, const char*> bauds[] = {
        {115200, " 115.200 kbd/s"}, {300, " 0.300 kbd/s"}, {1, " 0.001 kbd/s"}, {3000000, " 3000.000 kbd/s"}};
    for (auto [baud, text] : bauds) EXPECT_EQ(info_baud_text(baud), text) << baud;

    EXPECT_EQ(info_stop_text(10), " 1.0");
    EXPECT_EQ(info_stop_text(15), " 1.5");
    EXPECT_EQ(info_stop_text(20), " 2.0");
    EXPECT_EQ(info_data_bits_text(5), " 5");

    const char* parities[] = {" no", " odd", " even", " space", " mark"};
    for (int code = 0; code <= 4; ++code) EXPECT_STREQ(info_parity_text(code), parities[code]);
    EXPECT_EQ(info_parity_text(5), nullptr);
    EXPECT_EQ(info_parity_text(-1), nullptr);
}

TEST(InfoTexts, EveryFlowControlPair)
{
    // Rows: transmit handshake 0 none, 1 CTS, 2 DSR; columns: receive 0 none, 1 RTS, 2 DTR.
    const char* expected[3][3] = {
        {" none", " RTS", " DTR"},
        {" CTS", " CTS, RTS", " CTS, DTR"},
        {" DSR", " DSR, RTS", " DSR, DTR"},
    };
    for (int tx = 0; tx < 3; ++tx)
        for (int rx = 0; rx < 3; ++rx) EXPECT_STREQ(info_flow_text(tx, rx), expected[tx][rx]) << tx << "," << rx;
}

TEST(InfoTexts, FrameFiguresWithTheirDecimals)
{
    struct Case {
        std::int32_t baud, stop, parity, bits;
        const char *length, *bitrate, *byterate, *usage;
    };
    const Case cases[] = {
        {115200, 10, 0, 8, " 10.0 bit", " 90.000 kbit/s", " 11.250 kB/s", " 80.0 %"},
        // 7 data bits, even parity, 2 stop bits: 11 bits a frame.
        {9600, 20, 2, 7, " 11.0 bit", " 5.966 kbit/s", " 0.746 kB/s", " 63.6 %"},
        // 1.5 stop bits with 5 data bits; mark parity counts like any other.
        {110, 15, 4, 5, " 8.5 bit", " 0.063 kbit/s", " 0.008 kB/s", " 58.8 %"},
        {3000000, 10, 0, 8, " 10.0 bit", " 2343.750 kbit/s", " 292.969 kB/s", " 80.0 %"},
        {110, 15, 0, 5, " 7.5 bit", " 0.072 kbit/s", " 0.009 kB/s", " 66.7 %"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.baud);
        const FrameFigures f = frame_figures(c.baud, c.stop, c.parity, c.bits);
        EXPECT_EQ(frame_length_text(f), c.length);
        EXPECT_EQ(frame_bitrate_text(f), c.bitrate);
        EXPECT_EQ(frame_byterate_text(f), c.byterate);
        EXPECT_EQ(frame_usage_text(f), c.usage);
    }
    // A record that skipped the clamps gives zeros, not a division by zero.
    const FrameFigures broken = frame_figures(9600, 0, 0, -1);
    EXPECT_EQ(frame_bitrate_text(broken), " 0.000 kbit/s");
}

TEST(InfoTexts, ModemLinesAndTheRtsDtrLimitRule)
{
    EXPECT_STREQ(modem_line_text(PORT_MS_CTS_ON | PORT_MS_RLSD_ON, PORT_MS_CTS_ON), " on");
    EXPECT_STREQ(modem_line_text(PORT_MS_CTS_ON | PORT_MS_RLSD_ON, PORT_MS_RLSD_ON), " on");
    EXPECT_STREQ(modem_line_text(PORT_MS_CTS_ON, PORT_MS_DSR_ON), " off");
    EXPECT_STREQ(modem_line_text(0xffffffffu & ~PORT_MS_RING_ON, PORT_MS_RING_ON), " off");

    struct Case {
        std::int32_t handshake, line;
        std::uint32_t queue, xon, xoff;
        const char* text;  // nullptr: keeps its previous text
    };
    const Case cases[] = {
        {0, 1, 5000, 2048, 512, " on"},                                     // no handshake: the line is simply on
        {2, 1, 5000, 2048, 512, " on"},                                     // RTS while DTR is the handshake line
        {1, 2, 5000, 2048, 512, " on"},                                     // and the other way round
        {1, 1, 2048, 2048, 512, " off"},                                    // from XonLim up
        {1, 1, 9000, 2048, 512, " off"},  {1, 1, 512, 2048, 512, " on"},    // up to XoffLim
        {1, 1, 0, 2048, 512, " on"},      {1, 1, 513, 2048, 512, nullptr},  // between the limits
        {1, 1, 2047, 2048, 512, nullptr}, {2, 2, 1000, 2048, 512, nullptr},
        {2, 2, 3000, 2048, 512, " off"},  {1, 1, 15, 10, 20, " on"},  // both hold: " on" wins
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.handshake << " " << c.line << " " << c.queue);
        const char* t = flow_line_text(c.handshake, c.line, c.queue, c.xon, c.xoff);
        if (c.text)
            EXPECT_STREQ(t, c.text);
        else
            EXPECT_EQ(t, nullptr);
    }
    // A line the flow control leaves alone shows what the "Port" menu set.
    EXPECT_STREQ(flow_line_text(0, 1, 0, 2048, 512, false), " off");
    EXPECT_STREQ(flow_line_text(2, 1, 0, 2048, 512, false), " off");
    EXPECT_STREQ(flow_line_text(1, 2, 0, 2048, 512, true), " on");
    EXPECT_STREQ(flow_line_text(1, 1, 0, 2048, 512, false), " on");  // the handshake's own line
    EXPECT_EQ(queue_count_text(4095), " 4095");
    EXPECT_EQ(queue_size_text(8192), " 8192 B");
}
