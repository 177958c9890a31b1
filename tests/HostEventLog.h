#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <string>

// What the host hears of edits, in order, as text: "begin 7, set 7 0.5, end 7, ".
struct HostEventLog : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged(juce::AudioProcessor*, int i, float v) override { add("set", i, v); }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int i) override { add("begin", i); }
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int i) override { add("end", i); }

    void add(const char* what, int index, float value = -1.0f)
    {
        events += std::string(what) + " " + std::to_string(index);
        if (value >= 0.0f)
            events += " " + juce::String(value).toStdString();
        events += ", ";
    }

    // One whole change gesture around one value.
    static std::string edit(int index, float value)
    {
        HostEventLog log;
        log.add("begin", index);
        log.add("set", index, value);
        log.add("end", index);
        return log.events;
    }

    std::string events;
};
