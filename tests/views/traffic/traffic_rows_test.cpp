// The Traffic page's texts: times, gaps, a frame's bytes as text and hex, and
// the CSV lines with their quoting and formula guard.
#include <gtest/gtest.h>

#include "views/traffic/traffic_rows.h"

namespace {

TEST(TrafficRows, TimesAndMilliseconds)
{
    EXPECT_EQ(traffic_time_text(((14 * 60 + 3) * 60 + 27) * 1000 + 415), "14:03:27.415");
    EXPECT_EQ(traffic_ms_text("+", 20300, 1, " ms"), "+20.3 ms");
    EXPECT_EQ(traffic_ms_text("reply ", 41249, 1, " ms"), "reply 41.2 ms");
    EXPECT_EQ(traffic_ms_text("", 5, 3, ""), "0.005");
}

TEST(TrafficRows, BytesAsTextAndHex)
{
    const struct {
        std::string bytes, text, hex;
    } cases[] = {
        {"PING\r\n", "PING<CR><LF>", "50 49 4E 47 0D 0A"},
        {std::string("\0\x1b[", 3), "<NUL><1B>[", "00 1B 5B"},
        {"\x7f\xff\t", "<7F><FF><09>", "7F FF 09"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(c.bytes.data());
        std::string text, hex;
        traffic_text_of(p, c.bytes.size(), text);
        traffic_hex_of(p, c.bytes.size(), hex);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(hex, c.hex);
    }
}

TEST(TrafficRows, CsvLinesQuoteTheTextAndGuardFormulas)
{
    TrafficRecord record;
    record.anchor(0, 1000);
    const std::string sent = "=1+1\r";
    record.tx_writes({{0, 5}}, reinterpret_cast<const std::uint8_t*>(sent.data()), sent.size());
    const std::uint8_t received[] = {'a', ',', '"', 'b'};
    record.rx_reads(0, 4, {{12500, 4}}, 0);
    RxStore store;
    store.data = received;
    store.length = 4;
    TrafficFrames frames;
    frames.update(record, store.data);
    ASSERT_EQ(frames.size(), 2u);
    std::string out = traffic_csv_header();
    traffic_csv_row(frames, 0, &store, record, out);
    traffic_csv_row(frames, 1, &store, record, out);
    EXPECT_EQ(out,
              "time,dir,gap_ms,reply_ms,length,hex,text\r\n"
              "00:00:01.000,TX,,,5,3D 31 2B 31 0D,\"'=1+1<CR>\"\r\n"
              "00:00:01.012,RX,12.500,12.500,4,61 2C 22 62,\"a,\"\"b\"\r\n");
}

TEST(TrafficRows, SentBytesDroppedForTheBoundAreLeftOut)
{
    TrafficRecord record;
    record.set_tx_bound(4096);
    const std::string block(3000, 'x');
    for (int i = 0; i < 2; ++i)
        record.tx_writes({{i * 1000, 3000}}, reinterpret_cast<const std::uint8_t*>(block.data()), block.size());
    TrafficFrame f;
    f.dir = TrafficDir::tx;
    f.first = 2000;
    f.length = 2000;
    std::string bytes;
    traffic_frame_bytes(f, nullptr, record, bytes);
    EXPECT_EQ(bytes.size(), 1000u);  // 2000..2999 went with the first write
}

TEST(TrafficRows, AFileSentAsOneEntryShowsItsNameAndSize)
{
    TrafficRecord record;
    record.set_tx_bound(4096);
    record.tx_file("fw.bin", 8000, 0);
    const std::string part(6000, 'f');
    record.tx_writes({{0, 6000}}, reinterpret_cast<const std::uint8_t*>(part.data()), part.size());
    TrafficFrames frames;
    frames.update(record, nullptr);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(traffic_file_text(frames[0], record), "<file fw.bin: 6000 of 8000 bytes, not kept>");
    std::string csv;
    traffic_csv_row(frames, 0, nullptr, record, csv);
    EXPECT_EQ(csv, "00:00:00.000,TX,,,8000,,\"<file fw.bin: 6000 of 8000 bytes, not kept>\"\r\n");
    record.clear();
    EXPECT_EQ(traffic_file_text(frames[0], record), "<file: 8000 bytes, not kept>");
}

}  // namespace
