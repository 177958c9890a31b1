#pragma once

#include <cstdint>

/** Counts the heap allocations made on the calling thread between start() and stop(): every form of
    operator new and, in builds without a sanitizer (which brings its own allocator), malloc, calloc and
    realloc as well, in this program and in the plug-in it loads. The process's global allocation
    functions are replaced for this; other threads are never counted. */
namespace AllocationCounter
{
void start() noexcept;
std::int64_t stop() noexcept;

/** True when the loaded plug-in's calls reach the replaced functions (they are exported to it). */
bool seesThePlugInsAllocations();
} // namespace AllocationCounter
