#include "AllocationCounter.h"

#include <cstddef>
#include <cstdlib>
#include <dlfcn.h>
#include <new>

#if !QUORVEL_SANITIZED
extern "C"
{
    void* __libc_malloc(std::size_t);
    void* __libc_calloc(std::size_t, std::size_t);
    void* __libc_realloc(void*, std::size_t);
    void __libc_free(void*);
}
#endif

namespace
{
thread_local bool countingThisThread = false;
thread_local std::int64_t allocationsOnThisThread = 0;

inline void noteAllocation() noexcept
{
    if (countingThisThread)
        ++allocationsOnThisThread;
}

void* allocate(std::size_t size, std::size_t alignment, bool mayThrow)
{
    noteAllocation();

    void* memory = nullptr;
    if (alignment <= alignof(std::max_align_t))
    {
#if QUORVEL_SANITIZED
        memory = std::malloc(size == 0 ? 1 : size);
#else
        memory = __libc_malloc(size == 0 ? 1 : size); // counted once, here
#endif
    }
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

bool AllocationCounter::seesThePlugInsAllocations()
{
    using New = void* (*)(std::size_t);
    const bool seesNew =
        dlsym(RTLD_DEFAULT, "_Znwm") == reinterpret_cast<void*>(static_cast<New>(&::operator new));
#if QUORVEL_SANITIZED
    return seesNew;
#else
    return seesNew && dlsym(RTLD_DEFAULT, "malloc") == reinterpret_cast<void*>(&::malloc);
#endif
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

#if !QUORVEL_SANITIZED
// The framework's containers allocate with malloc and realloc: count those too, then hand over to the
// C library's own allocator.
extern "C"
{
    void* malloc(std::size_t size)
    {
        noteAllocation();
        return __libc_malloc(size);
    }

    void* calloc(std::size_t count, std::size_t size)
    {
        noteAllocation();
        return __libc_calloc(count, size);
    }

    void* realloc(void* memory, std::size_t size)
    {
        noteAllocation();
        return __libc_realloc(memory, size);
    }

    void free(void* memory)
    {
        __libc_free(memory);
    }
}
#endif
