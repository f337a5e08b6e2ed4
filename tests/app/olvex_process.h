// olvex.exe as a separate process for the end-to-end tests: a start folder of
// its own (config.ini and saved files live there, removed at the end) and one
// run of the program in it, its main window found and closed at the end.
#pragma once

#include <windows.h>

#include <fstream>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/link/own_pty_pair.h"
#include "tests/link/wine_peer.h"
#include "tools/guidriver/guidriver.h"

// The end-to-end fixture: skipped without the pty pair of scripts/test, and
// COM1 made the pair's first end again before each case.
class OlvexE2eTest : public ::testing::Test {
 protected:
    void SetUp() override
    {
        if (const std::string why = e2e_ports_missing(); !why.empty()) GTEST_SKIP() << why;
        ASSERT_TRUE(link_com1_to_com_a());
    }
};

// The port scripts/wine-test registered with Wine's mount manager above the
// trial opens' range (COM40), its link then pointed at a pty of this test's
// own whose far end is a hand-made link one number up; number is 0 when the
// run registered none. The mount manager makes the port (and its link) while
// the session starts, perhaps after this test began, so that is waited for.
struct RegisteredPort {
    int number = env_port("OLVEX_COM_REGISTERED");
    int far_end = number + 1;
    std::unique_ptr<OwnPtyPair> pair;
    RegisteredPort()
    {
        const std::string name = "COM" + std::to_string(number);
        char target[256];
        if (number &&
            guidriver::wait_until([&] { return QueryDosDeviceA(name.c_str(), target, sizeof target) != 0; }, 10000))
            pair = std::make_unique<OwnPtyPair>(number, far_end);
    }
    bool ok() const { return pair && pair->ok(); }
};

// A fresh folder under the temporary folder, named by `prefix` and this process.
class StartFolder {
 public:
    explicit StartFolder(const std::string& prefix, std::initializer_list<const char*> files = {})
        : files_(files.begin(), files.end())
    {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        path_ = std::string(tmp) + prefix + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~StartFolder()
    {
        DeleteFileA(file("config.ini").c_str());
        for (const std::string& f : files_) DeleteFileA(file(f.c_str()).c_str());
        RemoveDirectoryA(path_.c_str());
    }
    StartFolder(const StartFolder&) = delete;
    StartFolder& operator=(const StartFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const char* name) const { return path_ + "\\" + name; }

 private:
    std::string path_;
    std::vector<std::string> files_;
};

// The main window's text view (the Text page's Mtxt), or nullptr.
inline HWND text_view_of(HWND top)
{
    for (const auto& c : guidriver::list_controls(top))
        if (c.class_name.find("TextView") != std::string::npos || c.class_name.find("Mtxt") != std::string::npos)
            return c.hwnd;
    return nullptr;
}

// A file's bytes (empty when it cannot be read).
inline std::string file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

// A file the program is writing, read until `done(bytes)` says it is all there
// or timeout_ms have passed; what it held last either way.
template <class Done>
std::string file_bytes_when(const std::string& path, Done done, int timeout_ms)
{
    std::string bytes;
    guidriver::wait_until(
        [&] {
            bytes = file_bytes(path);
            return done(bytes);
        },
        timeout_ms);
    return bytes;
}

// One run of olvex.exe started in a folder, with a command line; its main
// window is waited for.
class OlvexRun {
 public:
    explicit OlvexRun(const std::string& folder, const std::string& args = {})
    {
        char old[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, old);
        SetCurrentDirectoryA(folder.c_str());
        const bool started = guidriver::start(proc_, guidriver::exe_folder() + "olvex.exe", args);
        SetCurrentDirectoryA(old);
        if (started) top_ = guidriver::find_window("Olvex terminal", 15000, proc_.pid);
    }
    ~OlvexRun()
    {
        if (top_) PostMessageA(top_, WM_CLOSE, 0, 0);
        if (proc_.process && proc_.wait(10000) < 0) proc_.kill();
    }
    OlvexRun(const OlvexRun&) = delete;
    OlvexRun& operator=(const OlvexRun&) = delete;

    HWND top() const { return top_; }
    DWORD pid() const { return proc_.pid; }
    HANDLE process() const { return proc_.process; }
    HWND status_bar() const { return guidriver::find_control(top_, "class:msctls_statusbar32:1"); }
    // The tool bar's Connect, then the status bar saying "connected" (5 s at most).
    bool connect() const
    {
        HWND sb = status_bar();
        return guidriver::click_tool(top_, "Connect") &&
               guidriver::wait_until([&] { return guidriver::status_text(sb, 0) == "connected"; }, 5000);
    }
    int wait_exit(int ms) { return proc_.wait(ms); }
    // Closes the main window (which saves the settings) and waits for the end.
    int close()
    {
        PostMessageA(top_, WM_CLOSE, 0, 0);
        top_ = nullptr;
        return proc_.wait(10000);
    }

 private:
    guidriver::Process proc_;
    HWND top_ = nullptr;
};
