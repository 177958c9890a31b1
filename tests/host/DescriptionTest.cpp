// What a host learns of the plug-in before it runs it: the scan's description, MIDI, the parameter list
// and the bus layouts the plug-in accepts.
#include "HostFixture.h"

#include <algorithm>
#include <set>

using DescriptionTest = HostTest;

TEST_P(DescriptionTest, ScanDescribesAStereoEffectOfTheMaker)
{
    const auto description = host->describe();
    EXPECT_EQ(description.name, "Quorvel");
    EXPECT_EQ(description.manufacturerName, "Tarnwickmodula");
    EXPECT_FALSE(description.isInstrument);
    EXPECT_EQ(description.numInputChannels, 2);
    EXPECT_EQ(description.numOutputChannels, 2);
    if (GetParam() == PluginFormat::vst3)
    {
        EXPECT_EQ(description.version, "1.3.0");
    }

    EXPECT_EQ(plugin->getName(), "Quorvel");
    EXPECT_TRUE(plugin->acceptsMidi());
    EXPECT_FALSE(plugin->producesMidi());
    EXPECT_EQ(plugin->getTailLengthSeconds(), 0.0);
    EXPECT_EQ(plugin->getLatencySamples(), 0);
}

TEST_P(DescriptionTest, The132ParametersAreNamedByTheirIdentifiersWithDistinctIds)
{
    EXPECT_EQ(identifiers[0], "Buffer1_Size");
    EXPECT_EQ(identifiers[19], "Global_Gain");
    EXPECT_EQ(identifiers[131], "Dry_Wet_InputLevel");

    std::set<juce::String> ids;
    for (auto* parameter : parameters)
    {
        EXPECT_TRUE(parameter->isAutomatable()) << parameter->getName(1024);
        ids.insert(dynamic_cast<juce::HostedAudioProcessorParameter*>(parameter)->getParameterID());
    }
    EXPECT_EQ((int)ids.size(), numParameters);

    // Besides ours, a host sees only what the format's wrapper adds: its bypass switch, and in VST3 the
    // stand-ins through which hosts deliver MIDI controllers, which no host automates.
    auto* bypass = plugin->getBypassParameter();
    for (auto* parameter : plugin->getParameters())
    {
        if (std::find(parameters.begin(), parameters.end(), parameter) == parameters.end())
        {
            EXPECT_TRUE(parameter == bypass || !parameter->isAutomatable()) << parameter->getName(1024);
        }
    }
}

TEST_P(DescriptionTest, OnlyStereoChannelsAreAccepted)
{
    plugin->releaseResources(); // a host changes the layout only while the plug-in is not running

    using Set = juce::AudioChannelSet;
    const auto layout = [](Set in, Set out)
    {
        juce::AudioProcessor::BusesLayout l;
        l.inputBuses.add(in);
        l.outputBuses.add(out);
        return l;
    };

    EXPECT_TRUE(plugin->checkBusesLayoutSupported(layout(Set::stereo(), Set::stereo())));
    EXPECT_FALSE(plugin->checkBusesLayoutSupported(layout(Set::mono(), Set::mono())));
    EXPECT_FALSE(plugin->checkBusesLayoutSupported(layout(Set::mono(), Set::stereo())));
    EXPECT_FALSE(plugin->checkBusesLayoutSupported(layout(Set::stereo(), Set::mono())));
    EXPECT_FALSE(plugin->checkBusesLayoutSupported(layout(Set::create5point1(), Set::create5point1())));

    // A VST3 host may switch any bus off, and the framework's wrapper then feeds the processor silence
    // in its place; LV2 has no switched-off ports.
    if (GetParam() == PluginFormat::lv2)
    {
        EXPECT_FALSE(plugin->checkBusesLayoutSupported(layout(Set::disabled(), Set::stereo())));
        EXPECT_FALSE(plugin->checkBusesLayoutSupported(layout(Set::stereo(), Set::disabled())));
    }

    EXPECT_FALSE(plugin->setBusesLayout(layout(Set::mono(), Set::mono())));
    EXPECT_EQ(plugin->getTotalNumInputChannels(), 2);
    EXPECT_EQ(plugin->getTotalNumOutputChannels(), 2);
}

INSTANTIATE_FOR_BOTH_FORMATS(DescriptionTest);

// LV2 names parameters by URI and has no order of its own; the other formats keep the index order and
// the index as the identifier that saved projects refer to.
using IndexOrderTest = HostTest;

TEST_P(IndexOrderTest, ParametersAreListedInIndexOrderUnderTheirIndex)
{
    for (int i = 0; i < numParameters; ++i)
    {
        EXPECT_EQ(plugin->getParameters()[i], parameters[(size_t)i]) << "parameter " << i;
        EXPECT_EQ(plugin->getHostedParameter(i)->getParameterID(), juce::String(i));
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, IndexOrderTest, ::testing::Values(PluginFormat::vst3),
                         [](const auto& format) { return formatName(format.param); });
