#pragma once

#include <cstdint>

/** Counts the heap allocations (every form of operator new, in this program and in the plug-in it
    loads) made on the calling thread between start() and stop(). The process's global allocation
    functions are replaced for this; other threads are never counted. */
namespace AllocationCounter
{
void start() noexcept;
std::int64_t stop() noexcept;
} // namespace AllocationCounter
