#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <functional>
#include <memory>
#include <string>

/** The two plug-in formats the validation loads the built bundles in. */
enum class PluginFormat
{
    vst3,
    lv2
};

std::string formatName(PluginFormat format);

/** Quorvel as a host sees it: the built bundle of one format, found and instantiated through the
    framework's own hosting classes, plus what a host can read of it. Holds the format object for as long
    as its instances live. Create and destroy it on the message thread. */
class HostedPlugin
{
public:
    explicit HostedPlugin(PluginFormat format);
    ~HostedPlugin();

    /** The description the format's scan produces for the bundle; empty when the scan finds nothing. */
    juce::PluginDescription describe();

    /** A new instance, as a host creates one; fails the calling test when the format cannot load it. */
    std::unique_ptr<juce::AudioPluginInstance> load(double sampleRate = 44100.0, int blockSize = 512);

    /** The plug-in's own state blob inside a host's saved state of this format. */
    juce::MemoryBlock pluginStateOf(const juce::MemoryBlock& hostState) const;

    /** A host state of this format that carries the given plug-in state blob in place of the one the
        template holds, so that the bytes reach the plug-in's own state call unchanged. */
    juce::MemoryBlock hostStateWith(const juce::MemoryBlock& templateHostState,
                                    const juce::MemoryBlock& pluginState) const;

    const PluginFormat format;

private:
    std::unique_ptr<juce::AudioPluginFormat> pluginFormat;
};

//==================================================================================================
/** The plug-in's patch as it stores it: the XML document inside the framework's binary envelope. */
std::unique_ptr<juce::XmlElement> patchOf(const juce::MemoryBlock& pluginState);

/** The plug-in state blob for a patch document, in the framework's binary envelope. */
juce::MemoryBlock blobOf(const juce::XmlElement& patch);

/** The patch an instance reports through the host: its host state, unwrapped. */
std::unique_ptr<juce::XmlElement> patchOf(HostedPlugin& host, juce::AudioPluginInstance& instance);

/** A patch's value attribute for a parameter identifier, read back to the float the plug-in holds. */
float patchValue(const juce::XmlElement& patch, const juce::String& identifier);

/** The identifiers of the patch's parameter values, in the order they are stored (index order). */
juce::StringArray patchIdentifiers(const juce::XmlElement& patch);

//==================================================================================================
/** Runs the given work on a thread of its own, as a host's audio thread runs the plug-in, and waits for
    it. The calling (message) thread is blocked meanwhile, so the work must not need it. */
void onAudioThread(const std::function<void()>& work);

/** What a run of blocks may do before each block: add MIDI, move parameters. Gets the block's number,
    its length and its (empty) MIDI buffer. */
using BeforeBlock = std::function<void(int block, int numSamples, juce::MidiBuffer& midi)>;

/** Runs numSamples of white noise through the instance in blocks of blockSize (the last one shorter), on
    the calling thread, and returns the number of output samples that are not clean. With allocations
    given, it counts the calling thread's heap allocations over the blocks into it. */
int processNoise(juce::AudioPluginInstance& instance, int blockSize, int numSamples, juce::Random& random,
                 const BeforeBlock& beforeBlock = {}, std::int64_t* allocations = nullptr);

/** Fills every channel of the buffer with white noise in -1..1. */
void fillWithNoise(juce::AudioBuffer<float>& buffer, juce::Random& random);

/** True when the value is a finite number that is zero or normal: what an output sample must be. */
bool isCleanSample(float value) noexcept;

/** The number of output samples of the buffer's channels that are not clean. */
int countUncleanSamples(const juce::AudioBuffer<float>& buffer);
