#pragma once

// Helpers for driving the engine through the processor's host-facing calls: set parameters by their
// plain values, run blocks of chosen input and read the output back.
#include "ProcessorFixture.h"

#include "plugin/EngineTypes.h"

#include <vector>

namespace engineTest
{

class EngineFixture : public ProcessorTest
{
protected:
    // Proportional parameters only: normalised = (plain - min) / (max - min).
    void setPlain(int index, float plain)
    {
        const auto& record = param(index);
        processor->setParameter(index, (plain - record.min) / (record.max - record.min));
    }

    // Integer parameters are read by truncation: aim half a step above k so float rounding cannot land
    // just below it.
    void setWhole(int index, int k)
    {
        const auto& record = param(index);
        if ((float)k >= record.max)
            processor->setParameter(index, 1.0f);
        else
            processor->setParameter(index, ((float)k + 0.5f - record.min) / (record.max - record.min));
    }

    void setSource(int index, int source)
    {
        processor->setParameter(index, ParameterTable::sourceToNormalised(source));
    }

    // Runs one block with the given input on both channels (channel 1 gets its own when given) and
    // returns the block's output.
    juce::AudioBuffer<float> run(const std::vector<float>& left, const std::vector<float>& right = {})
    {
        const int n = (int)left.size();
        juce::AudioBuffer<float> buffer(2, n);
        for (int s = 0; s < n; ++s)
        {
            buffer.setSample(0, s, left[(size_t)s]);
            buffer.setSample(1, s, right.empty() ? left[(size_t)s] : right[(size_t)s]);
        }
        processor->processBlock(buffer, midi);
        return buffer;
    }

    juce::AudioBuffer<float> runConstant(int samples, float value)
    {
        return run(std::vector<float>((size_t)samples, value));
    }

    float source(int c, int k) const { return processor->sourceValue.value[k][c]; }

    juce::MidiBuffer midi;
};

} // namespace engineTest
