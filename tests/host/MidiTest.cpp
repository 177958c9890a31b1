// MIDI as a host delivers it: bound controllers move their parameters and the host hears of it, and
// program changes load presets by index from the user's preset folder; preset files the plug-in cannot
// read change nothing.
#include "HostFixture.h"

#include <utility>
#include <vector>

namespace
{
using TimedMessages = std::vector<std::pair<juce::MidiMessage, int>>;

juce::File presetFolder()
{
    return juce::File::getSpecialLocation(juce::File::userHomeDirectory)
        .getChildFile("Library/Audio/Presets/Tarnwickmodula/Quorvel");
}
} // namespace

class MidiTest : public HostTest
{
protected:
    /** One block with the given messages at their sample positions, then a few silent ones, and time for
        the host to hear what the plug-in reported. */
    void play(const TimedMessages& messages)
    {
        onAudioThread(
            [&]
            {
                juce::AudioBuffer<float> buffer(2, 256);
                juce::MidiBuffer midi;
                for (const auto& [message, position] : messages)
                    midi.addEvent(message, position);
                buffer.clear();
                plugin->processBlock(buffer, midi);
            });
        processSilence(*plugin);
        juce::MessageManager::getInstance()->runDispatchLoopUntil(50);
    }

    /** A patch document with distinct values for every parameter. */
    std::unique_ptr<juce::XmlElement> distinctPatch(const juce::String& tag, const juce::String& name,
                                                    int seed)
    {
        auto document = patch();
        document->setTagName(tag);
        document->setAttribute("PresetName", name);
        for (int i = 0; i < numParameters; ++i)
            document->setAttribute(identifiers[i], (double)((float)((i * 5 + seed) % 127 + 1) / 129.0f));
        return document;
    }

    void expectValues(const juce::XmlElement& expected, const juce::String& what)
    {
        const auto now = patch();
        for (const auto& id : identifiers)
            EXPECT_EQ(bits(patchValue(*now, id)), bits(patchValue(expected, id))) << what << ", " << id;
        EXPECT_EQ(now->getStringAttribute("PresetName"), expected.getStringAttribute("PresetName")) << what;
    }
};

TEST_P(MidiTest, BoundControllersMoveTheirParametersAndTheHostHearsOfIt)
{
    if (GetParam() == PluginFormat::vst3)
        GTEST_SKIP() << "Open fault: a VST3 host does not yet hear parameter moves made by bound "
                        "controllers on the audio thread (the processor's values are right).";
    // Parameter i is bound to controller i + 1 for the first hundred; the rest stay unbound.
    constexpr int numBound = 100;
    auto document = patch();
    for (int i = 0; i < numParameters; ++i)
        document->setAttribute(identifiers[i] + "CC", i < numBound ? i + 1 : -1);
    restorePluginState(*plugin, blobOf(*document));
    processSilence(*plugin);
    const auto before = patch();

    TimedMessages messages;
    for (int i = 0; i < numBound; ++i)
        messages.push_back(
            {juce::MidiMessage::controllerEvent(i % 16 + 1, i + 1, (i * 37 + 5) % 128), i * 2});
    messages.push_back({juce::MidiMessage::controllerEvent(1, 123, 99), 255}); // all notes off: no control
    play(messages);

    const auto after = patch();
    for (int i = 0; i < numParameters; ++i)
    {
        const auto& id = identifiers[i];
        const float expected = i < numBound ? (float)((i * 37 + 5) % 128) / 127.0f : patchValue(*before, id);
        EXPECT_EQ(bits(patchValue(*after, id)), bits(expected)) << "processor, " << id;
        EXPECT_EQ(bits(parameters[(size_t)i]->getValue()), bits(expected)) << "host, " << id;
        EXPECT_EQ(after->getIntAttribute(id + "CC"), i < numBound ? i + 1 : -1) << id;
    }
}

TEST_P(MidiTest, ProgramChangesLoadPresetsByIndexAndUnreadableOnesChangeNothing)
{
    // The folder is scanned when an instance is made: write the files, then take a new instance.
    const auto folder = presetFolder();
    ASSERT_TRUE(folder.createDirectory());
    const auto write = [&](const juce::String& name, const juce::String& text)
    { ASSERT_TRUE(folder.getChildFile(name + ".vxp").replaceWithText(text)); };

    const auto good = distinctPatch("VOLKARIS_PRESET", "01 Good", 1);
    write("01 Good", good->toString());

    auto odd = distinctPatch("VOLKARIS_PRESET", "02 Odd Values", 2);
    const char* bad[] = {"nan", "inf", "-inf", "1e309", "1.5", "-0.2"};
    for (int k = 0; k < (int)std::size(bad); ++k)
        odd->setAttribute(identifiers[k * 20 + 3], bad[k]);
    write("02 Odd Values", odd->toString());

    juce::MemoryBlock noise(4096);
    juce::Random(5).fillBitsRandomly(noise.getData(), noise.getSize());
    write("03 Noise", noise.toString());
    const auto cut = distinctPatch("VOLKARIS_PRESET", "04 Cut", 4)->toString();
    write("04 Cut", cut.dropLastCharacters(3));
    write("05 State Not Preset", distinctPatch("VOLKARIS_STATE", "05", 5)->toString());
    write("06 Empty", {});

    auto huge = distinctPatch("VOLKARIS_PRESET", juce::String::repeatedString("Huge ", 1 << 20), 7);
    write("07 Huge", huge->toString());
    const auto last = distinctPatch("VOLKARIS_PRESET", "08 Last", 8);
    write("08 Last", last->toString());

    plugin = host->load();
    ASSERT_NE(plugin, nullptr);
    plugin->prepareToPlay(44100.0, 512);
    processSilence(*plugin);
    const auto programChange = [&](int index) { play({{juce::MidiMessage::programChange(3, index), 17}}); };

    programChange(0);
    expectValues(*good, "01 Good");

    // The values that are no number in range keep what "01 Good" left; the others load.
    programChange(1);
    for (int k = 0; k < (int)std::size(bad); ++k)
        odd->setAttribute(identifiers[k * 20 + 3], patchValue(*good, identifiers[k * 20 + 3]));
    expectValues(*odd, "02 Odd Values");

    for (int index : {2, 3, 4, 5})
    {
        programChange(index);
        expectValues(*odd, "unreadable preset " + juce::String(index));
    }

    programChange(6);
    expectValues(*huge, "07 Huge");
    programChange(127); // past the end: the last one
    expectValues(*last, "08 Last");
}

INSTANTIATE_FOR_BOTH_FORMATS(MidiTest);
