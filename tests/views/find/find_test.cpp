// The Find window's search without the window: pattern parsing and its
// refusals, the matcher over chunked sources, and the search thread.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "link/data_flow.h"
#include "link/serial_link.h"
#include "link/sim_port_driver.h"
#include "views/find/find_matcher.h"
#include "views/find/find_pattern.h"
#include "views/find/find_runner.h"
#include "views/find/rx_store_source.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytes_of(std::string_view s)
{
    return Bytes(s.begin(), s.end());
}

FindPattern pattern(std::string_view text, bool hex, bool match_case = true)
{
    PatternParse p = parse_find_pattern(text, hex, match_case);
    EXPECT_TRUE(p.pattern) << text << ": " << p.refusal;
    return p.pattern.value_or(FindPattern{});
}

// Every hit by scanning chunk by chunk.
std::vector<std::int32_t> hits(const Bytes& data, const FindPattern& p, std::int32_t chunk)
{
    const MemorySource source(data.data(), std::int32_t(data.size()));
    const Matcher m(p);
    ChunkScanner scan(source, m, nullptr, chunk);
    std::vector<std::int32_t> out;
    EXPECT_EQ(scan.each(0, std::int32_t(data.size()), [&](std::int32_t pos) { out.push_back(pos); }), ScanEnd::Done);
    return out;
}

// The same by comparing at every place, the slow and obvious way.
std::vector<std::int32_t> hits_by_hand(const Bytes& data, const FindPattern& p)
{
    std::vector<std::int32_t> out;
    for (std::size_t at = 0; at + p.bytes.size() <= data.size(); ++at) {
        bool ok = true;
        for (std::size_t i = 0; i < p.bytes.size() && ok; ++i) {
            const std::uint8_t b = p.fold_case ? fold_ascii(data[at + i]) : data[at + i];
            ok = !p.fixed[i] || b == p.bytes[i];
        }
        if (ok) out.push_back(std::int32_t(at));
    }
    return out;
}

}  // namespace

TEST(FindPattern, HexPairsWithAndWithoutBlanks)
{
    const struct {
        const char* text;
        Bytes bytes;
        Bytes fixed;
    } cases[] = {
        {"DEADBEEF", {0xDE, 0xAD, 0xBE, 0xEF}, {1, 1, 1, 1}},
        {"de ad be ef", {0xDE, 0xAD, 0xBE, 0xEF}, {1, 1, 1, 1}},
        {"  DEAD\tBE EF  ", {0xDE, 0xAD, 0xBE, 0xEF}, {1, 1, 1, 1}},
        {"DE ?? EF", {0xDE, 0x00, 0xEF}, {1, 0, 1}},
        {"DE??EF", {0xDE, 0x00, 0xEF}, {1, 0, 1}},
        {"??", {0x00}, {0}},
        {"00 ff", {0x00, 0xFF}, {1, 1}},
    };
    for (const auto& c : cases) {
        const PatternParse p = parse_find_pattern(c.text, true, true);
        ASSERT_TRUE(p.pattern) << c.text << ": " << p.refusal;
        EXPECT_EQ(p.pattern->bytes, c.bytes) << c.text;
        EXPECT_EQ(p.pattern->fixed, c.fixed) << c.text;
        EXPECT_FALSE(p.pattern->fold_case) << c.text;
    }
    // "Match case" means nothing to bytes.
    EXPECT_EQ(parse_find_pattern("4a", true, false).pattern, parse_find_pattern("4A", true, true).pattern);
}

TEST(FindPattern, RefusalsSayWhy)
{
    const struct {
        const char* text;
        bool hex;
        const char* refusal;
    } cases[] = {
        {"", false, "Empty pattern"},
        {"", true, "Empty pattern"},
        {"   ", true, "Empty pattern"},
        {"DEA", true, "Odd number of hex digits"},
        {"DE A", true, "Odd number of hex digits"},
        {"D EAD", true, "Odd number of hex digits"},
        {"???", true, "Odd number of hex digits"},
        {"DE AG", true, "Not a hex digit: \"G\""},
        {"0xDE", true, "Not a hex digit: \"x\""},
        {"DE,AD", true, "Not a hex digit: \",\""},
        {"D?", true, "A byte of any value is written ??"},
        {"?A", true, "A byte of any value is written ??"},
    };
    for (const auto& c : cases) {
        const PatternParse p = parse_find_pattern(c.text, c.hex, true);
        EXPECT_FALSE(p.pattern) << c.text;
        EXPECT_EQ(p.refusal, c.refusal) << c.text;
    }
}

