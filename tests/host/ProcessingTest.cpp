// Audio through the host: every sample rate and block size, re-preparing mid-stream, automation and MIDI
// at random places, and input no signal should contain.
#include "HostFixture.h"

#include <atomic>
#include <iterator>
#include <limits>
#include <utility>

namespace
{
/** A play head whose tempo the test moves, 0 and extreme tempos included. */
class TestPlayHead final : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setBpm(bpm.load());
        info.setIsPlaying(true);
        return info;
    }

    std::atomic<double> bpm{120.0};
};

/** One random MIDI message of the kinds the plug-in reacts to, or ignores on purpose. */
juce::MidiMessage randomMessage(juce::Random& random)
{
    const int channel = random.nextInt(16) + 1;
    switch (random.nextInt(5))
    {
    case 0:
        return juce::MidiMessage::controllerEvent(channel, random.nextInt(128), random.nextInt(128));
    case 1:
        return juce::MidiMessage::programChange(channel, random.nextInt(128));
    case 2:
        return juce::MidiMessage::noteOn(channel, random.nextInt(128), (juce::uint8)random.nextInt(128));
    case 3:
        return juce::MidiMessage::noteOff(channel, random.nextInt(128));
    default:
        return juce::MidiMessage::pitchWheel(channel, random.nextInt(16384));
    }
}
} // namespace

class ProcessingTest : public HostTest
{
protected:
    /** Runs seconds of noise at the prepared rate on an audio thread; fails on any unclean sample. */
    void expectCleanRun(double rate, int blockSize, double seconds, const BeforeBlock& beforeBlock = {})
    {
        int unclean = 0;
        onAudioThread(
            [&] { unclean = processNoise(*plugin, blockSize, (int)(rate * seconds), random, beforeBlock); });
        EXPECT_EQ(unclean, 0) << rate << " Hz in blocks of " << blockSize;
    }

    juce::Random random{7};
};

TEST_P(ProcessingTest, EveryRateAndBlockSizeGivesCleanOutput)
{
    // A block larger than the prepared one breaks the VST3 contract, and the framework's VST3 wrapper
    // then copies it past the end of its own buffer; LV2's wrapper takes it.
    constexpr int prepared = 1024;
    const int largest = GetParam() == PluginFormat::lv2 ? 2 * prepared : prepared;
    for (double rate : {44100.0, 48000.0, 96000.0, 192000.0})
    {
        plugin->prepareToPlay(rate, prepared);
        for (int blockSize : {1, 64, 512, prepared, largest})
            expectCleanRun(rate, blockSize, 0.05);
    }
}

TEST_P(ProcessingTest, RePreparingAtAnotherRateMidStreamKeepsWorking)
{
    plugin->prepareToPlay(44100.0, 512);
    expectCleanRun(44100.0, 512, 0.2);

    for (const auto& [nextRate, nextBlockSize] :
         {std::pair{96000.0, 256}, {48000.0, 1024}, {192000.0, 64}, {44100.0, 512}})
    {
        // Plain copies: C++17 lambdas cannot capture structured bindings.
        const double rate = nextRate;
        const int blockSize = nextBlockSize;
        plugin->prepareToPlay(rate, blockSize);
        float peak = 0.0f;
        expectCleanRun(rate, blockSize, 0.1);
        onAudioThread(
            [&]
            {
                juce::AudioBuffer<float> buffer(2, blockSize);
                juce::MidiBuffer midi;
                fillWithNoise(buffer, random);
                plugin->processBlock(buffer, midi);
                peak = buffer.getMagnitude(0, blockSize);
            });
        EXPECT_GT(peak, 0.0f) << "silent after re-preparing at " << rate << " Hz";
    }
}

TEST_P(ProcessingTest, AutomationEvery32SamplesWithMidiAtRandomPlacesStaysClean)
{
    // Bind every parameter to a controller, so that controller messages move parameters too.
    auto document = patch();
    for (int i = 0; i < numParameters; ++i)
        document->setAttribute(identifiers[i] + "CC", i % 128);
    restorePluginState(*plugin, blobOf(*document));

    TestPlayHead playHead;
    plugin->setPlayHead(&playHead);
    const double tempos[] = {120.0, 0.0, 1.0, 60.0, 999.0, 33.3};

    for (int blockSize : {32, 512})
    {
        plugin->prepareToPlay(48000.0, blockSize);
        expectCleanRun(48000.0, blockSize, 1.0,
                       [&](int block, int numSamples, juce::MidiBuffer& midi)
                       {
                           for (int k = 0; k < 4; ++k)
                               parameters[(size_t)random.nextInt(numParameters)]->setValue(
                                   random.nextFloat());
                           for (int k = random.nextInt(blockSize / 16 + 2); --k >= 0;)
                               midi.addEvent(randomMessage(random), random.nextInt(numSamples));
                           if (block % 50 == 0)
                               playHead.bpm = tempos[(block / 50) % (int)std::size(tempos)];
                       });
    }
    plugin->setPlayHead(nullptr);
}

TEST_P(ProcessingTest, OutputRecoversFromNonFiniteAndHugeInput)
{
    constexpr double rate = 48000.0;
    constexpr int blockSize = 512;
    const float poison[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(), 1.0e30f, -1.0e30f,
                            std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(), 1.0e-40f};

    // The default patch, then patches of random routing and modulation, feedback loops included.
    for (int patchNumber = 0; patchNumber < 4; ++patchNumber)
    {
        if (patchNumber > 0)
        {
            juce::Random patchRandom(patchNumber);
            setRandomPatch(patchRandom);
        }
        plugin->prepareToPlay(rate, blockSize);
        expectCleanRun(rate, blockSize, 0.2);

        onAudioThread([&] {
            juce::AudioBuffer<float> buffer(2, blockSize);
            juce::MidiBuffer midi;
            for (int block = 0; block < 4; ++block)
            {
                for (int c = 0; c < 2; ++c)
                    for (int s = 0; s < blockSize; ++s)
                        buffer.setSample(c, s, poison[(size_t)(s + c + block) % std::size(poison)]);
                plugin->processBlock(buffer, midi);
            }
            // Whatever the modules remember of it has run out after this much normal input.
            processNoise(*plugin, blockSize, (int)(rate * 3.0), random);
        });
        expectCleanRun(rate, blockSize, 0.5);
    }
}

INSTANTIATE_FOR_BOTH_FORMATS(ProcessingTest);
