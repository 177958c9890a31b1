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

/** The framework parses every stored value again when it saves, to keep values that look like XML as
    elements, so each must be as safe to parse as the file was. */
bool holdsOnlySafeValues(juce::PropertiesFile& settings)
{
    for (const auto& value : settings.getAllProperties().getAllValues())
        if (!torvaLib::isSafeXmlText(value.toRawUTF8(), value.getNumBytesAsUTF8()))
            return false;
    return true;
}

/** The settings as the framework reads them from the file, unless the file could hang that reader or make
    it read out of bounds, now or when it saves. A refused file counts as a missing one: it is removed, so
    that the properties start empty and the destructor writes a sound file in its place. */
std::unique_ptr<juce::PropertiesFile> openSoundSettings(const juce::File& location,
                                                        const juce::PropertiesFile::Options& options)
{
    if (torvaLib::isSafeXmlFile(location))
    {
        auto settings = std::make_unique<juce::PropertiesFile>(location, options);
        if (holdsOnlySafeValues(*settings))
            return settings;
        settings.reset(); // nothing was set since reading, so it writes nothing
    }

    if (!location.deleteFile())
        return std::make_unique<juce::PropertiesFile>(juce::File(), options); // reads and writes nothing
    return std::make_unique<juce::PropertiesFile>(location, options);
}
} // namespace

void QuorvelAudioProcessor::openSettingsFile()
{
    const auto options = settingsOptions();
    settingsFile = openSoundSettings(settingsLocation(options), options);

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