TEST(FindPattern, TextIsItsOwnBytesFoldedUnlessMatchCase)
{
    FindPattern p = pattern("Err 4?", false, true);
    EXPECT_EQ(p.bytes, bytes_of("Err 4?"));
    EXPECT_EQ(p.fixed, Bytes(6, 1));
    EXPECT_FALSE(p.fold_case);
    p = pattern("Err \xC4", false, false);
    EXPECT_EQ(p.bytes, bytes_of("err \xC4")) << "only ASCII letters fold";
    EXPECT_TRUE(p.fold_case);
    EXPECT_EQ(pattern(" ", false).bytes, bytes_of(" ")) << "a blank is a text like any other";
}

TEST(FindMatcher, HitsAtTheEdgesOverlappingAndAcrossChunks)
{
    const struct {
        const char* name;
        std::string data;
        FindPattern pattern;
        std::vector<std::int32_t> expected;
    } cases[] = {
        {"at offset 0", "abcxyz", pattern("abc", false), {0}},
        {"ending on the last byte", "xyzabc", pattern("abc", false), {3}},
        {"one byte, first and last", "a....a", pattern("a", false), {0, 5}},
        {"whole data", "abc", pattern("abc", false), {0}},
        {"longer than the data", "ab", pattern("abc", false), {}},
        {"overlapping", "aaaa", pattern("aa", false), {0, 1, 2}},
        {"overlapping period 2", "ababab", pattern("abab", false), {0, 2}},
        {"case folded", "ERROR error ErRoR", pattern("error", false, false), {0, 6, 12}},
        {"case kept", "ERROR error ErRoR", pattern("error", false, true), {6}},
        {"folding leaves other bytes", "[{", pattern("{", false, false), {1}},
        {"wildcard", "\xDE\x01\xEF \xDE\xEF\xEF \xDE\xEF", pattern("DE ?? EF", true), {0, 4}},
        {"leading and trailing wildcards", "xABy", pattern("?? 41 42 ??", true), {0}},
        {"only wildcards", "abc", pattern("?? ????", true), {0}},
        {"only wildcards, longer than the data", "ab", pattern("?? ????", true), {}},
        {"zero bytes", std::string("\0\0\0", 3), pattern("00 00", true), {0, 1}},
    };
    for (const auto& c : cases) {
        const Bytes data = bytes_of(c.data);
        for (std::int32_t chunk : {1, 2, 3, 5, 64, find_default_chunk})
            EXPECT_EQ(hits(data, c.pattern, chunk), c.expected) << c.name << ", chunk " << chunk;
    }
}

TEST(FindMatcher, AgreesWithComparingAtEveryPlace)
{
    // A small alphabet makes hits, near misses and chunk-straddling hits common.
    std::mt19937 rng(18);
    for (int round = 0; round < 300; ++round) {
        Bytes data(std::size_t(rng() % 200));
        for (auto& b : data) b = "aAbB\xDE\xAD"[rng() % 6];
        FindPattern p;
        p.fold_case = rng() % 2;
        const std::size_t n = 1 + rng() % 5;
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t b = "abAB\xDE\xAD"[rng() % 6];
            p.bytes.push_back(p.fold_case ? fold_ascii(b) : b);
            p.fixed.push_back(rng() % 4 != 0);
        }
        const std::int32_t chunk = std::int32_t(1 + rng() % 9);
        const auto expected = hits_by_hand(data, p);
        ASSERT_EQ(hits(data, p, chunk), expected) << "round " << round << ", chunk " << chunk;

        // next() and previous() step through the same hits.
        const MemorySource source(data.data(), std::int32_t(data.size()));
        const Matcher m(p);
        ChunkScanner scan(source, m, nullptr, chunk);
        const std::int32_t size = std::int32_t(data.size());
        std::vector<std::int32_t> forward, backward;
        for (FindResult r = scan.next(0, size); r.pos >= 0; r = scan.next(r.pos + 1, size)) forward.push_back(r.pos);
        for (FindResult r = scan.previous(size, size); r.pos >= 0; r = scan.previous(r.pos, size))
            backward.insert(backward.begin(), r.pos);
        ASSERT_EQ(forward, expected) << "round " << round;
        ASSERT_EQ(backward, expected) << "round " << round;
    }
}

