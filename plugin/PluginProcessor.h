#pragma once

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_data_structures/juce_data_structures.h>

#include "plugin/EngineTypes.h"
#include "torva/torva_juce_lfo.h"
#include "torva/torva_juce_parameters.h"
#include "torva/torva_juce_presetManager.h"
#include "torva/torva_juce_reducer.h"
#include "torva/torva_juce_sharedString.h"
#include "torva/torva_juce_stutter.h"
#include "torva/torva_juce_svf.h"

#include <array>
#include <atomic>

/** Fills the 132 records of the parameter table, index by index, with their identifiers, ranges,
    defaults and curves. The array must already hold 132 records. */
void initializeAllParameters(juce::OwnedArray<torvaLib::PluginParameter>& params);

/** Sets an LFO's frequency from the tempo and a note length 0..17 ("8 BARS" .. "1/128"); any other index
    leaves it unchanged. The caller recomputes the increment. */
void lfoSyncConvert(torvaLib::Lfo* lfo, float bpm, int index);

/** The plug-in instance the host drives: the parameter table, the host state, presets, MIDI handling,
    the settings file and the audio engine. The editor reaches it through a plain pointer and the public
    fields below; fields shared between threads are atomic or exchanged as whole values. */
class QuorvelAudioProcessor : public juce::AudioProcessor
{
public:
    static constexpr int numParameters = 132;

    QuorvelAudioProcessor();
    ~QuorvelAudioProcessor() override;

    const juce::String getName() const override;
    void prepareToPlay(double sampleRate, int maximumBlockSize) override;
    void releaseResources() override;
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using juce::AudioProcessor::processBlock;
    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;
    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram(int index) override;
    const juce::String getProgramName(int index) override;
    void changeProgramName(int index, const juce::String& newName) override;
    void getStateInformation(juce::MemoryBlock& destData) override;
    void setStateInformation(const void* data, int sizeInBytes) override;
    bool isBusesLayoutSupported(const BusesLayout& layouts) const override;

    // The index-based parameter calls, through which the framework presents the table to the host.
    int getNumParameters() override;
    const juce::String getParameterName(int index) override;
    float getParameter(int index) override;
    const juce::String getParameterText(int index) override;
    void setParameter(int index, float newValue) override;
    using juce::AudioProcessor::getParameterName;
    using juce::AudioProcessor::getParameterText;

    const juce::String getInputChannelName(int channelIndex) const override;
    const juce::String getOutputChannelName(int channelIndex) const override;
    bool isInputChannelStereoPair(int index) const override;
    bool isOutputChannelStereoPair(int index) const override;
    bool silenceInProducesSilenceOut() const override;

    /** Short upper-case caption of what a parameter does ("CUTOFF"); empty outside 0..131. */
    juce::String getParameterDisplayName(int index) const;

    /** Loads a preset file now, or hands its path to the editor's timer while an editor exists. */
    void loadPresetFromFile(const juce::String& path);

    /** Reads a preset file and applies it at once, on the calling thread; the editor's timer uses it for
        deferred loads. A file that is missing, malformed, cut off or of another kind changes nothing. */
    void applyPresetFile(const juce::String& path);

    /** The current patch as a preset element under the given preset name: every normalised value, no
        bindings. */
    std::unique_ptr<juce::XmlElement> createPresetXml(const juce::String& name);

    /** Writes the current patch under the given preset name to the file a save of the chosen file writes
        (presetManager.fileToSave). The file holds the whole preset or, when the write fails, what it held
        before; the failure's result holds the system's reason. presetName is not touched. */
    juce::Result writePresetFile(const juce::File& chosen, const juce::String& name);

    /** Serves the block-start requests from the message thread, for a host that runs no blocks (no audio
        device, a track suspended while silent): the same serves in the same order as at a block start,
        under the framework's callback lock that the wrappers hold around every block, so a block never
        serves them at the same time. Taken with a try-lock, so it never waits for a block; returns false
        when a block held the lock and nothing was served. */
    bool serveRequestsWithoutAudio();

