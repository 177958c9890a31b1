#pragma once

#include <juce_core/juce_core.h>

class QuorvelAudioProcessor;

/** The VOLKARIS_PRESET file: the preset name and every parameter's normalised value, no MIDI bindings.
    The preset bar writes it; the processor's immediate load and the editor's deferred load read it, so
    writer and reader live together here. */
namespace PresetFile
{
/** The root element for the processor's current patch under the given name: "PresetName", then each
    parameter's identifier with its normalised value, in index order. */
std::unique_ptr<juce::XmlElement> create(QuorvelAudioProcessor& processor, const juce::String& name);

/** Writes the current patch to a file in the framework's default XML text format; false when the file
    could not be written. */
bool write(QuorvelAudioProcessor& processor, const juce::String& name, const juce::File& file);

/** Reads a preset file and applies it: every parameter set with host notification (a missing attribute
    gives its default), then the preset name (a single space when missing). A file that is missing,
    unreadable, malformed, cut short or has another root tag changes nothing and gives false. */
bool apply(QuorvelAudioProcessor& processor, const juce::File& file);
} // namespace PresetFile
