// The native in-memory clipboard: a clipboard held by "another program" fails
// the copy with code 1 and keeps its old text.
#include <gtest/gtest.h>

#include "numtext/number_text.h"
#include "platform/clipboard.h"
#include "platform/clipboard_posix.h"

namespace {

TEST(NumberTextClipboardPosix, HeldClipboardIsReportedAndKeepsItsText)
{
    ASSERT_EQ(CopyTextToClipboard("before"), clipboard_done);
    clipboard_posix_hold(true);
    EXPECT_EQ(CopyTextToClipboard("after"), clipboard_not_opened);
    EXPECT_EQ(clipboard_get_text(), std::nullopt);
    clipboard_posix_hold(false);
    EXPECT_EQ(clipboard_get_text(), "before");
}

TEST(NumberTextClipboardPosix, TextEndsAtItsFirstZeroByte)
{
    ASSERT_EQ(clipboard_set_text(std::string_view("ab\0cd", 5)), ClipboardResult::done);
    EXPECT_EQ(clipboard_get_text(), "ab");
}

}  // namespace
