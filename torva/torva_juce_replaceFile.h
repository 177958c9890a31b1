#pragma once

#include <juce_core/juce_core.h>

namespace torvaLib
{

/** Writes bytes to a file so that the file holds either all of them or what it held before. They go to a
    hidden temporary file in the same folder, which is flushed to the disk and then renamed over the file.
    The temporary's name is short and fixed in length, so any name the file system takes for the file
    itself can be written, and it never ends in the file's extension, so no scan for such files lists it.
    On any failure the temporary file is removed and the file is left as it was; the result then holds the
    system's reason ("No such file or directory", "File name too long", "No space left on device"). Any
    thread; it blocks while the disk writes. */
juce::Result replaceFileWithBytes(const juce::File& file, const void* bytes, size_t numBytes);

} // namespace torvaLib
