// The traffic record and its frames without threads: the notes' ring, the sent
// bytes' bound, the time of day, and frames cut from scripted conversations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/time_notes.h"
#include "link/traffic_frames.h"
#include "link/traffic_record.h"

namespace {

TEST(TimeNoteRing, TakesByBytesAndMergesWhenFull)
{
    TimeNoteRing ring;
    ASSERT_TRUE(ring.create(3));
    ring.note(4, 10);
    ring.note(2, 20);
    ring.note(1, 30);
    ring.note(5, 40);  // full: joins the newest note, which keeps its time
    EXPECT_EQ(ring.size(), 3);
    std::vector<TimeNote> out;
    ring.take(5, &out);  // the first note whole, one byte of the second
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1].time_us, 20);
    EXPECT_EQ(out[1].count, 1);
    EXPECT_EQ(ring.oldest_time(), 20);
    out.clear();
    ring.take_all(out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].count, 1);
    EXPECT_EQ(out[1].count, 6);
    EXPECT_EQ(ring.oldest_time(), -1);
    ring.release();
    ring.note(1, 1);  // released: notes nothing
    EXPECT_EQ(ring.size(), 0);
}

TEST(TrafficRecord, SentBytesStayWithinTheBoundOldestWriteFirst)
{
    TrafficRecord r;
    r.set_tx_bound(4096);
    const std::vector<std::uint8_t> block(1000, 'a');
    for (int i = 0; i < 5; ++i) r.tx_writes({{i * 10, 1000}}, block.data(), block.size());
    // Five writes of 1000 bytes and 16 bytes each do not fit 4096; four do.
    EXPECT_EQ(r.tx_dropped(), 1000);
    EXPECT_EQ(r.tx_first_write(), 1u);
    EXPECT_EQ(r.tx_kept_from(), 1000);
    EXPECT_EQ(r.tx_write_pos(2), 2000);
    EXPECT_EQ(r.tx_write_time(4), 40);
    EXPECT_EQ(r.tx_end(), 5000);
    r.tx_unrecorded(7);
    EXPECT_EQ(r.tx_dropped(), 1007);
    r.clear();
    EXPECT_EQ(r.tx_dropped(), 0);
    EXPECT_EQ(r.tx_write_count(), 0u);
    EXPECT_EQ(r.memory(), 0);
}

TEST(TrafficRecord, ReadsWithoutNotesTakeTheFallbackTime)
{
    TrafficRecord r;
    r.rx_reads(0, 10, {{100, 4}}, 500);
    ASSERT_EQ(r.rx_read_count(), 2u);
    EXPECT_EQ(r.rx_read_pos(1), 4);
    EXPECT_EQ(r.rx_read_time(1), 500);
    r.rx_reads(12, 3, {{600, 3}}, 700);  // bytes 10 and 11 came unseen
    ASSERT_EQ(r.rx_read_count(), 4u);
    EXPECT_EQ(r.rx_read_pos(2), 10);
    EXPECT_EQ(r.rx_read_time(2), 500);
    EXPECT_EQ(r.rx_end(), 15);
}

TEST(TrafficRecord, TimeOfDayKeepsItsAnchorUntilTheClocksDrift)
{
    struct Case {
        std::int64_t at_us;
        std::uint32_t told_ms;
        std::int64_t ask_us;
        std::uint32_t want_ms;
    };
    TrafficRecord r;
    r.anchor(1000000, 50000);
    const Case cases[] = {
        {2000000, 51004, 2000000, 51000},  // 4 ms apart: the first anchor holds
        {3000000, 52500, 3000000, 52500},  // 500 ms apart: tied again
        {3000000, 52500, 2999500, 52499},  // half a millisecond before: rounded down
        {4000000, 0, 4000000, 0},          // midnight: the day starts again
        {4000000, 0, 3999000, 86399999},   // and a moment before it
    };
    for (const Case& c : cases) {
        r.anchor(c.at_us, c.told_ms);
        EXPECT_EQ(r.time_of_day_ms(c.ask_us), c.want_ms) << c.at_us << " " << c.ask_us;
    }
}

// A conversation in order of time: each step one read or write.
struct Step {
    TrafficDir dir;
    double ms;
    std::string bytes;
};

