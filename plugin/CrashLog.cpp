#include "plugin/CrashLog.h"
#include "plugin/LogFile.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <execinfo.h>
#include <fcntl.h>
#include <mutex>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#if JUCE_LINUX
#include <sys/syscall.h>
#endif

// The handler runs inside a signal handler while other threads may still run: it must not allocate, lock
// or call into the framework. So everything it writes that is known in advance is prepared when the handler
// is installed, and the handler itself only formats numbers into fixed buffers and calls open, write and
// backtrace_symbols_fd. It writes what the framework's file logger would: the logger's banner, then the
// backtrace and the summary, each message followed by a line break.

namespace crashLog
{
namespace
{
constexpr int maxFrames = 128;

std::atomic<bool> installationEnabled{true};

/** Text and paths prepared at installation; published by `ready` before the handler may read them. */
struct Prepared
{
    char logFolder[4096] = {};
    char logPath[4096] = {};
    char bannerStart[512] = {}; // up to and including "Log started: "
    char summary[8192] = {};    // the five summary lines, each followed by a line break
    long utcOffsetSeconds = 0;
};

Prepared prepared;
std::atomic<bool> ready{false};
std::once_flag prepareOnce;
char trimBuffer[logFile::sizeLimit];
std::atomic<std::uintptr_t> writingThread{0};
static_assert(std::atomic<std::uintptr_t>::is_always_lock_free,
              "the re-entry guard must be usable in a signal handler");

bool copyText(char* destination, size_t size, const juce::String& text)
{
    const auto* utf8 = text.toRawUTF8();
    const auto length = std::strlen(utf8);
    if (length + 1 > size)
        return false;
    std::memcpy(destination, utf8, length + 1);
    return true;
}

void prepare()
{
    const juce::String lineBreak(juce::newLine);
    const auto logPath = logFile::location();
    const auto bannerStart = lineBreak + "**********************************************************" +
                             lineBreak + logFile::welcomeText + lineBreak + "Log started: ";
    const auto summary = logFile::summaryLines().joinIntoString(lineBreak) + lineBreak;

    if (!copyText(prepared.logFolder, sizeof prepared.logFolder,
                  logPath.getParentDirectory().getFullPathName()) ||
        !copyText(prepared.logPath, sizeof prepared.logPath, logPath.getFullPathName()) ||
        !copyText(prepared.bannerStart, sizeof prepared.bannerStart, bannerStart) ||
        !copyText(prepared.summary, sizeof prepared.summary, summary))
        return;

    // Local time needs the time zone, which only functions unsafe in a signal handler can tell.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) != nullptr)
        prepared.utcOffsetSeconds = local.tm_gmtoff;

    // The first backtrace loads the unwinder, which allocates; do it now rather than in the handler.
    void* frames[2];
    backtrace(frames, 2);

    ready.store(true, std::memory_order_release);
}

//==================================================================================================
// From here on: only calls that are safe inside a signal handler.

std::uintptr_t currentThread() noexcept
{
#if JUCE_LINUX
    return (std::uintptr_t)::syscall(SYS_gettid);
#else
    return (std::uintptr_t)pthread_self();
#endif
}

void writeAll(int fd, const char* data, size_t length) noexcept
{
    while (length > 0)
    {
        const auto written = ::write(fd, data, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        data += written;
        length -= (size_t)written;
    }
}

void writeText(int fd, const char* text) noexcept
{
    writeAll(fd, text, std::strlen(text));
}

/** Appends decimal numbers and texts to a fixed buffer. */
struct TextBuilder
{
    char text[128] = {};
    size_t length = 0;

    void add(const char* part) noexcept
    {
        while (*part != 0 && length + 1 < sizeof text)
            text[length++] = *part++;
    }

    void add(long long number) noexcept
    {
        char digits[24];
        int count = 0;
        const bool negative = number < 0;
        unsigned long long magnitude =
            negative ? 0ull - (unsigned long long)number : (unsigned long long)number;
        do
        {
            digits[count++] = (char)('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude > 0);
        if (negative)
            add("-");
        while (count > 0 && length + 1 < sizeof text)
            text[length++] = digits[--count];
    }

    void addTwoDigits(long long number) noexcept
    {
        add(number < 10 ? ":0" : ":");
        add(number);
    }
};

/** The logger's opening time, as the framework writes it: "9 Dec 2024 5:53:07am", local time. */
void addLocalTime(TextBuilder& out) noexcept
{
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const long long seconds = (long long)now.tv_sec + prepared.utcOffsetSeconds;

    long long days = seconds / 86400;
    long long secondOfDay = seconds % 86400;
    if (secondOfDay < 0)
    {
        secondOfDay += 86400;
        --days;
    }

    // Civil date from days since 1970-01-01 (proleptic Gregorian calendar).
    const long long z = days + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long dayOfEra = z - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long shiftedMonth = (5 * dayOfYear + 2) / 153;
    const long long day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const long long month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

    const long long hours = secondOfDay / 3600;
    const long long hours12 = hours == 0 ? 12 : (hours <= 12 ? hours : hours - 12);

    out.add(day);
    out.add(" ");
    out.add(months[month - 1]);
    out.add(" ");
    out.add(year);
    out.add(" ");
    out.add(hours12);
    out.addTwoDigits(secondOfDay / 60 % 60);
    out.addTwoDigits(secondOfDay % 60);
    out.add(hours >= 12 ? "pm" : "am");
}

/** Creates the log folder and any missing parents. */
void makeFolders() noexcept
{
    char path[sizeof prepared.logFolder];
    std::memcpy(path, prepared.logFolder, sizeof path);
    for (char* c = path + 1;; ++c)
    {
        if (*c == '/' || *c == 0)
        {
            const char end = *c;
            *c = 0;
            ::mkdir(path, 0777);
            *c = end;
            if (end == 0)
                return;
        }
    }
}

/** Cuts an existing log down to its last sizeLimit bytes, from the first line break in them on, as the
    framework's logger does when it opens the file. */
void trimLog() noexcept
{
    const int fd = ::open(prepared.logPath, O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return;

    struct stat status = {};
    if (::fstat(fd, &status) == 0 && status.st_size > logFile::sizeLimit &&
        ::lseek(fd, status.st_size - logFile::sizeLimit, SEEK_SET) >= 0)
    {
        size_t total = 0;
        while (total < sizeof trimBuffer)
        {
            const auto got = ::read(fd, trimBuffer + total, sizeof trimBuffer - total);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            total += (size_t)got;
        }

        for (size_t i = 0; i < total && trimBuffer[i] != 0; ++i)
        {
            if (trimBuffer[i] == '\n' || trimBuffer[i] == '\r')
            {
                if (::ftruncate(fd, 0) == 0 && ::lseek(fd, 0, SEEK_SET) == 0)
                    writeAll(fd, trimBuffer + i, total - i);
                break;
            }
        }
    }
    ::close(fd);
}

/** One message of backtrace lines, each ending in the logger's line break. backtrace_symbols_fd ends its
    lines with a bare newline, so each frame goes through a pipe and has its line break widened. */
void writeBacktrace(int logFd) noexcept
{
    void* frames[maxFrames];
    const int count = backtrace(frames, maxFrames);

    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
    {
        backtrace_symbols_fd(frames, count, logFd);
    }
    else
    {
        ::fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);
        ::fcntl(pipeFds[1], F_SETFL, O_NONBLOCK);
        char chunk[1024];
        for (int i = 0; i < count; ++i)
        {
            backtrace_symbols_fd(frames + i, 1, pipeFds[1]);
            for (;;)
            {
                const auto got = ::read(pipeFds[0], chunk, sizeof chunk);
                if (got <= 0)
                    break;
                const char* start = chunk;
                for (const char* c = chunk; c < chunk + got; ++c)
                {
                    if (*c != '\n')
                        continue;
                    writeAll(logFd, start, (size_t)(c - start));
                    writeText(logFd, "\r\n");
                    start = c + 1;
                }
                writeAll(logFd, start, (size_t)(chunk + got - start));
            }
        }
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
    }
    writeText(logFd, "\r\n");
}

void writeCrashLog() noexcept
{
    makeFolders();
    trimLog();

    const int fd = ::open(prepared.logPath, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return;

    TextBuilder time;
    addLocalTime(time);
    writeText(fd, prepared.bannerStart);
    writeAll(fd, time.text, time.length);
    writeText(fd, "\r\n\r\n");

    writeBacktrace(fd);
    writeText(fd, prepared.summary);
    ::close(fd);
}

/** Given to the framework, which ends the process with SIGKILL when this returns. */
void crashHandler(void*)
{
    const auto self = currentThread();
    std::uintptr_t writer = 0;
    if (!writingThread.compare_exchange_strong(writer, self))
    {
        // Crashing again inside the handler: give up at once. Another thread crashing meanwhile: give the
        // first one time to finish its entry; it ends the process when done.
        if (writer != self)
        {
            for (int i = 0; i < 500; ++i)
            {
                const timespec pause{0, 10 * 1000 * 1000};
                nanosleep(&pause, nullptr);
            }
        }
        return;
    }

    if (ready.load(std::memory_order_acquire))
        writeCrashLog();
}
} // namespace

void install()
{
    if (!installationEnabled)
        return;

    std::call_once(prepareOnce, prepare);
    juce::SystemStats::setApplicationCrashHandler(crashHandler);
}

void setInstallationEnabled(bool enabled)
{
    installationEnabled = enabled;
}

} // namespace crashLog
