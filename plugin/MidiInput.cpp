#include "plugin/PluginProcessor.h"

// Incoming MIDI, on the audio thread: program changes ask for a preset by index, controller changes drive
// (and in learn mode first bind) parameters, note-ons on channels 1 to 4 restart LFOs 1 to 4. The
// buffer is read only; nothing is sent on.

namespace
{
/** All-notes-off: hosts send it on stop and panic, so it must never bind or move a parameter. */
constexpr int allNotesOff = 123;
constexpr int numLfos = 4;
} // namespace

void QuorvelAudioProcessor::handleMidiEvent(const juce::MidiMessageMetadata& event)
{
    // A message shorter than its status byte implies is ignored, never read past its end.
    if (event.numBytes < 2)
        return;

    const int status = event.data[0];
    const int kind = status & 0xf0;
    const int d1 = event.data[1];

    if (kind == 0xc0)
    {
        presetIndex = d1;
        loadByIndexRequest = true;
        return;
    }

    if (event.numBytes < 3)
        return;
    const int d2 = event.data[2];

    if (kind == 0xb0)
    {
        if (d1 != allNotesOff)
            handleControllerChange(d1, d2);
        return;
    }

    const int channelIndex = status & 0x0f;
    if (status < 0xf0 && kind == 0x90 && d2 > 0 && channelIndex < numLfos)
        restartLfo(channelIndex);
}

void QuorvelAudioProcessor::handleControllerChange(int controller, int value)
{
    const bool learning = learnMode;
    int lastMoved = -1;

    for (int u = 0; u < numParameters; ++u)
    {
        auto& p = *params.getUnchecked(u);
        if (learning && p.learnArmed)
        {
            p.midiCC = controller;
            p.learnArmed = false;
        }
        if (p.midiCC == controller)
        {
            beginParameterChangeGesture(u);
            setParameterNotifyingHost(u, (float)value / 127.0f);
            endParameterChangeGesture(u);
            lastMoved = u;
        }
    }

    // Each move would replace the lines again; only the last one can ever be seen.
    if (lastMoved >= 0)
    {
        messageName.set(getParameterDisplayName(lastMoved));
        messageValue.set(getParameterText(lastMoved));
        newMessage = true;
    }
}

void QuorvelAudioProcessor::restartLfo(int lfoIndex)
{
    torvaLib::Lfo* lfos[engine::numLfos] = {&lfo1, &lfo2, &lfo3, &lfo4};
    if (juce::isPositiveAndBelow(lfoIndex, engine::numLfos))
        lfos[lfoIndex]->restart();
}

void QuorvelAudioProcessor::serveClearAllRequest()
{
    if (!clearAllRequest)
        return;

    for (auto* p : params)
        p->midiCC = -1;
    clearAllRequest = false;
}
