#include "torva/torva_juce_stutter.h"

#include "torva/torva_juce_numeric.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>

namespace torvaLib
{

// The object is usable from construction on: a short zeroed buffer stands in until the owner sets the
// real length.
Stutter::Stutter()
{
    setBufferLength(4410);
}

void Stutter::setBufferLength(int length)
{
    if (length < 1 || length == bufferLength)
        return;

    // The new memory is obtained before the old is released, so a failed allocation leaves a working
    // buffer behind.
    std::unique_ptr<float[]> fresh(new (std::nothrow) float[(size_t)length]());
    if (fresh == nullptr)
        return;

    buffer = std::move(fresh);
    bufferLength = length;
    // The loop must fit the new memory until the next setSize.
    size = std::min(size, bufferLength);
    repeatCounter = 0;
    writeIndex = 0;
    readPosition = 0.0f;
}

void Stutter::setSampleRate(double rate)
{
    if (!(rate > 0.0) || !std::isfinite(rate) || rate == sampleRate)
        return;

    const double scaled = (double)bufferLength * (rate / sampleRate);
    if (!(scaled >= 1.0) || scaled > (double)INT32_MAX)
        return;

    const int length = (int)scaled;
    setBufferLength(length);
    if (bufferLength == length)
        sampleRate = rate;
}

void Stutter::clear()
{
    std::fill(buffer.get(), buffer.get() + bufferLength, 0.0f);
    repeatCounter = 0;
    writeIndex = 0;
    readPosition = 0.0f;
}

void Stutter::setSize(float milliseconds)
{
    // Rounded to single precision before the truncation: at 48 kHz, 145 ms must give 6960 samples.
    const float samples = (float)((double)(float)sampleRate * ((double)milliseconds * 0.001));
    size = truncateToInt(samples);
    if (size > bufferLength)
        size = bufferLength;
    if (size <= 0)
        size = 1;
}

void Stutter::setRepeats(int repeats)
{
    if (repeats > 0)
        repeatPeriod = (float)((int64_t)repeats * size);
}

void Stutter::setRatio(float ratio)
{
    increment = ratio;
}

float Stutter::process(const float* input)
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

    if (!((double)readPosition >= 0.0 && (double)readPosition < (double)bufferLength))
        bringReadPositionIntoBuffer();

    const int i = (int)std::floor(readPosition);
    const float fraction = readPosition - (float)i;
    const float next = (i == size - 1 || i == bufferLength - 1) ? buffer[0] : buffer[i + 1];
    readPosition += increment;

    return buffer[i] + fraction * (next - buffer[i]);
}

// Reached only when the one-step wrap could not keep the read index inside the memory: a position that is
// not finite (a NaN ratio) starts again at 0, a finite one is wrapped into the loop by whole lengths.
void Stutter::bringReadPositionIntoBuffer()
{
    if (!std::isfinite(readPosition))
    {
        readPosition = 0.0f;
        return;
    }

    const float loop = (float)size;
    readPosition -= std::floor(readPosition / loop) * loop;
    if (!(readPosition >= 0.0f && readPosition < loop))
        readPosition = 0.0f;
}

} // namespace torvaLib
