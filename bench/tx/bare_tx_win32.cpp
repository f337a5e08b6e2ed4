// Baseline for the send-file benchmark: the barest Win32 loop that writes a
// file to a COM port: read a chunk, one overlapped WriteFile, wait, repeat.
// With a chunk of 1024 or less it also reads the driver's queue count before
// each write, the same port calls the transmit thread makes per block.
// Usage: bench_tx_bare <port number> <file> [chunk bytes, default 65536]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/rx/bench_clock_win32.h"

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: bench_tx_bare <port number> <file> [chunk bytes]\n");
        return 2;
    }
    char name[32];
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", std::atoi(argv[1]));
    HANDLE com =
        CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (com == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "open %s failed: %lu\n", name, GetLastError());
        return 1;
    }
    FILE* f = std::fopen(argv[2], "rb");
    if (!f) {
        std::fprintf(stderr, "cannot read %s\n", argv[2]);
        return 1;
    }
    const std::size_t chunk = argc == 4 ? std::strtoul(argv[3], nullptr, 10) : 65536;
    const bool like_thread = chunk <= 1024;
    std::vector<char> buf(chunk ? chunk : 65536);
    OVERLAPPED ov{};
    ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::printf("ready\n");
    std::fflush(stdout);
    const double start = bench_epoch_seconds();
    long long sent = 0;
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), f)) > 0) {
        DWORD done = 0;
        if (like_thread) {
            DWORD errors = 0;
            COMSTAT st{};
            ClearCommError(com, &errors, &st);
        }
        ResetEvent(ov.hEvent);
        if (!WriteFile(com, buf.data(), static_cast<DWORD>(n), &done, &ov) && GetLastError() == ERROR_IO_PENDING)
            GetOverlappedResult(com, &ov, &done, TRUE);
        sent += static_cast<long long>(n);
    }
    std::printf("sent %lld in %.3f s\n", sent, bench_epoch_seconds() - start);
    std::fclose(f);
    CloseHandle(com);
    return 0;
}
