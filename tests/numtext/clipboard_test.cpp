// Clipboard through the number-text routine, read back through the platform
// clipboard of whichever build this is.
#include <gtest/gtest.h>

#include <string>

#include "numtext/number_text.h"
#include "platform/clipboard.h"

namespace {

TEST(NumberTextClipboard, CopiedTextReadsBack)
{
    const std::string texts[] = {"0x00FF", "-0b00000001 ", "", std::string(70000, '7')};
    for (const auto& text : texts) {
        ASSERT_EQ(CopyTextToClipboard(text.c_str()), clipboard_done);
        EXPECT_EQ(clipboard_get_text(), text);
    }
}

TEST(NumberTextClipboard, MissingTextCopiesTheEmptyText)
{
    ASSERT_EQ(CopyTextToClipboard("stale"), clipboard_done);
    ASSERT_EQ(CopyTextToClipboard(nullptr), clipboard_done);
    EXPECT_EQ(clipboard_get_text(), std::string());
}

}  // namespace
