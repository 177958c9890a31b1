#pragma once

#include <memory>

namespace torvaLib
{

// Low-frequency oscillator reading one of six pre-computed 1024-entry wave tables (sine, square, saw up,
// saw down, triangle, sample-and-hold over a random table). The processor holds four by value, shared by
// both channels: it sets each up once per block, steps it once per sample and restarts it on MIDI notes.
class Lfo
{
public:
    Lfo();
    Lfo(const Lfo&) = delete;
    Lfo& operator=(const Lfo&) = delete;

    // Ignored unless the rate is finite and above 0. The increment follows at the next updateIncrement.
    void setSampleRate(double rate);
    // Waves outside 0..5 are ignored.
    void setWave(int w);
    // Negative frequencies become 0.
    void setFrequency(float hz);
    void updateIncrement();
    // Advances one sample and returns the table value for this sample.
    float step();
    // The next step reads entry 0; sample-and-hold counts it as a wrap and moves to random entry 1.
    void restart();

    double sampleRate = 44100.0;
    int tableSize = 1024;
    float frequency = 1.0f;
    int wave = 0;
    float phase = 0.0f;
    float increment = 0.0f;
    int previousIndex = 1023;
    int randomIndex = 0;
    std::unique_ptr<float[]> sineTable;
    std::unique_ptr<float[]> squareTable;
    std::unique_ptr<float[]> sawUpTable;
    std::unique_ptr<float[]> sawDownTable;
    std::unique_ptr<float[]> triangleTable;
    std::unique_ptr<float[]> randomTable;

private:
    void bringPhaseIntoTable();
};

} // namespace torvaLib
