// Test helpers for the Wine integration tests: the COM ports named by the
// environment, and a raw Win32 peer on the far end of the pty pair.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The port number in environment variable `var` (OLVEX_COM_A, ...), 0 when unset.
int env_port(const char* var);

// True when running under Wine (where Unix programs can be started).
bool under_wine();

// Bytes from a fixed-seed generator, so that any loss or reordering shows.
std::vector<std::uint8_t> random_bytes(std::size_t n, std::uint32_t seed);

// The far end of the pair, opened with plain Win32 calls (overlapped), so that
// it does not depend on the driver under test.
class RawPeer {
 public:
    explicit RawPeer(int port);
    ~RawPeer();
    RawPeer(const RawPeer&) = delete;
    RawPeer& operator=(const RawPeer&) = delete;

    bool is_open() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE handle() const { return h_; }
    // Writes all n bytes, waiting at most timeout_ms in all; false on failure.
    bool write_all(const void* data, std::size_t n, DWORD timeout_ms);
    // Reads until n bytes have arrived or timeout_ms passed without any byte.
    std::vector<std::uint8_t> read_up_to(std::size_t n, DWORD idle_timeout_ms);
    // Reads and drops whatever arrives until nothing came for idle_timeout_ms,
    // so one test's bytes never reach the next; false when a read failed.
    bool discard_pending(DWORD idle_timeout_ms);

 private:
    bool pump(std::size_t n, DWORD idle_timeout_ms, const std::function<void(const std::uint8_t*, DWORD)>& take);

    HANDLE h_ = INVALID_HANDLE_VALUE;
};

// Runs a /bin/sh script as a Unix process (Wine starts Unix programs through
// CreateProcess) and waits until it has finished; false on failure or time-out.
bool run_unix_shell(const std::string& script, DWORD timeout_ms);

// For the end-to-end tests of olvex.exe: why the pty pair of scripts/test is
// not there (empty when it is), and making COM1, the program's default port,
// the same pty end as OLVEX_COM_A again. Wine's mount manager points com1 at
// /dev/ttyS0 when its session starts, which may be after the link was made.
std::string e2e_ports_missing();
bool link_com1_to_com_a();

// "Z:" + a Unix path, as Wine names it.
std::string wine_path(const std::string& unix_path);
