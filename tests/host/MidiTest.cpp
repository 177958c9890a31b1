// MIDI as a host delivers it: bound controllers move their parameters and the host hears of it, and
// program changes load presets by index from the user's preset folder; preset files the plug-in cannot
// read change nothing.
#include "HostFixture.h"

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wshadow", "-Wunused-parameter", "-Wnon-virtual-dtor")
#include <pluginterfaces/vst/ivstaudioprocessor.h>
#include <pluginterfaces/vst/ivstevents.h>
#include <pluginterfaces/vst/ivstparameterchanges.h>
JUCE_END_IGNORE_WARNINGS_GCC_LIKE

#include <map>
#include <memory>
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

namespace vst = Steinberg::Vst;

/** One of the host's objects a VST3 process call is handed. It lives on the test's stack for that one
    call, so its reference count has nothing to free. */
template <typename Interface> class HostObject : public Interface
{
public:
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID wanted, void** object) override
    {
        const bool known = Steinberg::FUnknownPrivate::iidEqual(wanted, Interface::iid) ||
                           Steinberg::FUnknownPrivate::iidEqual(wanted, Steinberg::FUnknown::iid);
        *object = known ? this : nullptr;
        return known ? Steinberg::kResultOk : Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }
};

class EventList final : public HostObject<vst::IEventList>
{
public:
    Steinberg::int32 PLUGIN_API getEventCount() override { return (Steinberg::int32)events.size(); }
    Steinberg::tresult PLUGIN_API getEvent(Steinberg::int32 index, vst::Event& e) override
    {
        if (!juce::isPositiveAndBelow(index, (Steinberg::int32)events.size()))
            return Steinberg::kResultFalse;
        e = events[(size_t)index];
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API addEvent(vst::Event& e) override
    {
        events.push_back(e);
        return Steinberg::kResultOk;
    }

    std::vector<vst::Event> events;
};

/** The parameter moves a plug-in reports in one process call, as a VST3 host collects them. */
class ParameterChanges final : public HostObject<vst::IParameterChanges>
{
public:
    class Queue final : public HostObject<vst::IParamValueQueue>
    {
    public:
        explicit Queue(vst::ParamID i) : id(i) {}
        vst::ParamID PLUGIN_API getParameterId() override { return id; }
        Steinberg::int32 PLUGIN_API getPointCount() override { return (Steinberg::int32)points.size(); }
        Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& offset,
                                               vst::ParamValue& value) override
        {
            if (!juce::isPositiveAndBelow(index, (Steinberg::int32)points.size()))
                return Steinberg::kResultFalse;
            std::tie(offset, value) = points[(size_t)index];
            return Steinberg::kResultOk;
        }
        Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 offset, vst::ParamValue value,
                                               Steinberg::int32& index) override
        {
            index = (Steinberg::int32)points.size();
            points.emplace_back(offset, value);
            return Steinberg::kResultOk;
        }