class FrameCutTest : public ::testing::Test {
 protected:
    void play(const std::vector<Step>& steps)
    {
        for (const Step& s : steps) {
            const std::int32_t n = std::int32_t(s.bytes.size());
            const std::int64_t us = std::int64_t(s.ms * 1000);
            if (s.dir == TrafficDir::rx) {
                record.rx_reads(std::int32_t(store.size()), n, {{us, n}}, us);
                store.insert(store.end(), s.bytes.begin(), s.bytes.end());
            } else {
                record.tx_writes({{us, n}}, reinterpret_cast<const std::uint8_t*>(s.bytes.data()), s.bytes.size());
            }
        }
    }
    // Each row as "R:bytes" or "T:bytes", "+" in front of a continuation.
    std::vector<std::string> rows()
    {
        frames.update(record, store.data());
        std::vector<std::string> out;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            const TrafficFrame& f = frames[i];
            if (f.file) {
                const TxFile* file = record.tx_file_at(std::size_t(f.first));
                out.push_back("F:" + (file ? file->name : "?"));
                continue;
            }
            std::string text;
            for (std::int64_t p = f.first; p < f.first + f.length; ++p)
                text += char(f.dir == TrafficDir::rx ? store[std::size_t(p)] : record.tx_byte(p));
            out.push_back(std::string(f.continuation ? "+" : "") + (f.dir == TrafficDir::rx ? "R:" : "T:") + text);
        }
        return out;
    }

    TrafficRecord record;
    std::vector<std::uint8_t> store;
    TrafficFrames frames;
};

using Rows = std::vector<std::string>;
constexpr TrafficDir rx = TrafficDir::rx;
constexpr TrafficDir tx = TrafficDir::tx;

TEST_F(FrameCutTest, CutsAtDirectionGapAndLineBreak)
{
    struct Case {
        const char* name;
        FrameRules rules;
        std::vector<Step> steps;
        Rows want;
    };
    const Case cases[] = {
        {"direction", {}, {{tx, 0, "PING\r"}, {rx, 1, "PO"}, {rx, 2, "NG\r"}}, {"T:PING\r", "R:PONG\r"}},
        {"gap below", {20}, {{rx, 0, "a"}, {rx, 19.9, "b"}}, {"R:ab"}},
        {"gap reached", {20}, {{rx, 0, "a"}, {rx, 20, "b"}}, {"R:a", "R:b"}},
        {"gap one ms", {1}, {{rx, 0, "a"}, {rx, 0.5, "b"}, {rx, 1.5, "c"}}, {"R:ab", "R:c"}},
        {"lines off", {20, false, 0}, {{rx, 0, "a\rb\r"}}, {"R:a\rb\r"}},
        {"CR", {20, true, 0}, {{rx, 0, "a\rb\r"}, {rx, 1, "c"}}, {"R:a\r", "R:b\r", "R:c"}},
        {"LF", {20, true, 1}, {{rx, 0, "a\r\nb"}}, {"R:a\r\n", "R:b"}},
        {"CR+LF across reads", {20, true, 2}, {{rx, 0, "a\r"}, {rx, 1, "\nb\rc"}}, {"R:a\r\n", "R:b\rc"}},
        {"LF+CR", {20, true, 3}, {{rx, 0, "a\n\rb"}}, {"R:a\n\r", "R:b"}},
        {"CR or LF keeps a pair", {20, true, 4}, {{rx, 0, "a\r\nb\nc\r"}}, {"R:a\r\n", "R:b\n", "R:c\r"}},
        {"sent lines", {20, true, 0}, {{tx, 0, "x\ry"}}, {"T:x\r", "T:y"}},
    };
    for (const Case& c : cases) {
        record.clear();
        store.clear();
        frames.reset();
        frames.set_rules(c.rules);
        play(c.steps);
        EXPECT_EQ(rows(), c.want) << c.name;
    }
}

TEST_F(FrameCutTest, LongFramesContinueInRowsOf4096)
{
    play({{rx, 0, std::string(5000, 'z')}, {rx, 1, std::string(4000, 'y')}});
    const Rows got = rows();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[1].substr(0, 3), "+R:");
    EXPECT_EQ(frames[0].length, 4096);
    EXPECT_EQ(frames[1].length, 4096);
    EXPECT_EQ(frames[2].length, 808);
    EXPECT_EQ(frames.gap_us(1), -1);
    EXPECT_EQ(frames.reply_us(2), -1);
}

