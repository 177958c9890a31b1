// Real-time factor of the engine: 48 kHz stereo in 512-sample blocks through the real processor, for the
// default patch, a patch where every module and every modulation slot works, a patch that feeds back and
// modulates from audio sources, and a silent patch.
#include "plugin/Modulation.h"
#include "plugin/PluginProcessor.h"

#include <benchmark/benchmark.h>

#include <juce_events/juce_events.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();

namespace
{

constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return (double)now.tv_sec + (double)now.tv_nsec * 1.0e-9;
}

using namespace engine;

void setSource(QuorvelAudioProcessor& p, int index, int source)
{
    p.setParameter(index, ParameterTable::sourceToNormalised(source));
}

void defaultPatch(QuorvelAudioProcessor&) {}

// Every module runs, both filters are fed, every crusher quantises and holds, all 31 modulation slots are
// active (filter cutoff and resonance included) and every mixer and multiplier has two sources.
void fullPatch(QuorvelAudioProcessor& p)
{
    for (int n = 0; n < 2; ++n)
    {
        p.setParameter(crusherBitsParam(n), 0.4f);  // 7 levels
        p.setParameter(crusherRateParam(n), 0.05f); // hold 4 samples
        p.setParameter(crusherMixParam(n), 0.6f);
        p.setParameter(filterMorphParam(n), 0.3f);
        p.setParameter(filterCutoffParam(n), 0.5f); // 2765 Hz
        p.setParameter(filterResonanceParam(n), 0.4f);
    }
    for (int n = 0; n < numLfos; ++n)
    {
        p.setParameter(lfoWaveParam(n), (float)n / 5.0f);
        p.setParameter(lfoRateParam(n), 0.3f + 0.1f * (float)n);
    }
    for (int n = 0; n < numMixers; ++n)
    {
        setSource(p, mixerSourceAParam(n), srcInput + n);
        setSource(p, mixerSourceBParam(n), srcFilter1 + n);
        p.setParameter(mixerMixParam(n), 0.5f);
    }
    for (int n = 0; n < numMultipliers; ++n)
    {
        setSource(p, multiplierSourceAParam(n), srcLfo1 + n);
        setSource(p, multiplierSourceBParam(n), srcBuffer1 + n);
    }
    for (int t = 0; t < numModSlots; ++t)
    {
        setSource(p, modSourceIndex(t), srcLfo1 + t % numLfos);
        p.setParameter(modDepthIndex(t), 0.5f);
    }
    setSource(p, inputSourceIndex(inDryWet), srcMultiplier1);
}

// Every module runs and most of them read modules that run later in the sample: the buffers take a mixer
// and the other buffer, the filters take mixers, a crusher takes the other crusher, and the buffers' and
// the LFOs' slots read the input, filters, buffers, mixers and multipliers. So no stage of a sample can
// start before the one ahead of it is done.
void feedbackPatch(QuorvelAudioProcessor& p)
{
    fullPatch(p);
    const int inputs[numRoutingInputs] = {srcMixer1,   srcBuffer1,     srcMixer2, srcMixer3,
                                          srcCrusher2, srcMultiplier1, srcMixer4};
    for (int m = 0; m < numRoutingInputs; ++m)
        setSource(p, inputSourceIndex(m), inputs[m]);

    const int mixerSources[numMixers][2] = {{srcInput, srcFilter1},
                                            {srcInput, srcBuffer2},
                                            {srcBuffer1, srcCrusher1},
                                            {srcFilter2, srcMultiplier2}};
    for (int n = 0; n < numMixers; ++n)
    {
        setSource(p, mixerSourceAParam(n), mixerSources[n][0]);
        setSource(p, mixerSourceBParam(n), mixerSources[n][1]);
    }
    setSource(p, multiplierSourceAParam(0), srcLfo1);
    setSource(p, multiplierSourceBParam(0), srcFilter1);
    setSource(p, multiplierSourceAParam(1), srcCrusher2);
    setSource(p, multiplierSourceBParam(1), srcBuffer2);

    const int bufferSlotSources[2][3] = {{srcFilter1, srcMixer4, srcMultiplier1},
                                         {srcBuffer1, srcMixer2, srcFilter2}};
    for (int n = 0; n < 2; ++n)
    {
        setSource(p, modSourceIndex(bufferSizeSlot(n)), bufferSlotSources[n][0]);
        setSource(p, modSourceIndex(bufferRepeatsSlot(n)), bufferSlotSources[n][1]);
        setSource(p, modSourceIndex(bufferRatioSlot(n)), bufferSlotSources[n][2]);
    }
    const int lfoSlotSources[numLfos][2] = {
        {srcInput, srcLfo2}, {srcBuffer2, srcFilter2}, {srcMixer3, srcLfo4}, {srcMultiplier2, srcMixer1}};
    for (int n = 0; n < numLfos; ++n)
    {
        setSource(p, modSourceIndex(lfoWaveSlot(n)), lfoSlotSources[n][0]);
        setSource(p, modSourceIndex(lfoRateSlot(n)), lfoSlotSources[n][1]);
    }
}

