// Page services of the received data store's memory on POSIX: mmap and mprotect.
#include "link/rx_store_memory.h"

#include <sys/mman.h>
#include <unistd.h>

std::size_t rx_pages_size()
{
    static const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
    return page;
}

void* rx_pages_reserve(std::size_t size)
{
    void* p = mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
}

bool rx_pages_commit(void* at, std::size_t size)
{
    return size == 0 || mprotect(at, size, PROT_READ | PROT_WRITE) == 0;
}

void rx_pages_release(void* base, std::size_t size)
{
    munmap(base, size);
}

std::uint64_t rx_pages_free_space()
{
    // Only the 64-bit native build runs here, where the address space is ample.
    return std::uint64_t(1) << 40;
}
