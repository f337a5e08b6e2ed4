// The real Windows clipboard: the text is read back with the raw API, and a
// clipboard held open by another window makes the copy fail with code 1.
#include <windows.h>

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>

#include "numtext/number_text.h"

namespace {

std::string raw_clipboard_text()
{
    if (!OpenClipboard(nullptr)) return "<not opened>";
    std::string text = "<no CF_TEXT>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

TEST(NumberTextClipboardWin32, TextIsOnTheSystemClipboardAsCfText)
{
    ASSERT_EQ(CopyTextToClipboard("-0x8000000000000000"), clipboard_done);
    EXPECT_EQ(raw_clipboard_text(), "-0x8000000000000000");
    ASSERT_EQ(CopyTextToClipboard(""), clipboard_done);
    EXPECT_EQ(raw_clipboard_text(), "");
}

TEST(NumberTextClipboardWin32, ClipboardHeldByAnotherWindowIsReported)
{
    std::promise<bool> opened;
    std::promise<void> release;
    // The clipboard tells holders apart by window, so the holder opens it with one.
    std::thread holder([&] {
        HWND window = CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        const bool ok = window != nullptr && OpenClipboard(window) != FALSE;
        opened.set_value(ok);
        release.get_future().wait();
        if (ok) CloseClipboard();
        if (window != nullptr) DestroyWindow(window);
    });
    const bool holder_opened = opened.get_future().get();
    const int code = CopyTextToClipboard("x");
    release.set_value();
    holder.join();
    if (!holder_opened) GTEST_SKIP() << "the helper thread could not open the clipboard";
    EXPECT_EQ(code, clipboard_not_opened);
    // Once released, the clipboard takes text again.
    EXPECT_EQ(CopyTextToClipboard("y"), clipboard_done);
    EXPECT_EQ(raw_clipboard_text(), "y");
}

}  // namespace
