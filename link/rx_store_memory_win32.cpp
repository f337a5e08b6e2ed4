// Page services of the received data store's memory on Windows: VirtualAlloc
// reserves the range and commits its pages, VirtualFree releases it whole.
#include "link/rx_store_memory.h"

#include <windows.h>

std::size_t rx_pages_size()
{
    static const std::size_t page = [] {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        return std::size_t(info.dwPageSize);
    }();
    return page;
}

std::uint64_t rx_pages_free_space()
{
    // Large-address aware on 64-bit Windows: close to 4 GiB; otherwise under 2 GiB.
    MEMORYSTATUSEX status;
    status.dwLength = sizeof status;
    return GlobalMemoryStatusEx(&status) ? status.ullAvailVirtual : 0;
}

void* rx_pages_reserve(std::size_t size)
{
    return VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS);
}

bool rx_pages_commit(void* at, std::size_t size)
{
    return size == 0 || VirtualAlloc(at, size, MEM_COMMIT, PAGE_READWRITE) != nullptr;
}

void rx_pages_release(void* base, std::size_t)
{
    VirtualFree(base, 0, MEM_RELEASE);
}
