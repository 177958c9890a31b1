#include "plugin/PluginProcessor.h"
#include "torva/torva_juce_xml.h"

// The global settings file keeps every parameter's MIDI binding between instances: read when an instance
// is created, written back when it is destroyed if any binding differs from what it read, so a new
// instance starts with the bindings of the last instance that changed one.

namespace
{
juce::PropertiesFile::Options settingsOptions()
{
    juce::PropertiesFile::Options options;
    options.applicationName = "Quorvel";
    options.folderName = "Tarnwickmodula";
    options.osxLibrarySubFolder = "Application Support";
    options.filenameSuffix = ".prefs";
    options.storageFormat = juce::PropertiesFile::storeAsXML;
    options.millisecondsBeforeSaving = 3000;
    options.ignoreCaseOfKeyNames = false;
    options.commonToAllUsers = false;
    options.doNotSave = false;
    options.processLock = nullptr;
    return options;
}

/** On macOS the framework's own place: ~/Library/Application Support/Tarnwickmodula/Quorvel.prefs. Elsewhere
    the framework would put a visible maker folder straight into the home folder; the user's configuration
    folder (~/.config) holds it instead, beside the log file. */
juce::File settingsLocation(const juce::PropertiesFile::Options& options)
{
#if JUCE_MAC
    return options.getDefaultFile();
#else
    return juce::File::getSpecialLocation(juce::File::userApplicationDataDirectory)
        .getChildFile(options.folderName)
        .getChildFile(options.applicationName + options.filenameSuffix);
#endif
}

juce::String bindingKey(const torvaLib::PluginParameter& p)
{
    return p.name + "CC";
}
} // namespace

void QuorvelAudioProcessor::openSettingsFile()
{
    const auto options = settingsOptions();
    settingsFile = std::make_unique<juce::PropertiesFile>(settingsLocation(options), options);

    for (auto* p : params)
    {
        const auto key = bindingKey(*p);
        p->midiCC =
            settingsFile->containsKey(key) ? torvaLib::readStoredBinding(settingsFile->getValue(key)) : -1;
    }
}

void QuorvelAudioProcessor::writeSettingsFile()
{
    if (settingsFile == nullptr)
        return;

    // The property set marks itself changed only when a value differs from what it holds.
    for (auto* p : params)
        settingsFile->setValue(bindingKey(*p), p->midiCC.load());
    settingsFile->saveIfNeeded();
    settingsFile.reset();
}
