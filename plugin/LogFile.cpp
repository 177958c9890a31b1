#include "plugin/LogFile.h"
#include "plugin/PluginProcessor.h"
#include "plugin/SystemInfo.h"

namespace logFile
{

juce::File location()
{
    return juce::FileLogger::getSystemLogFileFolder().getChildFile(folderName).getChildFile(fileName);
}

std::unique_ptr<juce::FileLogger> openLogger()
{
    return std::unique_ptr<juce::FileLogger>(
        juce::FileLogger::createDefaultAppLogger(folderName, fileName, welcomeText, sizeLimit));
}

juce::StringArray summaryLines()
{
    return {"Quorvel " + QuorvelAudioProcessor::versionNumber, juce::PluginHostType().getHostDescription(),
            systemInfo::operatingSystem(),
            "CPU : " + juce::String(juce::SystemStats::getNumCpus()) + " x " +
                juce::String(systemInfo::cpuClockMegahertz()) + " MHz",
            "Memory : " + juce::String(juce::SystemStats::getMemorySizeInMegabytes()) + " MB"};
}

} // namespace logFile

void QuorvelAudioProcessor::writeLogSummary(juce::FileLogger* logger)
{
    if (logger == nullptr)
        return;

    for (const auto& line : logFile::summaryLines())
        logger->logMessage(line);
}
