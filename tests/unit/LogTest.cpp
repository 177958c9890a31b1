// The log file: the environment summary on request, and banner, backtrace and summary after a real crash
// in a child process.
#include "ProcessorFixture.h"
#include "plugin/CrashLog.h"
#include "plugin/LogFile.h"

#include <csignal>
#include <cstdlib>
#include <regex>
#include <sys/utsname.h>

namespace
{
juce::File logPath()
{
    return juce::File::getSpecialLocation(juce::File::userApplicationDataDirectory)
        .getChildFile("Tarnwickmodula/QuorvelLog.txt");
}

juce::StringArray logLines()
{
    juce::StringArray lines;
    lines.addTokens(logPath().loadFileAsString(), "\n", "");
    return lines;
}

void requestSummary()
{
    auto logger = logFile::openLogger();
    QuorvelAudioProcessor::writeLogSummary(logger.get());
}

/** The logger's banner time for the last few seconds, as the framework writes it. */
juce::StringArray recentBannerTimes()
{
    juce::StringArray times;
    const auto now = juce::Time::getCurrentTime();
    for (int s = 0; s <= 5; ++s)
        times.add("Log started: " + (now - juce::RelativeTime::seconds(s)).toString(true, true));
    return times;
}

int countOf(const juce::String& text, const juce::String& part)
{
    int count = 0;
    for (int at = text.indexOf(part); at >= 0; at = text.indexOf(at + 1, part))
        ++count;
    return count;
}
} // namespace

TEST(LogTest, SummaryDescribesTheProductHostAndSystem)
{
    clearTestUserFiles();
    requestSummary();
    requestSummary();

    const auto text = logPath().loadFileAsString();
    EXPECT_EQ(countOf(text, "\r\n**********************************************************\r\n"
                            "Tarnwickmodula Quorvel\r\nLog started: "),
              2);

    const auto lines = logLines();
    ASSERT_GE(lines.size(), 6);
    const int first = lines.size() - 6; // the file ends with a line break
    EXPECT_EQ(lines[first], "Quorvel v 1.3\r");
    EXPECT_EQ(lines[first + 1], "Unknown\r");

    utsname system{};
    ASSERT_EQ(uname(&system), 0);
    EXPECT_FALSE(lines[first + 2].startsWith("Mac OSX"));
    EXPECT_TRUE(lines[first + 2].contains(juce::String(system.sysname) + " " + juce::String(system.release)))
        << lines[first + 2];

    const std::string cpu = lines[first + 3].toStdString();
    std::smatch match;
    ASSERT_TRUE(std::regex_match(cpu, match, std::regex("CPU : ([0-9]+) x ([0-9]+) MHz\r"))) << cpu;
    EXPECT_EQ(std::stoi(match[1]), juce::SystemStats::getNumCpus());

    const std::string memory = lines[first + 4].toStdString();
    ASSERT_TRUE(std::regex_match(memory, match, std::regex("Memory : ([0-9]+) MB\r"))) << memory;
    EXPECT_EQ(std::stoi(match[1]), juce::SystemStats::getMemorySizeInMegabytes());
    EXPECT_EQ(lines[first + 5], "");

    QuorvelAudioProcessor::writeLogSummary(nullptr); // no logger: nothing to do, nothing to crash
}

//==================================================================================================
namespace
{
/** Ways a plug-in really dies, each raising one of the signals the handler is installed for. */
enum class Crash
{
    badMemoryAccess,
    abort,
    divisionByZero,
    illegalInstruction,
    busError,
    badSystemCall
};

// The bad store and the division must reach the processor as real faults: the undefined-behaviour checks
// would otherwise end the process at them before any signal is raised.
[[noreturn]] __attribute__((no_sanitize("undefined"))) void crash(Crash kind)
{
    switch (kind)
    {
    case Crash::badMemoryAccess:
    {
        volatile int* volatile nowhere = nullptr;
        *nowhere = 1;
        break;
    }
    case Crash::abort:
        std::abort();
    case Crash::divisionByZero:
    {
#if defined(__x86_64__) || defined(__i386__)
        volatile int one = 1;
        volatile int zero = 0;
        volatile int result = one / zero;
        (void)result;
#else
        std::raise(SIGFPE);
#endif
        break;
    }
    case Crash::illegalInstruction:
#if defined(__x86_64__) || defined(__i386__)
        __builtin_trap();
#else
        std::raise(SIGILL);
#endif
    case Crash::busError:
        std::raise(SIGBUS);
        break;
    case Crash::badSystemCall:
        std::raise(SIGSYS);
        break;
    }
    std::_Exit(3); // not reached when the handler works: it ends the process with SIGKILL
}

/** A host process: creates an instance, which installs the handler, then crashes. */
void crashingHost(Crash kind)
{
    crashLog::setInstallationEnabled(true);
    auto processor = std::unique_ptr<juce::AudioProcessor>(createPluginFilter());
    crash(kind);
}
} // namespace

