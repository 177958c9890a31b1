#include "torva/torva_juce_replaceFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace torvaLib
{
namespace
{
juce::Result failureFrom(int error)
{
    return juce::Result::fail(juce::String(std::strerror(error)));
}

juce::Result writeAll(int fd, const char* bytes, size_t numBytes)
{
    while (numBytes > 0)
    {
        const auto written = ::write(fd, bytes, numBytes);
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            return failureFrom(errno);
        }
        bytes += written;
        numBytes -= (size_t)written;
    }
    return juce::Result::ok();
}

/** Fills a new temporary file and renames it over the file; the temporary is gone again on failure. */
juce::Result writeThrough(const juce::File& temporary, int fd, const juce::File& file, const void* bytes,
                          size_t numBytes)
{
    auto result = writeAll(fd, static_cast<const char*>(bytes), numBytes);

    // A full disk or a failing device may only show when the data is flushed or the file closed.
    if (result.wasOk() && ::fsync(fd) != 0)
        result = failureFrom(errno);
    if (::close(fd) != 0 && result.wasOk())
        result = failureFrom(errno);

    if (result.wasOk() &&
        ::rename(temporary.getFullPathName().toRawUTF8(), file.getFullPathName().toRawUTF8()) != 0)
        result = failureFrom(errno);

    if (result.failed())
        ::unlink(temporary.getFullPathName().toRawUTF8());
    return result;
}
} // namespace

juce::Result replaceFileWithBytes(const juce::File& file, const void* bytes, size_t numBytes)
{
    const auto folder = file.getParentDirectory();
    juce::Random random;

    // A name already taken (another save at the same moment, a leftover) is never reused: the next draw
    // is tried.
    for (int attempt = 0; attempt < 16; ++attempt)
    {
        const auto temporary = folder.getChildFile(
            ".save-" + juce::String::toHexString(random.nextInt()).paddedLeft('0', 8) + ".tmp");
        const int fd =
            ::open(temporary.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0)
            return writeThrough(temporary, fd, file, bytes, numBytes);
        if (errno != EEXIST)
            return failureFrom(errno);
    }
    return failureFrom(EEXIST);
}

} // namespace torvaLib
