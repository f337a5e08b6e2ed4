// The terminal's own receive path for the receive benchmark: com_connect with
// the Win32 driver, the receive thread filling the receive FIFO, and a consumer
// draining it with rx_fill/rx_get into a file.
// Usage: bench_rx_link <port number> <byte count> <output file> [receive pause ms]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_clock_win32.h"
#include "link/serial_link.h"
#include "link/win32_port_driver.h"

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: bench_rx_link <port number> <byte count> <output file> [receive pause ms]\n");
        return 2;
    }
    const long long total = std::atoll(argv[2]);
    HANDLE out = CreateFileA(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "create %s failed: %lu\n", argv[3], GetLastError());
        return 1;
    }
    Win32PortDriver driver;
    SerialLink link(driver);
    PortSettings port_settings;
    port_settings.port_num = std::atoi(argv[1]);
    if (argc == 5) port_settings.port_rxth_sleep = std::atoi(argv[4]);
    if (const int rc = link.com_connect(port_settings); rc != 0) {
        std::fprintf(stderr, "com_connect failed with code %d\n", rc);
        return 1;
    }
    std::vector<char> buf(std::size_t(port_settings.port_rxth_size));
    std::printf("ready\n");
    std::fflush(stdout);

    long long got = 0;
    double first = 0;
    DWORD last_byte = GetTickCount();
    while (got < total) {
        const std::int32_t n = link.rx_fill();
        if (n <= 0) {
            if (GetTickCount() - last_byte > 10000) {
                std::fprintf(stderr, "nothing received for 10 s after %lld bytes\n", got);
                return 1;
            }
            Sleep(1);
            continue;
        }
        link.rx_get(buf.data(), n);
        if (got == 0) first = bench_epoch_seconds();
        last_byte = GetTickCount();
        DWORD written = 0;
        WriteFile(out, buf.data(), DWORD(n), &written, nullptr);
        got += n;
    }
    const double last = bench_epoch_seconds();
    std::printf("bytes %lld first %.6f last %.6f\n", got, first, last);
    link.com_disconnect();
    CloseHandle(out);
    return 0;
}
