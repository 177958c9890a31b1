// Parameter values travel both ways between the host and the processor, for all 132 parameters.
#include "HostFixture.h"

using ParameterTest = HostTest;

namespace
{
/** Two sets of distinct values for the 132 parameters, exact in single and double precision. */
float rising(int index)
{
    return (float)(index + 1) / 256.0f;
}

float falling(int index)
{
    return 1.0f - (float)(index + 1) / 512.0f;
}
} // namespace

TEST_P(ParameterTest, EveryValueSetThroughTheHostReachesTheProcessor)
{
    for (auto valueOf : {rising, falling})
    {
        for (int i = 0; i < numParameters; ++i)
            parameters[i]->setValue(valueOf(i));
        processSilence(*plugin);

        const auto stored = patch();
        ASSERT_NE(stored, nullptr);
        for (int i = 0; i < numParameters; ++i)
        {
            EXPECT_EQ(bits(patchValue(*stored, identifiers[i])), bits(valueOf(i)))
                << "processor, parameter " << i;
            EXPECT_EQ(bits(parameters[i]->getValue()), bits(valueOf(i))) << "host, parameter " << i;
        }
    }
}

TEST_P(ParameterTest, HostSeesEveryValueAStateLoadSets)
{
    for (auto valueOf : {rising, falling})
    {
        auto stored = patch();
        ASSERT_NE(stored, nullptr);
        for (int i = 0; i < numParameters; ++i)
            stored->setAttribute(identifiers[i], (double)valueOf(i));

        restorePluginState(*plugin, blobOf(*stored));
        processSilence(*plugin);

        for (int i = 0; i < numParameters; ++i)
            EXPECT_EQ(bits(parameters[i]->getValue()), bits(valueOf(i))) << "parameter " << i;
    }
}

TEST_P(ParameterTest, EveryDefaultIsTheValueAFreshInstanceHolds)
{
    // A host's "reset to default" sets this value: it must give back the start patch, not the bottom of
    // every range (0 % dry/wet, the lowest gain and cutoff silence the plug-in).
    const auto stored = patch();
    ASSERT_NE(stored, nullptr);
    for (int i = 0; i < numParameters; ++i)
        EXPECT_EQ(bits(parameters[i]->getDefaultValue()), bits(patchValue(*stored, identifiers[i])))
            << "parameter " << i << " " << identifiers[i];

    // The default is the start value, not the current one.
    parameters[18]->setValue(0.25f);
    processSilence(*plugin);
    EXPECT_EQ(parameters[18]->getDefaultValue(), 0.5f);
}

INSTANTIATE_FOR_BOTH_FORMATS(ParameterTest);