        const vst::ParamID id;
        std::vector<std::pair<Steinberg::int32, vst::ParamValue>> points;
    };

    Steinberg::int32 PLUGIN_API getParameterCount() override { return (Steinberg::int32)queues.size(); }
    vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override
    {
        return juce::isPositiveAndBelow(index, (Steinberg::int32)queues.size()) ? queues[(size_t)index].get()
                                                                                : nullptr;
    }
    vst::IParamValueQueue* PLUGIN_API addParameterData(const vst::ParamID& id,
                                                       Steinberg::int32& index) override
    {
        for (index = 0; index < (Steinberg::int32)queues.size(); ++index)
            if (queues[(size_t)index]->id == id)
                return queues[(size_t)index].get();
        queues.push_back(std::make_unique<Queue>(id));
        return queues.back().get();
    }

    std::vector<std::unique_ptr<Queue>> queues;
};
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

    /** One block with the given controller messages, through the VST3 component's own process call as a
        VST3 host makes it, and the last value of every parameter move the plug-in reports in that call,
        by parameter id. The framework's hosting reads these too, but never passes them on to its own
        parameter objects, so this is the only place a test can see them. */
    void playAsVst3Host(const TimedMessages& messages, std::map<vst::ParamID, vst::ParamValue>& reported)
    {
        struct ComponentOf final : juce::ExtensionsVisitor
        {
            void visitVST3Client(const VST3Client& client) override { component = client.getIComponentPtr(); }
            vst::IComponent* component = nullptr;
        } visitor;
        plugin->getExtensions(visitor);
        ASSERT_NE(visitor.component, nullptr);
        Steinberg::FUnknownPtr<vst::IAudioProcessor> processor(visitor.component);
        ASSERT_NE(processor.get(), nullptr);

        // VST3 has no controller event a host sends; the framework's wrapper reads the legacy one as the
        // same MIDI message a host's mapped controller parameter becomes.
        EventList events;
        for (const auto& [message, position] : messages)
        {
            ASSERT_TRUE(message.isController());
            vst::Event e{};
            e.type = vst::Event::kLegacyMIDICCOutEvent;
            e.sampleOffset = position;
            e.midiCCOut.controlNumber = (Steinberg::uint8)message.getControllerNumber();
            e.midiCCOut.channel = (Steinberg::int8)(message.getChannel() - 1);
            e.midiCCOut.value = (Steinberg::int8)message.getControllerValue();
            events.events.push_back(e);
        }

        // Every audio bus the component declares, with silent channels.
        constexpr int numSamples = 256;
        std::vector<std::vector<float>> samples;
        std::vector<std::vector<float*>> channels[2];
        std::vector<vst::AudioBusBuffers> buses[2];
        for (const auto direction : {vst::kInput, vst::kOutput})
        {
            const auto count = visitor.component->getBusCount(vst::kAudio, direction);
            for (Steinberg::int32 b = 0; b < count; ++b)
            {
                vst::BusInfo info{};
                ASSERT_EQ(visitor.component->getBusInfo(vst::kAudio, direction, b, info),
                          Steinberg::kResultOk);
                auto& pointers = channels[direction].emplace_back();
                for (int c = 0; c < info.channelCount; ++c)
                    pointers.push_back(samples.emplace_back(numSamples, 0.0f).data());
            }
            for (auto& pointers : channels[direction])
            {
                auto& bus = buses[direction].emplace_back();
                bus.numChannels = (Steinberg::int32)pointers.size();
                bus.channelBuffers32 = pointers.data();
            }
        }

        ParameterChanges changes;
        vst::ProcessData data;
        data.processMode = vst::kRealtime;
        data.symbolicSampleSize = vst::kSample32;
        data.numSamples = numSamples;
        data.numInputs = (Steinberg::int32)buses[vst::kInput].size();
        data.numOutputs = (Steinberg::int32)buses[vst::kOutput].size();
        data.inputs = buses[vst::kInput].data();
        data.outputs = buses[vst::kOutput].data();
        data.inputEvents = &events;
        data.outputParameterChanges = &changes;

        // The instance the host prepared is active and processing; this call takes the audio thread's
        // place for one block while nothing else processes.
        Steinberg::tresult result = Steinberg::kResultFalse;
        onAudioThread([&] { result = processor->process(data); });
        ASSERT_EQ(result, Steinberg::kResultOk);

        for (const auto& queue : changes.queues)
        {
            ASSERT_FALSE(queue->points.empty()) << "parameter " << queue->id;
            reported[queue->id] = queue->points.back().second;
        }
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

    // A VST3 host hears of moves made on the audio thread in that process call's output parameter
    // changes, each under the parameter's index; an LV2 host through its own parameter objects.
    const bool vst3 = GetParam() == PluginFormat::vst3;
    std::map<vst::ParamID, vst::ParamValue> reported;
    if (vst3)
        ASSERT_NO_FATAL_FAILURE(playAsVst3Host(messages, reported));
    else
        play(messages);

    const auto after = patch();
    for (int i = 0; i < numParameters; ++i)
    {
        const auto& id = identifiers[i];
        const float expected = i < numBound ? (float)((i * 37 + 5) % 128) / 127.0f : patchValue(*before, id);
        EXPECT_EQ(bits(patchValue(*after, id)), bits(expected)) << "processor, " << id;
        if (vst3)
        {
            // The wrapper reports the parameter's float as it is; -1 stands for "never heard of".
            const auto heard = reported.find((vst::ParamID)i);
            EXPECT_EQ(heard == reported.end() ? -1.0 : heard->second, i < numBound ? (double)expected : -1.0)
                << "host, " << id;
        }
        else
            EXPECT_EQ(bits(parameters[(size_t)i]->getValue()), bits(expected)) << "host, " << id;
        EXPECT_EQ(after->getIntAttribute(id + "CC"), i < numBound ? i + 1 : -1) << id;
    }
    if (vst3)
    {
        EXPECT_EQ(reported.size(), (size_t)numBound) << "the host hears only of the moved parameters";
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

    // Unreadable, and too large to parse quickly on the audio thread.
    for (int index : {2, 3, 4, 5, 6})
    {
        programChange(index);
        expectValues(*odd, "unreadable preset " + juce::String(index));
    }

    programChange(127); // past the end: the last one
    expectValues(*last, "08 Last");
}

INSTANTIATE_FOR_BOTH_FORMATS(MidiTest);
