// A kernel object handle (file, event, thread, process, mapping) owned by one
// object and closed (CloseHandle) when that object goes, on every way out.
// For the Windows build's own files only.
#pragma once

#include <windows.h>

#include <utility>

class KernelHandle {
 public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE h) : handle_(h) {}
    ~KernelHandle() { close(); }
    KernelHandle(KernelHandle&& other) noexcept : handle_(other.release()) {}
    KernelHandle& operator=(KernelHandle&& other) noexcept
    {
        if (this != &other) reset(other.release());
        return *this;
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;

    HANDLE get() const { return handle_; }
    // The system's calls fail with nullptr (events, threads) or with
    // INVALID_HANDLE_VALUE (files): neither is a handle to close.
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return valid(); }

    // Closes the handle held now and takes h.
    void reset(HANDLE h = nullptr)
    {
        close();
        handle_ = h;
    }
    // Hands the handle over without closing it.
    HANDLE release() { return std::exchange(handle_, nullptr); }
    // Closes the handle now and holds none. False when the system refused
    // (GetLastError() says why, since nothing runs after CloseHandle here).
    bool close()
    {
        const HANDLE h = std::exchange(handle_, nullptr);
        if (h == nullptr || h == INVALID_HANDLE_VALUE) return true;
        return CloseHandle(h) != FALSE;
    }

 private:
    HANDLE handle_ = nullptr;
};
