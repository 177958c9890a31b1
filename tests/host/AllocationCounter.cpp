#include "AllocationCounter.h"

#include <cstddef>
#include <cstdlib>
#include <new>

namespace
{
thread_local bool countingThisThread = false;
thread_local std::int64_t allocationsOnThisThread = 0;

void* allocate(std::size_t size, std::size_t alignment, bool mayThrow)
{
    if (countingThisThread)
        ++allocationsOnThisThread;

    void* memory = nullptr;
    if (alignment <= alignof(std::max_align_t))
        memory = std::malloc(size == 0 ? 1 : size);
    else if (posix_memalign(&memory, alignment, size == 0 ? 1 : size) != 0)
        memory = nullptr;

    if (memory == nullptr && mayThrow)
        throw std::bad_alloc();
    return memory;
}
} // namespace

void AllocationCounter::start() noexcept
{
    allocationsOnThisThread = 0;
    countingThisThread = true;
}

std::int64_t AllocationCounter::stop() noexcept
{
    countingThisThread = false;
    return allocationsOnThisThread;
}

// clang-format off
void* operator new(std::size_t size) { return allocate(size, 0, true); }
void* operator new[](std::size_t size) { return allocate(size, 0, true); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size, 0, false); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size, 0, false); }
void* operator new(std::size_t size, std::align_val_t a) { return allocate(size, (std::size_t)a, true); }
void* operator new[](std::size_t size, std::align_val_t a) { return allocate(size, (std::size_t)a, true); }
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept { return allocate(size, (std::size_t)a, false); }
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept { return allocate(size, (std::size_t)a, false); }

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
// clang-format on