TEST_F(FrameCutTest, GapsRepliesAndTheirSummary)
{
    frames.set_rules({20});
    play({{tx, 0, "A"},
          {rx, 41.2, "a"},
          {tx, 100, "B"},
          {tx, 101, "B"},
          {rx, 111, "b"},
          {tx, 200, "C"},
          {rx, 230, "c"},
          {rx, 260, "d"}});
    ASSERT_EQ(rows(), (Rows{"T:A", "R:a", "T:BB", "R:b", "T:C", "R:c", "R:d"}));
    EXPECT_EQ(frames.gap_us(0), -1);
    EXPECT_EQ(frames.reply_us(1), 41200);
    EXPECT_EQ(frames.gap_us(2), 58800);
    EXPECT_EQ(frames.reply_us(3), 10000);  // from the last write of the sent frame
    EXPECT_EQ(frames.reply_us(6), -1);     // a frame after a received one is no reply
    EXPECT_EQ(frames.gap_us(6), 30000);
    const ReplyStats s = frames.reply_stats();
    EXPECT_EQ(s.count, 3);
    EXPECT_EQ(s.min_us, 10000);
    EXPECT_EQ(s.median_us, 30000);
    EXPECT_EQ(s.max_us, 41200);
}

TEST_F(FrameCutTest, CutsOnlyWhatIsCompleteAndOnlyOnce)
{
    record.complete_before(5000, 5000);
    play({{rx, 1, "ab"}, {tx, 6, "Q"}, {rx, 7, "c"}});
    EXPECT_EQ(rows(), (Rows{"R:ab"}));  // the write at 6 ms may yet be joined by an earlier one
    record.complete_before(TrafficRecord::all_in, TrafficRecord::all_in);
    play({{rx, 8, "d"}});
    EXPECT_EQ(rows(), (Rows{"R:ab", "T:Q", "R:cd"}));
    // Other rules cut the whole record again.
    frames.set_rules({1});
    EXPECT_EQ(rows(), (Rows{"R:ab", "T:Q", "R:c", "R:d"}));
}

TEST_F(FrameCutTest, SentWritesDroppedBeforeTheCutAreSkipped)
{
    record.set_tx_bound(4096);
    for (int i = 0; i < 5; ++i) play({{tx, i * 50.0, std::string(1000, char('0' + i))}});
    const Rows got = rows();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].substr(0, 3), "T:1");
    EXPECT_EQ(frames.gap_us(0), -1);
}

TEST_F(FrameCutTest, AFileTooBigForTheBoundIsOneRowAndKeepsNoBytes)
{
    record.set_tx_bound(4096);
    EXPECT_FALSE(record.tx_file("small.bin", 4096, 0));
    ASSERT_TRUE(record.tx_file("fw.bin", 10000, 2));  // two bytes typed before it are still queued
    play({{tx, 0, "AB" + std::string(6000, 'f')}, {tx, 10, std::string(3990, 'f')}});
    record.tx_unrecorded(10);  // its last bytes were written while the window did not drain
    play({{tx, 12, "Z"}, {rx, 20, "ok"}});
    EXPECT_EQ(rows(), (Rows{"T:AB", "F:fw.bin", "T:Z", "R:ok"}));
    const TxFile* file = record.tx_file_at(std::size_t(frames[1].first));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->sent, 10000);
    EXPECT_EQ(file->start_us, 0);
    EXPECT_EQ(file->end_us, 10000);
    EXPECT_EQ(frames[1].length, 10000);
    EXPECT_EQ(record.tx_dropped(), 0);
    EXPECT_EQ(record.tx_end(), 3);    // AB and Z
    EXPECT_EQ(frames.gap_us(2), -1);  // the file's end was not known when Z was cut
    // A cancelled file leaves what follows kept again.
    ASSERT_TRUE(record.tx_file("big.bin", 5000, 0));
    play({{tx, 30, std::string(100, 'g')}});
    record.tx_file_end();
    play({{tx, 40, "Y"}});
    EXPECT_EQ(record.tx_file_at(record.tx_write_count() - 2)->sent, 100);
    EXPECT_EQ(record.tx_end(), 4);
    record.clear();
    EXPECT_EQ(record.tx_file_at(0), nullptr);
}

TEST(FrameGap, ClampsToItsRange)
{
    const std::pair<int, int> cases[] = {{0, 1}, {-5, 1}, {1, 1}, {20, 20}, {10000, 10000}, {10001, 10000}};
    for (auto [in, want] : cases) EXPECT_EQ(clamp_frame_gap(in), want) << in;
}

}  // namespace
