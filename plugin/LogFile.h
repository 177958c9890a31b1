#pragma once

#include <juce_core/juce_core.h>

/** The plug-in's one log file, "QuorvelLog.txt" in the maker's folder of the user's log folder: the
    environment summary on request and, after a crash, a backtrace followed by the summary. */
namespace logFile
{

inline constexpr const char* folderName = "Tarnwickmodula";
inline constexpr const char* fileName = "QuorvelLog.txt";
inline constexpr const char* welcomeText = "Tarnwickmodula Quorvel";

/** The framework's limit for an existing file: older entries beyond it are cut when the file is opened. */
inline constexpr juce::int64 sizeLimit = 128 * 1024;

/** ~/Library/Logs/Tarnwickmodula/QuorvelLog.txt on macOS, ~/.config/Tarnwickmodula/QuorvelLog.txt on Linux.
 */
juce::File location();

/** Opens the log as every writer does: cut to its limit, then the framework's banner with the time. */
std::unique_ptr<juce::FileLogger> openLogger();

/** The five lines of the environment summary, in the order they are logged. */
juce::StringArray summaryLines();

} // namespace logFile
