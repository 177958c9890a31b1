#include "plugin/PluginProcessor.h"

#include "editor/PluginEditor.h"
#include "plugin/CrashLog.h"
#include "plugin/HostParameter.h"

const juce::String QuorvelAudioProcessor::versionNumber{"v 1.3"};

QuorvelAudioProcessor::QuorvelAudioProcessor()
    : juce::AudioProcessor(BusesProperties()
                               .withInput("Input", juce::AudioChannelSet::stereo(), true)
                               .withOutput("Output", juce::AudioChannelSet::stereo(), true))
{
    presetManager.presetRoot =
        juce::File::getSpecialLocation(juce::File::userHomeDirectory).getFullPathName() +
        "/Library/Audio/Presets/Tarnwickmodula";

    crashLog::install();

    for (int i = 0; i < numParameters; ++i)
        params.add(new torvaLib::PluginParameter());
    initializeAllParameters(params);

    // The wrappers see the table through these forwarding parameters; only LV2 needs identifiers that
    // are valid names there, the other formats keep the index their saved projects refer to. Each tells
    // the host its own default, so that a host's reset gives the value a fresh instance starts with.
    for (int i = 0; i < numParameters; ++i)
    {
        const auto id = wrapperType == wrapperType_LV2 ? params[i]->name : juce::String(i);
        addParameter(new HostParameter(*this, i, id, params[i]->defaultNormalised));
    }

    createEngineObjects();

    presetManager.productFolder = presetManager.presetRoot + "/" + "Quorvel" + "/";
    const juce::File productFolder(presetManager.productFolder);
    if (!productFolder.isDirectory())
        productFolder.createDirectory();
    presetManager.extension = "vxp";
    presetManager.update();
    presetMenuNames = presetManager.presetNames;

    openSettingsFile();
}

QuorvelAudioProcessor::~QuorvelAudioProcessor()
{
    writeSettingsFile();
}

const juce::String QuorvelAudioProcessor::getName() const
{
    return "Quorvel";
}

void QuorvelAudioProcessor::releaseResources() {}

double QuorvelAudioProcessor::getTailLengthSeconds() const
{
    return 0.0;
}

bool QuorvelAudioProcessor::acceptsMidi() const
{
    return true;
}

bool QuorvelAudioProcessor::producesMidi() const
{
    return false;
}

juce::AudioProcessorEditor* QuorvelAudioProcessor::createEditor()
{
    return new QuorvelAudioProcessorEditor(this);
}

bool QuorvelAudioProcessor::hasEditor() const
{
    return true;
}

int QuorvelAudioProcessor::getNumPrograms()
{
    return 0;
}

int QuorvelAudioProcessor::getCurrentProgram()
{
    return 0;
}

void QuorvelAudioProcessor::setCurrentProgram(int) {}

const juce::String QuorvelAudioProcessor::getProgramName(int)
{
    return {};
}

void QuorvelAudioProcessor::changeProgramName(int, const juce::String&) {}

bool QuorvelAudioProcessor::isBusesLayoutSupported(const BusesLayout& layouts) const
{
    const auto in = layouts.getMainInputChannelSet();
    const auto out = layouts.getMainOutputChannelSet();
    if (in.isDisabled() || out.isDisabled())
        return false;
    if (out != juce::AudioChannelSet::stereo())
        return false;
    return in == out;
}

void QuorvelAudioProcessor::serveBlockStartRequests()
{
    // Requests left since the last block, in this order, each once however often it was raised; each serve
    // tests its own flag and clears it once the request is done.
    serveLoadByIndexRequest();
    serveClearAllRequest();
    serveRandomiseRequest();
}

bool QuorvelAudioProcessor::serveRequestsWithoutAudio()
{
    const juce::ScopedTryLock lock(getCallbackLock());
    if (!lock.isLocked())
        return false;

    serveBlockStartRequests();
    return true;
}

int QuorvelAudioProcessor::getNumParameters()
{
    return numParameters;
}

const juce::String QuorvelAudioProcessor::getParameterName(int index)
{
    return isIndexValid(index) ? params.getUnchecked(index)->name : juce::String();
}

float QuorvelAudioProcessor::getParameter(int index)
{
    return isIndexValid(index) ? params.getUnchecked(index)->hostValue.load() : 0.0f;
}

void QuorvelAudioProcessor::setParameter(int index, float newValue)
{
    if (isIndexValid(index))
    {
        params.getUnchecked(index)->setNormalised(newValue);
        // After the value: an engine that sees the new count reads the new value.
        parameterWrites.fetch_add(1, std::memory_order_release);
    }
}

const juce::String QuorvelAudioProcessor::getInputChannelName(int channelIndex) const
{
    return juce::String(channelIndex + 1);
}

const juce::String QuorvelAudioProcessor::getOutputChannelName(int channelIndex) const
{
    return juce::String(channelIndex + 1);
}

bool QuorvelAudioProcessor::isInputChannelStereoPair(int) const
{
    return true;
}

bool QuorvelAudioProcessor::isOutputChannelStereoPair(int) const
{
    return true;
}

bool QuorvelAudioProcessor::silenceInProducesSilenceOut() const
{
    return false;
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new QuorvelAudioProcessor();
}
