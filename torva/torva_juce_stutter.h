#pragma once

#include <memory>

namespace torvaLib
{

// Stutter buffer: records a loop of its input, replays it a set number of times at a set speed and
// direction, then records afresh. One object per channel and buffer module; the engine sets it up once
// per block, re-applies modulated controls per sample and calls process() once per sample.
class Stutter
{
public:
    Stutter();

    // Reallocates the sample memory (zeroed) when the length changes and rewinds the clock and both
    // positions. Lengths below 1, or memory that cannot be had, leave the old buffer in place.
    void setBufferLength(int length);
    // Keeps the buffer's length in seconds: rescales it by new rate / old rate. Rates that are not
    // finite and above 0 are ignored.
    void setSampleRate(double rate);
    void clear();
    void setSize(float milliseconds);
    void setRepeats(int repeats);
    void setRatio(float ratio);
    // Reads the module's input value at *input and returns this sample's output.
    float process(const float* input);

    std::unique_ptr<float[]> buffer;
    double sampleRate = 44100.0;
    int bufferLength = 0;
    int size = 1;
    float repeatPeriod = 44100.0f;
    int repeatCounter = 0;
    bool captured = false;
    float increment = 1.0f;
    int writeIndex = 0;
    float readPosition = 0.0f;

private:
    void bringReadPositionIntoBuffer();
};

} // namespace torvaLib
