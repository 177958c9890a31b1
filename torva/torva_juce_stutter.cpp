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

} // namespace torvaLib