void silentPatch(QuorvelAudioProcessor& p)
{
    for (int m = 0; m < numRoutingInputs; ++m)
        setSource(p, inputSourceIndex(m), srcNone);
    for (int n = 0; n < numMixers; ++n)
    {
        setSource(p, mixerSourceAParam(n), srcNone);
        setSource(p, mixerSourceBParam(n), srcNone);
    }
    for (int n = 0; n < numMultipliers; ++n)
    {
        setSource(p, multiplierSourceAParam(n), srcNone);
        setSource(p, multiplierSourceBParam(n), srcNone);
    }
}

void runEngine(benchmark::State& state, void (*patch)(QuorvelAudioProcessor&))
{
    std::unique_ptr<juce::AudioProcessor> created(createPluginFilter());
    auto& processor = dynamic_cast<QuorvelAudioProcessor&>(*created);
    processor.prepareToPlay(sampleRate, blockSize);
    patch(processor);

    juce::AudioBuffer<float> noise(2, blockSize);
    juce::Random random(1234);
    for (int c = 0; c < 2; ++c)
        for (int s = 0; s < blockSize; ++s)
            noise.setSample(c, s, random.nextFloat() * 1.6f - 0.8f);

    juce::AudioBuffer<float> buffer(2, blockSize);
    juce::MidiBuffer midi;
    const double cpuStart = threadCpuSeconds();
    for (auto _ : state)
    {
        buffer.makeCopyOf(noise, true);
        processor.processBlock(buffer, midi);
        benchmark::DoNotOptimize(buffer.getReadPointer(0));
    }
    const double cpuSeconds = threadCpuSeconds() - cpuStart;

    // Seconds of audio per second of CPU time: how many times faster than real time.
    const double audioSeconds = (double)state.iterations() * blockSize / sampleRate;
    state.counters["x_realtime"] = cpuSeconds > 0.0 ? audioSeconds / cpuSeconds : 0.0;
}

} // namespace

BENCHMARK_CAPTURE(runEngine, default_patch, defaultPatch)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(runEngine, full_patch, fullPatch)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(runEngine, feedback_patch, feedbackPatch)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(runEngine, silent_patch, silentPatch)->Unit(benchmark::kMicrosecond);

// The processor keeps presets and settings under HOME: point it at a scratch folder so a benchmark run
// never touches a real user's files.
int main(int argc, char** argv)
{
    char home[] = "/tmp/quorvel-bench-home-XXXXXX";
    if (mkdtemp(home) == nullptr)
        return 2;
    setenv("HOME", home, 1);

    {
        juce::ScopedJuceInitialiser_GUI juce;
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv))
            return 1;
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }

    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return 0;
}
