#include "editor/CommitParameterEdit.h"

#include "plugin/PluginProcessor.h"

void commitParameterEdit(QuorvelAudioProcessor* processor, int paramIndex, float value)
{
    if (processor == nullptr)
        return;

    processor->beginParameterChangeGesture(paramIndex);
    processor->setParameterNotifyingHost(paramIndex, value);
    processor->endParameterChangeGesture(paramIndex);

    // The value text is read after the new value is in place.
    processor->messageName.set(processor->getParameterDisplayName(paramIndex));
    processor->messageValue.set(processor->getParameterText(paramIndex));
    processor->newMessage = true;

    auto& parameter = *processor->params[paramIndex];
    if (processor->learnMode)
        parameter.learnArmed = true;
    if (processor->unlearnMode)
        parameter.midiCC = -1;
}
