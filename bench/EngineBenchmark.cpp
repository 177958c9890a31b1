// Real-time factor of the engine: 48 kHz stereo in 512-sample blocks through the real processor, for the
// default patch, a patch where every module and every modulation slot works, and a silent patch.
#include "plugin/PluginProcessor.h"

#include <benchmark/benchmark.h>

#include <juce_events/juce_events.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();

namespace
{

constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;

void setSource(QuorvelAudioProcessor& p, int index, int source)
{
    p.setParameter(index, (float)source / 17.0f);
}

void defaultPatch(QuorvelAudioProcessor&) {}

// Every module runs, both filters are fed, every crusher quantises and holds, all 31 modulation slots are
// active (filter cutoff and resonance included) and every mixer and multiplier has two sources.
void fullPatch(QuorvelAudioProcessor& p)
{
    for (int n = 0; n < 2; ++n)
    {
        p.setParameter(12 + 3 * n, 0.4f);  // Bits 7
        p.setParameter(13 + 3 * n, 0.05f); // Rate 4
        p.setParameter(14 + 3 * n, 0.6f);  // Mix 60 %
        p.setParameter(6 + 3 * n, 0.3f);   // Morph
        p.setParameter(7 + 3 * n, 0.5f);   // Cutoff 2765 Hz
        p.setParameter(8 + 3 * n, 0.4f);   // Resonance
    }
    for (int n = 0; n < 4; ++n)
    {
        p.setParameter(20 + 5 * n, (float)n / 5.0f); // Waves
        p.setParameter(21 + 5 * n, 0.3f + 0.1f * (float)n);
        setSource(p, 40 + 3 * n, 1 + n);
        setSource(p, 41 + 3 * n, 4 + n);
        p.setParameter(42 + 3 * n, 0.5f);
    }
    for (int n = 0; n < 2; ++n)
    {
        setSource(p, 52 + 2 * n, 8 + n);
        setSource(p, 53 + 2 * n, 2 + n);
    }
    for (int t = 0; t < 31; ++t)
    {
        setSource(p, 56 + 2 * t, 8 + t % 4);
        p.setParameter(57 + 2 * t, 0.5f);
    }
    setSource(p, 130, 16);
}

void silentPatch(QuorvelAudioProcessor& p)
{
    for (int m = 0; m < 7; ++m)
        setSource(p, 118 + 2 * m, 0);
    for (int i : {40, 41, 43, 44, 46, 47, 49, 50, 52, 53, 54, 55})
        setSource(p, i, 0);
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
    for (auto _ : state)
    {
        buffer.makeCopyOf(noise, true);
        processor.processBlock(buffer, midi);
        benchmark::DoNotOptimize(buffer.getReadPointer(0));
    }

    // Seconds of audio per second of CPU time.
    state.counters["realtime_x"] =
        benchmark::Counter((double)state.iterations() * blockSize / sampleRate, benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK_CAPTURE(runEngine, default_patch, defaultPatch)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(runEngine, full_patch, fullPatch)->Unit(benchmark::kMicrosecond);
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
