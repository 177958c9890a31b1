#pragma once

#include <juce_core/juce_core.h>

/** The running system as the log summary describes it, where the framework's own answer does not fit:
    the operating system's name and version, and the CPU's rated clock. */
namespace systemInfo
{

/** "Mac OSX " and the version on macOS; elsewhere the distribution's own name and version with the
    kernel's, for example "Debian GNU/Linux 12 (bookworm), Linux 6.1.0-18-amd64". */
juce::String operatingSystem();

/** The CPU's clock in MHz, truncated: its rated maximum where the system publishes one, otherwise the
    clock the system reports now; 0 when neither is known. */
int cpuClockMegahertz();

} // namespace systemInfo
