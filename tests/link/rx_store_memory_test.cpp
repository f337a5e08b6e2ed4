// The store's memory: growth inside the reservation keeps the data in place,
// growth past it moves them once to a larger range with every byte kept.
#include <gtest/gtest.h>

#include "link/rx_store_memory.h"

namespace {

void fill(uint8_t* p, std::size_t from, std::size_t to)
{
    for (std::size_t i = from; i < to; ++i) p[i] = uint8_t(i * 7 + 3);
}

bool holds_pattern(const uint8_t* p, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] != uint8_t(i * 7 + 3)) return false;
    return true;
}

TEST(RxStoreMemoryTest, GrowsInPlaceThenMovesWithTheData)
{
    RxStoreMemory m(65536);
    ASSERT_TRUE(m.grow(1024, 0));
    uint8_t* first = m.data();
    ASSERT_NE(nullptr, first);
    fill(first, 0, 1024);

    std::size_t held = 1024;
    struct Step {
        std::size_t size;
        bool moves;
    };
    const Step steps[] = {
        {4096, false},   {65536, false},  // inside the first range
        {65537, true},                    // past it: twice as large
        {131072, false}, {131073, true}, {1000000, true}, {1000001, false},
    };
    for (const Step& s : steps) {
        uint8_t* before = m.data();
        ASSERT_TRUE(m.grow(s.size, held)) << s.size;
        EXPECT_EQ(s.moves, m.data() != before) << s.size;
        EXPECT_GE(m.reserved(), s.size);
        EXPECT_TRUE(holds_pattern(m.data(), held)) << s.size;
        fill(m.data(), held, s.size);  // every byte up to the size is writable
        held = s.size;
    }
    EXPECT_TRUE(holds_pattern(m.data(), held));

    // Smaller or equal sizes change nothing.
    uint8_t* now = m.data();
    ASSERT_TRUE(m.grow(10, held));
    EXPECT_EQ(now, m.data());

    m.release();
    EXPECT_EQ(nullptr, m.data());
    EXPECT_EQ(0u, m.reserved());
    ASSERT_TRUE(m.grow(100, 0));  // usable again after a release
    fill(m.data(), 0, 100);
}

TEST(RxStoreMemoryTest, PagesStayUsableUpToTheLastGrowthAfterAMove)
{
    // A move copies only the bytes held, but all pages usable before stay usable.
    RxStoreMemory m(65536);
    ASSERT_TRUE(m.grow(65536, 0));
    ASSERT_TRUE(m.grow(70000, 10));
    fill(m.data(), 0, 70000);
    EXPECT_TRUE(holds_pattern(m.data(), 70000));
}

TEST(RxStoreMemoryTest, FirstRangeLeavesTheProgramRoomAndStaysWithin32BitSizes)
{
    constexpr std::uint64_t MiB = 1 << 20, GiB = MiB << 10;
    struct Case {
        std::size_t pointer;
        std::uint64_t free;
        std::uint64_t range;
    } const cases[] = {
        {8, 0, 2 * GiB},                       // 64-bit: the whole 32-bit size range
        {4, 4 * GiB - 100 * MiB, 2 * GiB},     // large-address aware on 64-bit Windows
        {4, 2 * GiB - 100 * MiB, 1461 * MiB},  // 2 GiB process: a quarter kept back
        {4, 1 * GiB, 640 * MiB},               // no less than the spare kept back
        {4, 300 * MiB, 64 * MiB},              // nearly full: still a start
        {4, 0, 64 * MiB},                      // free space unknown
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.range, rx_store_first_reservation(c.pointer, c.free)) << c.pointer << " " << c.free;
}

TEST(RxStoreMemoryTest, FirstRangeHoldsOneAndAHalfGiBWhereTheAddressSpaceAllows)
{
    constexpr std::uint64_t GiB = std::uint64_t(1) << 30;
    if (rx_pages_free_space() < 3 * GiB) GTEST_SKIP() << "a process of 2 GiB of address space";
    RxStoreMemory m;
    ASSERT_TRUE(m.grow(4096, 0));
    EXPECT_GE(m.reserved(), 3 * GiB / 2);
}

TEST(RxStoreMemoryTest, RefusedRangesShrinkInSmallStepsDownToTheNeed)
{
    constexpr std::size_t page = 4096, MiB = 1 << 20, wanted = 2048 * MiB, need = 10 * MiB;
    // A hole just short of 2 GiB (the upper half of a 4 GiB process) is found at 1.875 GiB.
    EXPECT_EQ(1920 * MiB, rx_store_smaller_range(wanted, wanted, need, page));
    EXPECT_EQ(128 * MiB, rx_store_smaller_range(256 * MiB, wanted, need, page));
    EXPECT_EQ(need, rx_store_smaller_range(128 * MiB, wanted, need, page));  // the last try is the need itself
    EXPECT_EQ(need, rx_store_smaller_range(need, wanted, need, page));
}

}  // namespace