    /** Writes the five-line environment summary to the given logger. */
    static void writeLogSummary(juce::FileLogger* logger);

    static const juce::String versionNumber;

    /** The latest value of source k for channel c; 0 for NONE and for anything outside the lists. */
    float readSource(int k, int c) const;

    //==============================================================================================
    juce::OwnedArray<torvaLib::PluginParameter> params;

    // The audio engine: source values, one DSP object per channel (array index = channel), the four
    // LFOs shared by both channels, and the per-block copy of the parameters.
    engine::SourceValues sourceValue;
    juce::OwnedArray<torvaLib::Stutter> buffer1Stutter, buffer2Stutter;
    juce::OwnedArray<torvaLib::Svf> filter1Svf, filter2Svf;
    juce::OwnedArray<torvaLib::Bitcrusher> crusher1Bitcrusher, crusher2Bitcrusher;
    juce::OwnedArray<torvaLib::Reducer> crusher1Reducer, crusher2Reducer;
    torvaLib::Lfo lfo1, lfo2, lfo3, lfo4;
    engine::ParamSnapshot paramSnapshot;
    float outputGain = 1.0f;
    double lastSampleRate = 44100.0;
    std::atomic<float> hostBpm{120.0f};
    // Counts the writes of parameters, which all come through setParameter: the engine reads the
    // parameters' live values again only when the count has moved.
    std::atomic<uint32_t> parameterWrites{0};
    // Counts the blocks that started; while it stands still, the editor's timer serves the requests.
    std::atomic<uint32_t> blocksStarted{0};

    torvaLib::SharedString messageName{"Version 1.2"};
    torvaLib::SharedString messageValue;
    torvaLib::PresetManager presetManager;
    juce::StringArray presetMenuNames;
    torvaLib::SharedString presetName{"Init"};
    std::atomic<bool> presetListChanged{true};
    torvaLib::SharedString pendingPresetPath;
    std::atomic<bool> loadPending{false};
    std::atomic<bool> learnMode{false};
    std::atomic<bool> unlearnMode{false};
    std::atomic<bool> clearAllRequest{false};
    std::atomic<bool> loadByIndexRequest{false};
    std::atomic<int> presetIndex{0};
    std::atomic<bool> randomiseRequest{false};
    juce::Random random;
    std::unique_ptr<juce::PropertiesFile> settingsFile;
    std::atomic<bool> newMessage{false};
    // The scope's last 128 values, newest first: the audio thread shifts them in place while the editor
    // reads them one by one, so each is atomic and neither side locks or allocates.
    std::array<std::atomic<float>, 128> scopeHistory{};
    int scopeDecimation = 0;

private:
    /** Block-start requests: the first serves the three others, in this order. */
    void serveBlockStartRequests();
    void serveLoadByIndexRequest();
    void serveClearAllRequest();
    void serveRandomiseRequest();

    /** One MIDI event, handled at its sample position in channel 0's pass. */
    void handleMidiEvent(const juce::MidiMessageMetadata& event);
    void handleControllerChange(int controller, int value);

    /** A note-on on MIDI channel lfoIndex + 1 starts that LFO again from the beginning of its table. */
    void restartLfo(int lfoIndex);

    /** The global settings file: bindings read at construction, written back at destruction. */
    void openSettingsFile();
    void writeSettingsFile();

    /** Sets a parameter from a state or preset element with host notification: the attribute named by
        its identifier, or its default when the attribute is missing. A value outside 0..1 changes nothing,
        and the host is not told about a value the parameter refused. */
    void setStoredParameter(const juce::XmlElement& stored, int index);

    // The engine's block start and scope capture (AudioEngine.cpp).
    void createEngineObjects();
    void takeParamSnapshot();
    void setUpBlock();
    void captureScope(float y);

    bool isIndexValid(int index) const noexcept { return juce::isPositiveAndBelow(index, numParameters); }

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(QuorvelAudioProcessor)
};
