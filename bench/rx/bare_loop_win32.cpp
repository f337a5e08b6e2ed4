// Baseline for the receive benchmark: the barest Win32 poll-and-read loop on a
// COM port (queue count, overlapped read of exactly that count, write out).
// Usage: bench_rx_bare <port number> <byte count> <output file>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_clock_win32.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_rx_bare <port number> <byte count> <output file>\n");
        return 2;
    }
    const int port = std::atoi(argv[1]);
    const long long total = std::atoll(argv[2]);
    char name[32];
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", port);
    HANDLE com =
        CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (com == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "open %s failed: %lu\n", name, GetLastError());
        return 1;
    }
    HANDLE out = CreateFileA(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "create %s failed: %lu\n", argv[3], GetLastError());
        return 1;
    }
    // Same time-outs as the terminal sets; reads of what is queued complete at once.
    COMMTIMEOUTS to{0, 1, 50, 0, 0};
    SetCommTimeouts(com, &to);
    std::vector<char> buf(32768);
    OVERLAPPED ov{};
    ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::printf("ready\n");
    std::fflush(stdout);

    long long got = 0;
    double first = 0;
    while (got < total) {
        DWORD errors = 0;
        COMSTAT st{};
        if (!ClearCommError(com, &errors, &st)) {
            std::fprintf(stderr, "ClearCommError failed: %lu after %lld bytes\n", GetLastError(), got);
            return 1;
        }
        if (st.cbInQue == 0) {
            Sleep(1);
            continue;
        }
        DWORD want = st.cbInQue < buf.size() ? st.cbInQue : DWORD(buf.size());
        DWORD n = 0;
        ResetEvent(ov.hEvent);
        if (!ReadFile(com, buf.data(), want, &n, &ov)) {
            if (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(com, &ov, &n, TRUE)) {
                std::fprintf(stderr, "read failed: %lu after %lld bytes\n", GetLastError(), got);
                return 1;
            }
        }
        if (got == 0 && n > 0) first = bench_epoch_seconds();
        DWORD written = 0;
        WriteFile(out, buf.data(), n, &written, nullptr);
        got += n;
    }
    const double last = bench_epoch_seconds();
    std::printf("bytes %lld first %.6f last %.6f\n", got, first, last);
    CloseHandle(out);
    CloseHandle(ov.hEvent);
    CloseHandle(com);
    return 0;
}
