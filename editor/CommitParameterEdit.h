#pragma once

class QuorvelAudioProcessor;

// The shared edit sequence every editor control runs after a user edit: one whole change gesture
// around the notifying set, the parameter's display name and value text as the two message lines,
// then the MIDI learn mark (learn mode) and the removal of its binding (unlearn mode). A control
// whose processor pointer is not yet written does nothing.
void commitParameterEdit(QuorvelAudioProcessor* processor, int paramIndex, float value);
