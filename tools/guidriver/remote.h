// Memory in the driven process, for the common-control messages whose buffers
// Wine does not carry across processes (SB_GETTEXT, TB_GETBUTTON, ...).
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <string_view>

namespace guidriver {

void fail(std::string why);
std::string strip_mnemonic(std::string_view s);

// The process that owns a window, opened for memory access.
class Remote {
 public:
    explicit Remote(HWND w)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        handle_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (!handle_) fail("cannot open the window's process");
    }
    ~Remote()
    {
        if (handle_) CloseHandle(handle_);
    }
    Remote(const Remote&) = delete;
    Remote& operator=(const Remote&) = delete;
    explicit operator bool() const { return handle_ != nullptr; }
    HANDLE handle() const { return handle_; }

 private:
    HANDLE handle_ = nullptr;
};

// A zeroed block of the target's memory, freed when this goes.
class RemoteBuffer {
 public:
    RemoteBuffer(const Remote& r, size_t size) : process_(r.handle()), size_(size)
    {
        if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!address_) fail("cannot allocate memory in the window's process");
    }
    ~RemoteBuffer()
    {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    explicit operator bool() const { return address_ != nullptr; }
    void* address() const { return address_; }
    LPARAM lparam() const { return reinterpret_cast<LPARAM>(address_); }
    bool read(void* to, size_t n) const
    {
        SIZE_T got = 0;
        return n <= size_ && ReadProcessMemory(process_, address_, to, n, &got) && got == n;
    }
    bool write(const void* from, size_t n) const
    {
        SIZE_T put = 0;
        return n <= size_ && WriteProcessMemory(process_, address_, from, n, &put) && put == n;
    }

 private:
    HANDLE process_;
    size_t size_;
    void* address_ = nullptr;
};

}  // namespace guidriver
