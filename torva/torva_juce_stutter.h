#pragma once

#include "torva/torva_juce_numeric.h"

#include <cmath>
#include <cstdint>
#include <cstring>

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
    // One sample of two stutters whose loop is the same (sameLoop): the loop is worked out once, and each
    // records and plays its own memory. The results are those of process() on each.
    static void processPair(Stutter& first, Stutter& second, const float (&input)[2], float (&output)[2]);
    // Whether this stutter and the other have the same length, controls, counters and positions, bit for
    // bit, so that they step alike.
    bool sameLoop(const Stutter& other) const;
    // Whether the controls that the engine modulates are the same, bit for bit.
    bool sameControls(const Stutter& other) const;

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
    // What one sample does to the memory: the entry it records (-1 for none), the two entries it plays
    // and the fraction between them.
    struct Step
    {
        int write;
        int read;
        int next;
        float fraction;
    };
    // Advances the loop by one sample.
    Step advance();
    float play(const Step& step, const float* input);
    static bool sameBits(float a, float b)
    {
        uint32_t x, y;
        std::memcpy(&x, &a, sizeof x);
        std::memcpy(&y, &b, sizeof y);
        return x == y;
    }
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

inline Stutter::Step Stutter::advance()
{
    Step step{-1, 0, 0, 0.0f};
    if (!captured)
    {
        step.write = writeIndex;
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
    step.read = (int)readPosition;
    step.fraction = readPosition - (float)step.read;
    step.next = (step.read == size - 1 || step.read == bufferLength - 1) ? 0 : step.read + 1;
    readPosition += increment;
    return step;
}

// The entry is recorded before the two are read, so a read of the entry just written plays this sample.
inline float Stutter::play(const Step& step, const float* input)
{
    if (step.write >= 0)
        buffer[step.write] = *input;
    return buffer[step.read] + step.fraction * (buffer[step.next] - buffer[step.read]);
}

inline float Stutter::process(const float* input)
{
    return play(advance(), input);
}

TORVA_ALWAYS_INLINE void Stutter::processPair(Stutter& first, Stutter& second, const float (&input)[2],
                                              float (&output)[2])
{
    const Step step = first.advance();
    second.captured = first.captured;
    second.repeatCounter = first.repeatCounter;
    second.writeIndex = first.writeIndex;
    second.readPosition = first.readPosition;
    output[0] = first.play(step, &input[0]);
    output[1] = second.play(step, &input[1]);
}

inline bool Stutter::sameControls(const Stutter& other) const
{
    return size == other.size && sameBits(repeatPeriod, other.repeatPeriod) &&
           sameBits(increment, other.increment);
}

inline bool Stutter::sameLoop(const Stutter& other) const
{
    return sameControls(other) && bufferLength == other.bufferLength &&
           repeatCounter == other.repeatCounter && captured == other.captured &&
           writeIndex == other.writeIndex && sameBits(readPosition, other.readPosition);
}

} // namespace torvaLib
