// Byte FIFO: raw ring edge cases (capacity bounds, full at capacity - 1,
// wrap-around in two pieces) and the locked transmit/receive operations.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "link/byte_fifo.h"
#include "link/data_flow.h"
#include "link/serial_link.h"
#include "link/sim_port_driver.h"

namespace {

std::vector<unsigned char> pattern(std::size_t n, unsigned seed)
{
    std::vector<unsigned char> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<unsigned char>(i * 31 + seed * 7 + (i >> 8));
    return v;
}

class ByteFifoTest : public ::testing::Test {
 protected:
    void SetUp() override { ASSERT_EQ(fifo_create(f, 65536), 0); }
    std::int32_t fill()
    {
        std::int32_t n = -1;
        EXPECT_EQ(fifo_fill(f, &n), 0);
        return n;
    }
    std::int32_t space()
    {
        std::int32_t n = -1;
        EXPECT_EQ(fifo_space(f, &n), 0);
        return n;
    }
    // Moves both positions to `offset` bytes after start.
    void move_to(std::int32_t offset)
    {
        if (offset == 0) return;
        std::vector<unsigned char> junk(static_cast<std::size_t>(offset));
        ASSERT_EQ(fifo_put(f, junk.data(), offset), 0);
        ASSERT_EQ(fifo_get(f, junk.data(), offset), 0);
    }
    ByteFifo f;
};

TEST(ByteFifoCreate, CapacityBoundsAndFailure)
{
    struct Case {
        std::int32_t capacity;
        int result;
    } cases[] = {
        {65535, 1}, {65536, 0}, {8388608, 0}, {8388609, 1}, {0, 1}, {-65536, 1},
    };
    for (const auto& c : cases) {
        ByteFifo f;
        EXPECT_EQ(fifo_create(f, c.capacity), c.result) << c.capacity;
        EXPECT_EQ(f.start != nullptr, c.result == 0) << c.capacity;
        if (c.result == 0) {
            EXPECT_EQ(f.end - f.start, c.capacity);
            EXPECT_EQ(f.read_pos, f.start);
            EXPECT_EQ(f.write_pos, f.start);
        }
        EXPECT_EQ(fifo_release(f), 0);
        EXPECT_EQ(f.start, nullptr);
        EXPECT_EQ(fifo_release(f), 0);  // releasing twice is harmless
    }
}

TEST_F(ByteFifoTest, MissingArgumentsGiveOneAndChangeNothing)
{
    unsigned char b[4] = {1, 2, 3, 4};
    ASSERT_EQ(fifo_put(f, b, 4), 0);
    EXPECT_EQ(fifo_fill(f, nullptr), 1);
    EXPECT_EQ(fifo_space(f, nullptr), 1);
    EXPECT_EQ(fifo_put(f, nullptr, 1), 1);
    EXPECT_EQ(fifo_get(f, nullptr, 1), 1);
    EXPECT_EQ(fifo_put(f, b, -1), 1);
    EXPECT_EQ(fifo_get(f, b, -1), 1);
    EXPECT_EQ(fill(), 4);
}

TEST_F(ByteFifoTest, HoldsCapacityMinusOneAndRefusesOneMore)
{
    const auto data = pattern(65535, 1);
    ASSERT_EQ(fifo_put(f, data.data(), 40000), 0);
    ASSERT_EQ(fifo_put(f, data.data() + 40000, 25535), 0);
    EXPECT_EQ(fill(), 65535);
    EXPECT_EQ(space(), 0);
    const unsigned char extra = 0xEE;
    EXPECT_EQ(fifo_put(f, &extra, 1), 2);
    EXPECT_EQ(fill(), 65535);
    std::vector<unsigned char> out(65535);
    ASSERT_EQ(fifo_get(f, out.data(), 65535), 0);
    EXPECT_EQ(out, data);
    EXPECT_EQ(fill(), 0);
    EXPECT_EQ(space(), 65535);
}

TEST_F(ByteFifoTest, PutEndingAtBufferEndWrapsWritePositionToStart)
{
    move_to(65000);
    const auto data = pattern(537, 2);
    ASSERT_EQ(fifo_put(f, data.data(), 536), 0);
    EXPECT_EQ(f.write_pos, f.start);
    ASSERT_EQ(fifo_put(f, data.data() + 536, 1), 0);
    EXPECT_EQ(f.start[0], data[536]);
    std::vector<unsigned char> out(537);
    ASSERT_EQ(fifo_get(f, out.data(), 536), 0);
    EXPECT_EQ(f.read_pos, f.start);
    ASSERT_EQ(fifo_get(f, out.data() + 536, 1), 0);
    EXPECT_EQ(out, data);
}

// Puts and gets that straddle the end in every way: the bytes come back in
// order and the levels match the modular arithmetic.
TEST_F(ByteFifoTest, WrappingPutsAndGetsKeepOrderAndLevels)
{
    struct Case {
        std::int32_t offset, put, get;
    } cases[] = {
        {65535, 2, 2},                             // one byte before the end, one after
        {65000, 1000, 1000},                       // crosses the end in the middle
        {65000, 1000, 300},                        // get stops before the end
        {65000, 1000, 700},                        // get crosses the end too
        {1, 65535, 65535},                         // full, wrapping by one
        {32768, 65535, 40000}, {0, 65535, 65535},  // full without wrapping
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "offset " << c.offset << " put " << c.put << " get " << c.get);
        ASSERT_EQ(fifo_create(f, 65536), 0);
        move_to(c.offset);
        const auto data = pattern(static_cast<std::size_t>(c.put), static_cast<unsigned>(c.offset));
        ASSERT_EQ(fifo_put(f, data.data(), c.put), 0);
        EXPECT_EQ(fill(), c.put);
        EXPECT_EQ(space(), 65535 - c.put);
        EXPECT_EQ(f.write_pos - f.start, (c.offset + c.put) % 65536);
        std::vector<unsigned char> out(static_cast<std::size_t>(c.get));
        ASSERT_EQ(fifo_get(f, out.data(), c.get), 0);
        EXPECT_TRUE(std::equal(out.begin(), out.end(), data.begin()));
        EXPECT_EQ(fill(), c.put - c.get);
        EXPECT_EQ(f.read_pos - f.start, (c.offset + c.get) % 65536);
    }
}