TEST(FindMatcher, OnlyHitsThatEndBelowTheLimitCount)
{
    const Bytes data = bytes_of("abcabcabc");
    const MemorySource source(data.data(), 9);
    const Matcher m(pattern("abc", false));
    ChunkScanner scan(source, m, nullptr, 2);
    EXPECT_EQ(scan.next(1, 8).pos, 3);
    EXPECT_EQ(scan.next(4, 8).pos, -1) << "the last abc ends past the limit";
    EXPECT_EQ(scan.previous(9, 8).pos, 3);
    EXPECT_EQ(scan.previous(3, 8).pos, 0);
    EXPECT_EQ(scan.previous(0, 8).pos, -1);
}

TEST(FindMatcher, CancelStopsBetweenChunksAndAFailedSourceIsSaid)
{
    const Bytes data(1000, 'x');
    const MemorySource source(data.data(), 1000);
    const Matcher m(pattern("y", false));
    std::atomic<bool> cancel{true};
    ChunkScanner cancelled(source, m, &cancel, 100);
    EXPECT_EQ(cancelled.next(0, 1000).end, ScanEnd::Cancelled);
    EXPECT_EQ(cancelled.previous(1000, 1000).end, ScanEnd::Cancelled);
    ChunkScanner beyond(source, m, nullptr, 100);
    EXPECT_EQ(beyond.next(0, 2000).end, ScanEnd::SourceFailed);
}

