// Helpers of the Wine integration tests: environment, test data, raw peer port,
// and Unix shell commands for what only the host can do (a pty that vanishes).
#include "wine_peer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <cstdlib>
#include <random>

int env_port(const char* var)
{
    const char* v = std::getenv(var);
    return v ? std::atoi(v) : 0;
}

bool under_wine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::vector<std::uint8_t> random_bytes(std::size_t n, std::uint32_t seed)
{
    std::mt19937 gen(seed);
    std::vector<std::uint8_t> v(n);
    for (auto& b : v) b = static_cast<std::uint8_t>(gen() >> 24);
    return v;
}

RawPeer::RawPeer(int port)
{
    char name[32];
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", port);
    h_ = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (h_ == INVALID_HANDLE_VALUE) return;
    COMMTIMEOUTS to{0, 0, 50, 0, 0};
    SetCommTimeouts(h_, &to);
}

RawPeer::~RawPeer()
{
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
}

bool RawPeer::write_all(const void* data, std::size_t n, DWORD timeout_ms)
{
    const DWORD start = GetTickCount();
    const auto* p = static_cast<const std::uint8_t*>(data);
    while (n > 0) {
        OVERLAPPED ov{};
        ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        const DWORD chunk = n < 16384 ? DWORD(n) : 16384;
        DWORD done = 0;
        BOOL ok = WriteFile(h_, p, chunk, &done, &ov);
        if (!ok && GetLastError() == ERROR_IO_PENDING) {
            const DWORD used = GetTickCount() - start;
            const DWORD left = used < timeout_ms ? timeout_ms - used : 0;
            if (WaitForSingleObject(ov.hEvent, left) != WAIT_OBJECT_0) {
                CancelIo(h_);
                GetOverlappedResult(h_, &ov, &done, TRUE);
                CloseHandle(ov.hEvent);
                return false;
            }
            ok = GetOverlappedResult(h_, &ov, &done, FALSE);
        }
        CloseHandle(ov.hEvent);
        if (!ok) return false;
        p += done;
        n -= done;
    }
    return true;
}

// Reads until n bytes came or nothing came for idle_timeout_ms, handing each
// block to `take`; false when the driver refused a call.
bool RawPeer::pump(std::size_t n, DWORD idle_timeout_ms, const std::function<void(const std::uint8_t*, DWORD)>& take)
{
    std::vector<std::uint8_t> buf(32768);
    std::size_t done = 0;
    DWORD last = GetTickCount();
    while (done < n && GetTickCount() - last < idle_timeout_ms) {
        DWORD errors = 0;
        COMSTAT st{};
        if (!ClearCommError(h_, &errors, &st)) return false;
        if (st.cbInQue == 0) {
            Sleep(1);
            continue;
        }
        const DWORD want = DWORD(std::min<std::size_t>({st.cbInQue, buf.size(), n - done}));
        OVERLAPPED ov{};
        ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        DWORD got = 0;
        BOOL ok = ReadFile(h_, buf.data(), want, &got, &ov);
        if (!ok && GetLastError() == ERROR_IO_PENDING) ok = GetOverlappedResult(h_, &ov, &got, TRUE);
        CloseHandle(ov.hEvent);
        if (!ok) return false;
        take(buf.data(), got);
        done += got;
        last = GetTickCount();
    }
    return true;
}

std::vector<std::uint8_t> RawPeer::read_up_to(std::size_t n, DWORD idle_timeout_ms)
{
    std::vector<std::uint8_t> out;
    // n is a bound, not a promise: reserve no more than a typical test moves,
    // so a large bound cannot exhaust a 32-bit address space.
    out.reserve(std::min<std::size_t>(n, std::size_t(4) << 20));
    pump(n, idle_timeout_ms, [&](const std::uint8_t* p, DWORD got) { out.insert(out.end(), p, p + got); });
    return out;
}

bool RawPeer::discard_pending(DWORD idle_timeout_ms)
{
    if (!pump(SIZE_MAX, idle_timeout_ms, [](const std::uint8_t*, DWORD) {})) return false;
    return PurgeComm(h_, PURGE_RXCLEAR | PURGE_TXCLEAR) != 0;
}

bool run_unix_shell(const std::string& script, DWORD timeout_ms)
{
    // Wine gives no waitable handle for a Unix process: the script leaves a mark.
    char mark[MAX_PATH];
    std::snprintf(mark, sizeof mark, "/tmp/olvex-shell-%lu-%lu.done", GetCurrentProcessId(), GetTickCount());
    std::string cmd = "/bin/sh -c \"" + script + "; touch " + mark + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA("Z:\\bin\\sh", cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    const std::string mark_win = wine_path(mark);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeout_ms) {
        if (GetFileAttributesA(mark_win.c_str()) != INVALID_FILE_ATTRIBUTES) {
            DeleteFileA(mark_win.c_str());
            return true;
        }
        Sleep(10);
    }
    return false;
}

std::string e2e_ports_missing()
{
    if (!env_port("OLVEX_COM_A") || !env_port("OLVEX_COM_B") || !std::getenv("OLVEX_DOSDEVICES"))
        return "needs the pty pair of scripts/test (OLVEX_COM_A/B, OLVEX_DOSDEVICES)";
    return {};
}

bool link_com1_to_com_a()
{
    const std::string d = std::getenv("OLVEX_DOSDEVICES"), a = std::to_string(env_port("OLVEX_COM_A"));
    return run_unix_shell("ln -sfn $(readlink '" + d + "/com" + a + "') '" + d + "/com1'", 10000);
}

std::string wine_path(const std::string& unix_path)
{
    std::string p = "Z:" + unix_path;
    for (auto& c : p)
        if (c == '/') c = '\\';
    return p;
}