class CrashLogTest : public ::testing::TestWithParam<Crash>
{
protected:
    void SetUp() override
    {
        clearTestUserFiles();
        GTEST_FLAG_SET(death_test_style, "fast"); // the child must see this HOME
    }
};

TEST_P(CrashLogTest, ACrashAppendsBannerBacktraceAndSummaryThenEndsTheProcess)
{
    requestSummary(); // an earlier entry stays in front

    EXPECT_EXIT(crashingHost(GetParam()), testing::KilledBySignal(SIGKILL), "");

    const auto text = logPath().loadFileAsString();
    const auto crashEntry =
        text.fromLastOccurrenceOf("\r\n**********************************************************\r\n"
                                  "Tarnwickmodula Quorvel\r\n",
                                  false, false);
    EXPECT_EQ(countOf(text, "Tarnwickmodula Quorvel\r\n"), 2);

    juce::StringArray lines;
    lines.addTokens(crashEntry, "\n", "");
    ASSERT_GE(lines.size(), 10) << crashEntry;
    EXPECT_TRUE(recentBannerTimes().contains(lines[0].trimCharactersAtEnd("\r"))) << lines[0];
    EXPECT_EQ(lines[1], "\r") << "the banner is one message, ended by the logger's line break";

    // Backtrace lines, each ended like every logged line, then an empty line ending the message.
    int frame = 2;
    while (frame < lines.size() && lines[frame] != "\r")
    {
        EXPECT_TRUE(lines[frame].endsWith("\r")) << lines[frame];
        EXPECT_TRUE(lines[frame].contains("[0x")) << lines[frame];
        ++frame;
    }
    EXPECT_GE(frame - 2, 3) << "a backtrace of a few frames at least";
    EXPECT_LE(frame - 2, 128);

    const auto summary = logFile::summaryLines();
    ASSERT_EQ(lines.size(), frame + 1 + summary.size() + 1) << crashEntry;
    for (int i = 0; i < summary.size(); ++i)
        EXPECT_EQ(lines[frame + 1 + i], summary[i] + "\r");
    EXPECT_EQ(lines[lines.size() - 1], "");
}

INSTANTIATE_TEST_SUITE_P(EveryFatalSignal, CrashLogTest,
                         testing::Values(Crash::badMemoryAccess, Crash::abort, Crash::divisionByZero,
                                         Crash::illegalInstruction, Crash::busError, Crash::badSystemCall));

TEST(CrashLogTrimTest, ACrashCutsALongLogAsTheLoggerDoes)
{
    clearTestUserFiles();
    GTEST_FLAG_SET(death_test_style, "fast");

    // Over 128 KB of numbered lines; the logger keeps the last 128 KB from the first line break on.
    juce::MemoryOutputStream lines;
    for (int i = 0; lines.getDataSize() < 200 * 1024; ++i)
        lines << "entry " << i << "\r\n";
    const auto big = lines.toString();
    const auto reference = logPath().getSiblingFile("reference.txt");
    logPath().getParentDirectory().createDirectory();
    ASSERT_TRUE(logPath().replaceWithText(big, false, false, nullptr));
    ASSERT_TRUE(reference.replaceWithText(big, false, false, nullptr));
    juce::FileLogger::trimFileSize(reference, logFile::sizeLimit);

    EXPECT_EXIT(crashingHost(Crash::abort), testing::KilledBySignal(SIGKILL), "");

    const auto kept = reference.loadFileAsString();
    ASSERT_LT(kept.length(), big.length());
    const auto text = logPath().loadFileAsString();
    EXPECT_TRUE(text.startsWith(kept + "\r\n****"));
}