class FindRunnerTest : public ::testing::Test {
 protected:
    // All reports of one search, waited for.
    std::vector<FindReport> run(FindRunner& runner, FindRequest request)
    {
        runner.start(std::move(request));
        std::vector<FindReport> out;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (runner.busy() && std::chrono::steady_clock::now() < deadline) {
            if (auto r = runner.poll())
                out.push_back(*r);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_FALSE(runner.busy());
        return out;
    }
    static FindReport found(std::int32_t at, std::int32_t length, bool wrapped = false)
    {
        return FindReport{FindReport::Kind::Found, at, length, wrapped};
    }
    static FindReport placed(std::int32_t at, std::int64_t ordinal, std::int64_t total)
    {
        FindReport r{FindReport::Kind::Placed, at};
        r.ordinal = ordinal;
        r.total = total;
        return r;
    }
    static FindReport counted(std::int64_t total)
    {
        FindReport r{FindReport::Kind::Counted};
        r.total = total;
        return r;
    }
};

TEST_F(FindRunnerTest, NextPreviousAndCountWithWrapping)
{
    //                       0123456789012345
    const Bytes data = bytes_of("..ab....ab..ab..");
    const MemorySource source(data.data(), 16);
    FindRunner runner(source, 4);
    const FindPattern ab = pattern("ab", false);
    const FindReport not_found{FindReport::Kind::NotFound};
    const struct {
        FindKind kind;
        std::int32_t current;
        std::vector<FindReport> expected;
    } cases[] = {
        {FindKind::Next, -1, {found(2, 2), placed(2, 1, 3)}},
        {FindKind::Next, 2, {found(8, 2), placed(8, 2, 3)}},
        {FindKind::Next, 12, {found(2, 2, true), placed(2, 1, 3)}},
        {FindKind::Previous, -1, {found(12, 2), placed(12, 3, 3)}},
        {FindKind::Previous, 8, {found(2, 2), placed(2, 1, 3)}},
        {FindKind::Previous, 2, {found(12, 2, true), placed(12, 3, 3)}},
        {FindKind::Count, -1, {counted(3)}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(runner, FindRequest{ab, c.kind, c.current, 16}), c.expected)
            << int(c.kind) << " from " << c.current;
    EXPECT_EQ(run(runner, FindRequest{pattern("ba", false), FindKind::Next, -1, 16}), std::vector{not_found});
    EXPECT_EQ(run(runner, FindRequest{pattern("ba", false), FindKind::Count, -1, 16}), std::vector{counted(0)});
    // The only hit wraps onto itself.
    EXPECT_EQ(run(runner, FindRequest{ab, FindKind::Next, 2, 6}), (std::vector{found(2, 2, true), placed(2, 1, 1)}));
}

TEST_F(FindRunnerTest, CountsGrowWithTheLimitAndForgetStartsAgain)
{
    Bytes data = bytes_of("ab.ab.ab.ab");
    const MemorySource source(data.data(), std::int32_t(data.size()));
    FindRunner runner(source, 3);
    const FindPattern ab = pattern("ab", false);
    EXPECT_EQ(run(runner, FindRequest{ab, FindKind::Count, -1, 4}), std::vector{counted(1)}) << "ab at 3 ends past 4";
    EXPECT_EQ(run(runner, FindRequest{ab, FindKind::Count, -1, 5}), std::vector{counted(2)});
    EXPECT_EQ(run(runner, FindRequest{ab, FindKind::Count, -1, 11}), std::vector{counted(4)});
    // Bytes below the limit never change while the store lives; after a clear they may.
    data[0] = 'x';
    EXPECT_EQ(run(runner, FindRequest{ab, FindKind::Count, -1, 11}), std::vector{counted(4)}) << "counted before";
    runner.forget();
    EXPECT_EQ(run(runner, FindRequest{ab, FindKind::Count, -1, 11}), std::vector{counted(3)});
}

TEST_F(FindRunnerTest, PlaceAmongMoreHitsThanTheIndexKeeps)
{
    const std::int32_t size = std::int32_t(find_index_capacity) + 100;
    const Bytes data(std::size_t(size), 0);
    const MemorySource source(data.data(), size);
    FindRunner runner(source);
    const FindPattern zero = pattern("00", true);
    EXPECT_EQ(run(runner, FindRequest{zero, FindKind::Count, -1, size}), std::vector{counted(size)});
    EXPECT_EQ(run(runner, FindRequest{zero, FindKind::Previous, 700, size}),
              (std::vector{found(699, 1), placed(699, 700, size)}));
}

TEST_F(FindRunnerTest, ANewSearchCancelsTheOneRunning)
{
    // A pattern that is never there, over enough bytes to take a while.
    const Bytes data(std::size_t(64) << 20, 'x');
    const MemorySource source(data.data(), std::int32_t(data.size()));
    FindRunner runner(source, 4096);
    runner.start(FindRequest{pattern("y", false), FindKind::Count, -1, std::int32_t(data.size())});
    const auto t0 = std::chrono::steady_clock::now();
    runner.cancel();
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(500));
    EXPECT_FALSE(runner.busy());
    EXPECT_FALSE(runner.poll()) << "a cancelled search reports nothing";
    const FindPattern x = pattern("xx", false);
    runner.start(FindRequest{pattern("y", false), FindKind::Count, -1, std::int32_t(data.size())});
    EXPECT_EQ(run(runner, FindRequest{x, FindKind::Next, -1, 100}), (std::vector{found(0, 2), placed(0, 1, 99)}));
}

TEST(RxStoreSource, CopiesWhatTheStoreHoldsAndNothingBeyond)
{
    SimPortDriver sim;
    SerialLink link{sim};
    ASSERT_EQ(link.rx_store_init(1024), 0);
    std::uint8_t out[4] = {};
    const RxStoreSource source{link};
    EXPECT_FALSE(source.copy(0, 1, out)) << "no buffer yet";
    RxSide& side = link.rx_side();
    {
        std::lock_guard<std::mutex> hold(side.lock);
        ASSERT_EQ(fifo_create(side.fifo, 65536), 0);
        ASSERT_EQ(fifo_put(side.fifo, "\xDE\xAD\xBE\xEF", 4), 0);
    }
    ASSERT_EQ(link.rx_store_append(), 0);
    ASSERT_TRUE(source.copy(0, 4, out));
    EXPECT_EQ(Bytes(out, out + 4), (Bytes{0xDE, 0xAD, 0xBE, 0xEF}));
    EXPECT_FALSE(source.copy(1021, 4, out)) << "past the capacity";
    EXPECT_FALSE(source.copy(-1, 2, out));
    link.rx_store_free();
    EXPECT_FALSE(source.copy(0, 4, out)) << "freed";
    std::lock_guard<std::mutex> hold(side.lock);
    fifo_release(side.fifo);
}
