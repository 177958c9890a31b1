#include "HostedPlugin.h"

#include "AllocationCounter.h"
#include "HostDisplay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

std::string formatName(PluginFormat format)
{
    return format == PluginFormat::vst3 ? "VST3" : "LV2";
}

namespace
{
// The key under which the framework's LV2 wrapper keeps the plug-in's state text in a saved LV2 state.
const juce::String lv2StateKey = juce::String(QUORVEL_LV2_URI) + ":StateString";

std::unique_ptr<juce::AudioPluginFormat> makeFormat(PluginFormat format)
{
    prepareX11ForPlugIns();

    if (format == PluginFormat::vst3)
        return std::make_unique<juce::VST3PluginFormat>();

    // Installed where a user installs it, in the (temporary) home folder's ~/.lv2, which the format
    // searches when it starts.
    const auto installed = juce::File::getSpecialLocation(juce::File::userHomeDirectory)
                               .getChildFile(".lv2")
                               .getChildFile(juce::File(QUORVEL_LV2_BUNDLE).getFileName());
    if (!installed.exists())
    {
        installed.getParentDirectory().createDirectory();
        juce::File(QUORVEL_LV2_BUNDLE).createSymbolicLink(installed, false);
    }
    return std::make_unique<juce::LV2PluginFormat>();
}

/** Where the LV2 state text's literal starts and ends, or { -1, -1 } when the state carries none. */
juce::Range<int> lv2StateLiteral(const juce::String& turtle)
{
    const int key = turtle.indexOf(lv2StateKey);
    if (key < 0)
        return {-1, -1};
    const int open = turtle.indexOfChar(key + lv2StateKey.length(), '"');
    const int close = open < 0 ? -1 : turtle.indexOfChar(open + 1, '"');
    if (close < 0)
        return {-1, -1};
    return {open + 1, close};
}
} // namespace

HostedPlugin::HostedPlugin(PluginFormat f) : format(f), pluginFormat(makeFormat(f)) {}

HostedPlugin::~HostedPlugin() = default;

juce::PluginDescription HostedPlugin::describe()
{
    const juce::String place = format == PluginFormat::vst3 ? QUORVEL_VST3_BUNDLE : QUORVEL_LV2_URI;
    juce::OwnedArray<juce::PluginDescription> found;
    pluginFormat->findAllTypesForFile(found, place);
    return found.isEmpty() ? juce::PluginDescription() : *found.getFirst();
}

std::unique_ptr<juce::AudioPluginInstance> HostedPlugin::load(double sampleRate, int blockSize)
{
    const auto description = describe();
    juce::String error;
    auto instance = pluginFormat->createInstanceFromDescription(description, sampleRate, blockSize, error);
    EXPECT_NE(instance, nullptr) << formatName(format) << " instance not created: " << error;
    return instance;
}

juce::MemoryBlock HostedPlugin::pluginStateOf(const juce::MemoryBlock& hostState) const
{
    juce::MemoryBlock blob;
    if (format == PluginFormat::vst3)
    {
        // The host keeps the component's stream in base 64; the wrapper appends its private data (bypass)
        // after the plug-in's own envelope, whose length field says where it ends.
        if (const auto head =
                juce::AudioProcessor::getXmlFromBinary(hostState.getData(), (int)hostState.getSize()))
            if (const auto* component = head->getChildByName("IComponent"))
                blob.fromBase64Encoding(component->getAllSubText());
        if (blob.getSize() > 8)
            blob.setSize(
                juce::jmin(blob.getSize(), (size_t)juce::ByteOrder::littleEndianInt(blob.begin() + 4) + 9));
    }
    else
    {
        const auto turtle = hostState.toString();
        const auto literal = lv2StateLiteral(turtle);
        if (!literal.isEmpty())
            blob.fromBase64Encoding(turtle.substring(literal.getStart(), literal.getEnd()));
    }
    return blob;
}