TEST_F(ByteFifoTest, GetBeyondFillLevelRemovesNothing)
{
    const auto data = pattern(10, 3);
    ASSERT_EQ(fifo_put(f, data.data(), 10), 0);
    std::vector<unsigned char> out(11);
    EXPECT_EQ(fifo_get(f, out.data(), 11), 2);
    EXPECT_EQ(fill(), 10);
    EXPECT_EQ(fifo_get(f, out.data(), 10), 0);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), out.begin()));
}

TEST(ByteFifoAbsent, ReportsEmptyAndRefusesData)
{
    ByteFifo f;
    std::int32_t n = -1;
    EXPECT_EQ(fifo_fill(f, &n), 0);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(fifo_space(f, &n), 0);
    EXPECT_EQ(n, 0);
    unsigned char b = 0;
    EXPECT_EQ(fifo_put(f, &b, 1), 2);
    EXPECT_EQ(fifo_get(f, &b, 1), 2);
}

// The two sides of a link with no port, their FIFOs made by hand.
class LockedFifoTest : public ::testing::Test {
 protected:
    void SetUp() override
    {
        ASSERT_EQ(fifo_create(link.tx_side().fifo, 65536), 0);
        ASSERT_EQ(fifo_create(link.rx_side().fifo, 65536), 0);
    }

    SimPortDriver sim;
    SerialLink link{sim};
};

TEST_F(LockedFifoTest, TxPutResultCodes)
{
    const auto data = pattern(65535, 4);
    EXPECT_EQ(link.tx_put(data.data(), 0), 1);
    EXPECT_EQ(link.tx_put(nullptr, 5), 1);
    EXPECT_EQ(link.tx_fill(), 0);
    ASSERT_EQ(link.tx_put(data.data(), 100), 0);
    EXPECT_EQ(link.tx_put(data.data(), link.tx_free() + 1), 2);
    EXPECT_EQ(link.tx_fill(), 100);
    EXPECT_EQ(link.tx_put(data.data(), link.tx_free()), 0);
    EXPECT_EQ(link.tx_free(), 0);
    EXPECT_EQ(link.tx_fill(), 65535);
}

TEST_F(LockedFifoTest, TxClearEmptiesAndAsksForDrop)
{
    const auto data = pattern(5000, 5);
    ASSERT_EQ(link.tx_put(data.data(), 5000), 0);
    link.tx_clear();
    EXPECT_EQ(link.tx_fill(), 0);
    EXPECT_EQ(link.tx_free(), 65535);
    EXPECT_EQ(link.tx_side().drop_request, 1);
}

TEST_F(LockedFifoTest, FlagsAndReceiveSide)
{
    link.tx_hold(7);
    EXPECT_EQ(link.tx_side().hold, 1);
    link.tx_hold(0);
    EXPECT_EQ(link.tx_side().hold, 0);
    link.tx_side().timeout = 1;
    EXPECT_EQ(link.tx_timeout_flag(), 1);
    link.tx_timeout_reset();
    EXPECT_EQ(link.tx_timeout_flag(), 0);

    const auto data = pattern(3000, 6);
    ASSERT_EQ(fifo_put(link.rx_side().fifo, data.data(), 3000), 0);
    EXPECT_EQ(link.rx_fill(), 3000);
    std::vector<unsigned char> out(3000);
    EXPECT_EQ(link.rx_get(out.data(), 3000), 0);
    EXPECT_EQ(out, data);
    EXPECT_EQ(link.rx_fill(), 0);
}

TEST(LockedFifoDisconnected, SafeWithoutFifos)
{
    SimPortDriver sim;
    SerialLink link(sim);
    unsigned char b[3] = {};
    EXPECT_EQ(link.tx_put(b, 3), 2);
    EXPECT_EQ(link.tx_fill(), 0);
    EXPECT_EQ(link.tx_free(), 0);
    EXPECT_EQ(link.rx_fill(), 0);
    EXPECT_EQ(link.rx_get(b, 1), 2);
}

}  // namespace
