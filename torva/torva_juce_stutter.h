#pragma once

#include "torva/torva_juce_numeric.h"

#include <cmath>
#include <cstdint>

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
};

inline void Stutter::setSize(float milliseconds)
{
    // Rounded to single precision before the truncation: at 48 kHz, 145 ms must give 6960 samples.
    const float samples = (float)((double)(float)sampleRate * ((double)milliseconds * 0.001));
    size = truncateToInt(samples);
    if (size > bufferLength)
        size = bufferLength;
    if (size <= 0)
        size = 1;
}

inline void Stutter::setRepeats(int repeats)
{
    if (repeats > 0)
        repeatPeriod = (float)((int64_t)repeats * size);
}

inline void Stutter::setRatio(float ratio)
{
    increment = ratio;
}

inline float Stutter::process(const float* input)
{
    if (!captured)
    {
        buffer[writeIndex] = *input;
        writeIndex += 1;
        if (writeIndex >= size)
        {
            writeIndex = 0;
            captured = true;
        }
    }

    repeatCounter += 1;
    if ((float)repeatCounter >= repeatPeriod)
    {
        repeatCounter = 0;
        captured = false;
    }

    // One loop length at most per call: a shortened loop brings the read position back gradually.
    if (!(readPosition >= 0.0f))
        readPosition += (float)size;
    else if (readPosition >= (float)size)
        readPosition -= (float)size;

    // A NaN ratio, or a loop too short for the one-step wrap, must not lead the read outside the memory.
    if (!((double)readPosition >= 0.0 && (double)readPosition < (double)bufferLength))
        readPosition = wrapIntoLength(readPosition, (float)size);

    // The position is not negative here, so truncation is its floor.
    const int i = (int)readPosition;
    const float fraction = readPosition - (float)i;
    const float next = (i == size - 1 || i == bufferLength - 1) ? buffer[0] : buffer[i + 1];
    readPosition += increment;

    return buffer[i] + fraction * (next - buffer[i]);
}

} // namespace torvaLib