juce::MemoryBlock HostedPlugin::hostStateWith(const juce::MemoryBlock& templateHostState,
                                              const juce::MemoryBlock& pluginState) const
{
    juce::MemoryBlock result;
    if (format == PluginFormat::vst3)
    {
        auto head = juce::AudioProcessor::getXmlFromBinary(templateHostState.getData(),
                                                           (int)templateHostState.getSize());
        if (head == nullptr)
            return result;
        if (auto* component = head->getChildByName("IComponent"))
        {
            component->deleteAllTextElements();
            component->addTextElement(pluginState.toBase64Encoding());
        }
        juce::AudioProcessor::copyXmlToBinary(*head, result);
    }
    else
    {
        const auto turtle = templateHostState.toString();
        const auto literal = lv2StateLiteral(turtle);
        if (literal.isEmpty())
            return result;
        const auto text =
            turtle.replaceSection(literal.getStart(), literal.getLength(), pluginState.toBase64Encoding());
        result.append(text.toRawUTF8(), text.getNumBytesAsUTF8());
    }
    return result;
}

//==================================================================================================
std::unique_ptr<juce::XmlElement> patchOf(const juce::MemoryBlock& pluginState)
{
    return juce::AudioProcessor::getXmlFromBinary(pluginState.getData(), (int)pluginState.getSize());
}

juce::MemoryBlock blobOf(const juce::XmlElement& patch)
{
    juce::MemoryBlock blob;
    juce::AudioProcessor::copyXmlToBinary(patch, blob);
    return blob;
}

std::unique_ptr<juce::XmlElement> patchOf(HostedPlugin& host, juce::AudioPluginInstance& instance)
{
    juce::MemoryBlock hostState;
    instance.getStateInformation(hostState);
    return patchOf(host.pluginStateOf(hostState));
}

float patchValue(const juce::XmlElement& patch, const juce::String& identifier)
{
    return (float)patch.getDoubleAttribute(identifier, std::nan(""));
}

juce::StringArray patchIdentifiers(const juce::XmlElement& patch)
{
    juce::StringArray identifiers;
    for (int i = 0; i < patch.getNumAttributes(); ++i)
    {
        const auto name = patch.getAttributeName(i);
        if (name != "PresetName" && !name.endsWith("CC"))
            identifiers.add(name);
    }
    return identifiers;
}

//==================================================================================================
void onAudioThread(const std::function<void()>& work)
{
    std::thread audio(work);
    audio.join();
}

int processNoise(juce::AudioPluginInstance& instance, int blockSize, int numSamples, juce::Random& random,
                 const BeforeBlock& beforeBlock, std::int64_t* allocations)
{
    juce::AudioBuffer<float> buffer(2, blockSize);
    juce::MidiBuffer midi;
    midi.ensureSize(8192);
    int unclean = 0;

    if (allocations != nullptr)
        AllocationCounter::start();

    for (int block = 0, done = 0; done < numSamples; ++block)
    {
        const int n = juce::jmin(blockSize, numSamples - done);
        buffer.setSize(2, n, false, false, true);
        fillWithNoise(buffer, random);
        midi.clear();
        if (beforeBlock)
            beforeBlock(block, n, midi);

        instance.processBlock(buffer, midi);
        unclean += countUncleanSamples(buffer);
        done += n;
    }

    if (allocations != nullptr)
        *allocations = AllocationCounter::stop();
    return unclean;
}

void fillWithNoise(juce::AudioBuffer<float>& buffer, juce::Random& random)
{
    for (int c = 0; c < buffer.getNumChannels(); ++c)
        for (int s = 0; s < buffer.getNumSamples(); ++s)
            buffer.setSample(c, s, random.nextFloat() * 2.0f - 1.0f);
}

bool isCleanSample(float value) noexcept
{
    return std::isfinite(value) && (value == 0.0f || std::fpclassify(value) == FP_NORMAL);
}

int countUncleanSamples(const juce::AudioBuffer<float>& buffer)
{
    int unclean = 0;
    for (int c = 0; c < buffer.getNumChannels(); ++c)
        for (int s = 0; s < buffer.getNumSamples(); ++s)
            if (!isCleanSample(buffer.getSample(c, s)))
                ++unclean;
    return unclean;
}
