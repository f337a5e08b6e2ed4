// The received data store: block growth, its 32-bit limits, a failed growth,
// and the read codes at and beyond the length.
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <string>

#include "link/rx_store.h"
#include "link/serial_link.h"
#include "link/sim_port_driver.h"
#include "rx_feed.h"
#include "tests/link/refusing_resources.h"

namespace {

std::string bytes_from(int first, int count)
{
    std::string s;
    for (int i = 0; i < count; ++i) s.push_back(char((first + i) & 0xFF));
    return s;
}

bool refuse_growth(std::size_t)
{
    return false;
}

class StoreTest : public ::testing::Test {
 protected:
    void SetUp() override
    {
        rx_feed_open(link);
        ASSERT_EQ(0, link.rx_store_init(131072));
    }

    const RxStore& record()
    {
        const RxStore* s = nullptr;
        link.rx_store_info(&s);
        return *s;
    }

    // One drain of the given bytes.
    int drain(const std::string& bytes)
    {
        EXPECT_TRUE(rx_feed(link, bytes));
        return link.rx_store_append();
    }

    SimPortDriver sim;
    RefusingResources resources;
    SerialLink link{sim, resources};
};

TEST_F(StoreTest, InitAcceptsOnlyBlockSizesInRange)
{
    struct Case {
        int32_t block;
        int result;
    };
    const Case cases[] = {
        {1023, 1}, {1024, 0}, {8388608, 0}, {8388609, 1}, {0, 1}, {-1024, 1},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(0, link.rx_store_init(4096));
        ASSERT_EQ(0, drain("xyz"));
        EXPECT_EQ(c.result, link.rx_store_init(c.block)) << c.block;
        if (c.result == 0) {
            EXPECT_EQ(c.block, record().block_size);
            EXPECT_EQ(nullptr, record().data);
            EXPECT_EQ(0, record().length);
            EXPECT_EQ(0, record().capacity);
        } else {  // refused: the store is left as it was
            EXPECT_EQ(4096, record().block_size) << c.block;
            EXPECT_EQ(3, record().length) << c.block;
        }
    }
}

TEST_F(StoreTest, GrowsByWholeBlocksAsInTheExample)
{
    const std::string first = bytes_from(0, 10);
    const std::string more = bytes_from(10, 200000);
    ASSERT_EQ(0, drain(first));
    EXPECT_EQ(131072, record().capacity);
    EXPECT_EQ(10, record().length);
    ASSERT_EQ(0, drain(more));
    EXPECT_EQ(262144, record().capacity);
    EXPECT_EQ(200010, record().length);
    EXPECT_EQ(first + more, std::string(reinterpret_cast<const char*>(record().data), 200010));
}

TEST_F(StoreTest, LargestBlockHoldsAWholeBlockOfData)
{
    ASSERT_EQ(0, link.rx_store_init(8388608));
    // The receive FIFO holds one byte less than its largest capacity.
    ASSERT_EQ(0, drain(std::string(8388607, 'a')));
    ASSERT_EQ(0, drain("b"));
    EXPECT_EQ(8388608, record().capacity);
    EXPECT_EQ(8388608, record().length);
    ASSERT_EQ(0, drain("c"));
    EXPECT_EQ(2 * 8388608, record().capacity);
}

TEST_F(StoreTest, CapacityForNeverPassesTheSigned32BitLimit)
{
    constexpr int32_t max = std::numeric_limits<int32_t>::max();
    struct Case {
        int32_t capacity;
        int64_t needed;
        int32_t block;
        int64_t result;
    };
    const Case cases[] = {
        {0, 10, 131072, 131072},
        {131072, 200010, 131072, 262144},
        {131072, 131072, 131072, 131072},  // fits: no growth
        {0, 1, 0, -1},                     // never initialised
        {max - 1023, max, 1024, -1},       // one more block passes the limit
        {0, int64_t(max) + 1, 1024, -1},   // the length itself would wrap
        {2147481600, max, 1024, -1},
        {2147480576, 2147481600, 1024, 2147481600},  // the last whole block that fits
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.result, rx_store_capacity_for(c.capacity, c.needed, c.block))
            << c.capacity << " " << c.needed << " " << c.block;
}

TEST_F(StoreTest, AppendOfAnEmptyFifoDoesNothing)
{
    EXPECT_EQ(-1, link.rx_store_append());
    EXPECT_EQ(nullptr, record().data);
    ASSERT_EQ(0, drain("ab"));
    const RxStore before = record();
    EXPECT_EQ(-1, link.rx_store_append());
    EXPECT_EQ(before.length, record().length);
    EXPECT_EQ(before.capacity, record().capacity);
}

TEST_F(StoreTest, FailedGrowthReturns2AndKeepsStoreAndFifo)
{
    ASSERT_EQ(0, link.rx_store_init(1024));
    ASSERT_EQ(0, drain(bytes_from(0, 1000)));
    resources.growth_check = refuse_growth;
    ASSERT_EQ(0, drain(bytes_from(1000, 20)));  // still fits the first block
    EXPECT_EQ(2, drain(bytes_from(1020, 10)));  // needs a second one
    EXPECT_EQ(1020, record().length);
    EXPECT_EQ(1024, record().capacity);
    EXPECT_EQ(bytes_from(0, 1020), std::string(reinterpret_cast<const char*>(record().data), 1020));

    // The bytes it could not take wait in the FIFO for a store that can grow.
    resources.growth_check = nullptr;
    ASSERT_EQ(0, link.rx_store_append());
    EXPECT_EQ(1030, record().length);
    EXPECT_EQ(2048, record().capacity);
    EXPECT_EQ(bytes_from(0, 1030), std::string(reinterpret_cast<const char*>(record().data), 1030));
}

TEST_F(StoreTest, FirstAllocationFailureLeavesNoBuffer)
{
    resources.growth_check = refuse_growth;
    EXPECT_EQ(2, drain("a"));
    const RxStore* s = nullptr;
    EXPECT_EQ(1, link.rx_store_info(&s));
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(0, s->length);
}

TEST_F(StoreTest, ReadCodesAtAndBeyondTheLength)
{
    uint8_t buf[16] = {};
    int32_t copied = -1;
    EXPECT_EQ(1, link.rx_store_read(0, buf, 4, &copied));  // no buffer yet
    EXPECT_EQ(0, copied);
    ASSERT_EQ(0, drain(bytes_from(0, 100)));

    struct Case {
        int32_t pos;
        int32_t count;
        int result;
        int32_t copied;
    };
    const Case cases[] = {
        {0, 10, 0, 10}, {95, 10, 0, 5}, {99, 1, 0, 1}, {50, 0, 0, 0},
        {100, 1, 2, 0}, {150, 4, 2, 0}, {-1, 4, 2, 0}, {10, -5, 0, 0},
    };
    for (const Case& c : cases) {
        copied = -1;
        EXPECT_EQ(c.result, link.rx_store_read(c.pos, buf, c.count, &copied)) << c.pos;
        EXPECT_EQ(c.copied, copied) << c.pos;
        for (int i = 0; i < copied; ++i) EXPECT_EQ(uint8_t(c.pos + i), buf[i]);
    }
    EXPECT_EQ(1, link.rx_store_read(0, nullptr, 4, &copied));
    EXPECT_EQ(1, link.rx_store_read(0, buf, 4, nullptr));
}

TEST_F(StoreTest, ByteCodesAtAndBeyondTheLength)
{
    uint8_t b = 0;
    EXPECT_EQ(1, link.rx_store_byte(0, &b));  // no buffer yet
    ASSERT_EQ(0, drain(bytes_from(200, 100)));
    struct Case {
        int32_t pos;
        int result;
    };
    const Case cases[] = {{0, 0}, {99, 0}, {100, 1}, {1000, 1}, {-1, 1}};
    for (const Case& c : cases) {
        b = 0;
        EXPECT_EQ(c.result, link.rx_store_byte(c.pos, &b)) << c.pos;
        if (c.result == 0) {
            EXPECT_EQ(uint8_t(200 + c.pos), b);
        }
    }
    EXPECT_EQ(1, link.rx_store_byte(0, nullptr));
}

TEST_F(StoreTest, FreeKeepsTheBlockSizeAndInfoReportsNoBuffer)
{
    ASSERT_EQ(0, link.rx_store_init(2048));
    ASSERT_EQ(0, drain("abc"));
    const RxStore* s = nullptr;
    EXPECT_EQ(0, link.rx_store_info(&s));
    EXPECT_EQ(0, link.rx_store_free());
    EXPECT_EQ(1, link.rx_store_info(&s));
    EXPECT_EQ(0, s->length);
    EXPECT_EQ(0, s->capacity);
    EXPECT_EQ(2048, s->block_size);
    EXPECT_EQ(1, link.rx_store_info(nullptr));
    ASSERT_EQ(0, drain("d"));  // grows again after a free
    EXPECT_EQ(2048, record().capacity);
}

}  // namespace
