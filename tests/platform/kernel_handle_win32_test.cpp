// The owned kernel handle (under Wine): closed exactly once by its last owner,
// both failure values taken as none, and a refused close reported.
#include "platform/kernel_handle_win32.h"

#include <gtest/gtest.h>

namespace {

bool handle_alive(HANDLE h)
{
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
}

HANDLE new_event()
{
    return CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

TEST(KernelHandle, IsClosedOnceByItsLastOwner)
{
    HANDLE raw = new_event();
    ASSERT_NE(raw, nullptr);
    {
        KernelHandle outer;
        {
            KernelHandle first(raw);
            outer = std::move(first);  // first goes without closing it
            EXPECT_FALSE(first);
        }
        EXPECT_TRUE(handle_alive(raw));
    }
    EXPECT_FALSE(handle_alive(raw));

    KernelHandle h(new_event());
    HANDLE old = h.get();
    h.reset(new_event());
    EXPECT_FALSE(handle_alive(old));
    HANDLE kept = h.release();
    EXPECT_FALSE(h);
    EXPECT_TRUE(handle_alive(kept));
    CloseHandle(kept);
}

TEST(KernelHandle, FailureValuesHoldNothingAndACloseReportsTheSystemsAnswer)
{
    for (HANDLE none : {static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE}) {
        KernelHandle h(none);
        EXPECT_FALSE(h.valid());
        EXPECT_TRUE(h.close());
    }
    KernelHandle h(new_event());
    ASSERT_TRUE(h.valid());
    EXPECT_TRUE(h.close());
    EXPECT_FALSE(h.valid());
    EXPECT_TRUE(h.close());  // a second close has nothing to do

    // Closed behind its back: the owner's close is refused, and says why.
    HANDLE raw = new_event();
    KernelHandle stale(raw);
    CloseHandle(raw);
    EXPECT_FALSE(stale.close());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(stale.valid());
}

}  // namespace
