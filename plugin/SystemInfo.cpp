#include "plugin/SystemInfo.h"

#if !JUCE_MAC
#include <sys/utsname.h>
#endif

namespace systemInfo
{

#if JUCE_MAC

juce::String operatingSystem()
{
    return juce::SystemStats::getOperatingSystemName(); // "Mac OSX " + the system version
}

int cpuClockMegahertz()
{
    return juce::SystemStats::getCpuSpeedInMegahertz();
}

#else

namespace
{
/** One value of an os-release file: KEY=value, the value optionally quoted. */
juce::String osReleaseValue(const juce::StringArray& lines, const juce::String& key)
{
    for (const auto& line : lines)
        if (line.startsWith(key + "="))
            return line.fromFirstOccurrenceOf("=", false, false).trim().unquoted();
    return {};
}

/** The first "key : value" line of a /proc style file. */
juce::String procValue(const juce::String& path, const juce::String& key)
{
    juce::StringArray lines;
    juce::File(path).readLines(lines);
    for (const auto& line : lines)
        if (line.upToFirstOccurrenceOf(":", false, false).trim() == key)
            return line.fromFirstOccurrenceOf(":", false, false).trim();
    return {};
}
} // namespace

juce::String operatingSystem()
{
    const juce::File etcRelease("/etc/os-release");
    juce::StringArray lines;
    (etcRelease.existsAsFile() ? etcRelease : juce::File("/usr/lib/os-release")).readLines(lines);

    auto distribution = osReleaseValue(lines, "PRETTY_NAME");
    if (distribution.isEmpty())
        distribution = osReleaseValue(lines, "NAME");

    utsname system{};
    const auto kernel = uname(&system) == 0
                            ? juce::String(system.sysname) + " " + juce::String(system.release)
                            : juce::SystemStats::getOperatingSystemName();

    return distribution.isEmpty() ? kernel : distribution + ", " + kernel;
}

int cpuClockMegahertz()
{
    // The rated clock, in kHz; the current clock of /proc/cpuinfo follows frequency scaling.
    const auto ratedKilohertz = juce::File("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq")
                                    .loadFileAsString()
                                    .trim()
                                    .getLargeIntValue();
    if (ratedKilohertz > 0)
        return (int)(ratedKilohertz / 1000);

    return (int)procValue("/proc/cpuinfo", "cpu MHz").getDoubleValue();
}

#endif

} // namespace systemInfo
