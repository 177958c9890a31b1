// The parameter table as a host sees it: identifiers in index order, ranges, defaults and the three curves,
// computed exactly in single precision.
#include "ProcessorFixture.h"

#include <cmath>

namespace
{

// Every identifier, in index order, written out independently of the code that builds the table.
const char* const expectedIdentifiers[] = {
    "Buffer1_Size", "Buffer1_Repeats", "Buffer1_Ratio", "Buffer2_Size", "Buffer2_Repeats", "Buffer2_Ratio",
    "Filter1_Morph", "Filter1_Cutoff", "Filter1_Resonance", "Filter2_Morph", "Filter2_Cutoff",
    "Filter2_Resonance", "Crusher1_Bits", "Crusher1_Rate", "Crusher1_Mix", "Crusher2_Bits", "Crusher2_Rate",
    "Crusher2_Mix", "Dry_Wet", "Global_Gain",
    "LFO1_Wave", "LFO1_Rate", "LFO1_Rate_Multiply", "LFO1_Sync", "LFO1_SyncedRate",
    "LFO2_Wave", "LFO2_Rate", "LFO2_Rate_Multiply", "LFO2_Sync", "LFO2_SyncedRate",
    "LFO3_Wave", "LFO3_Rate", "LFO3_Rate_Multiply", "LFO3_Sync", "LFO3_SyncedRate",
    "LFO4_Wave", "LFO4_Rate", "LFO4_Rate_Multiply", "LFO4_Sync", "LFO4_SyncedRate",
    "Mixer1_SourceA", "Mixer1_SourceB", "Mixer1_Mix", "Mixer2_SourceA", "Mixer2_SourceB", "Mixer2_Mix",
    "Mixer3_SourceA", "Mixer3_SourceB", "Mixer3_Mix", "Mixer4_SourceA", "Mixer4_SourceB", "Mixer4_Mix",
    "Multiplier1_SourceA", "Multiplier1_SourceB", "Multiplier2_SourceA", "Multiplier2_SourceB",
    "Buffer1_SizeModSrc", "Buffer1_SizeModDepth", "Buffer1_RepeatsModSrc", "Buffer1_RepeatsModDepth",
    "Buffer1_RatioModSrc", "Buffer1_RatioModDepth", "Buffer2_SizeModSrc", "Buffer2_SizeModDepth",
    "Buffer2_RepeatsModSrc", "Buffer2_RepeatsModDepth", "Buffer2_RatioModSrc", "Buffer2_RatioModDepth",
    "Filter1_MorphModSrc", "Filter1_MorphModDepth", "Filter1_CutoffModSrc", "Filter1_CutoffModDepth",
    "Filter1_ResonanceModSrc", "Filter1_ResonanceModDepth", "Filter2_MorphModSrc", "Filter2_MorphModDepth",
    "Filter2_CutoffModSrc", "Filter2_CutoffModDepth", "Filter2_ResonanceModSrc", "Filter2_ResonanceModDepth",
    "Crusher1_BitsModSrc", "Crusher1_BitsModDepth", "Crusher1_RateModSrc", "Crusher1_RateModDepth",
    "Crusher1_MixModSrc", "Crusher1_MixModDepth", "Crusher2_BitsModSrc", "Crusher2_BitsModDepth",
    "Crusher2_RateModSrc", "Crusher2_RateModDepth", "Crusher2_MixModSrc", "Crusher2_MixModDepth",
    "Dry_WetModSrc", "Dry_WetModDepth", "LFO1_WaveModSrc", "LFO1_WaveModDepth", "LFO1_RateModSrc",
    "LFO1_RateModDepth", "LFO2_WaveModSrc", "LFO2_WaveModDepth", "LFO2_RateModSrc", "LFO2_RateModDepth",
    "LFO3_WaveModSrc", "LFO3_WaveModDepth", "LFO3_RateModSrc", "LFO3_RateModDepth", "LFO4_WaveModSrc",
    "LFO4_WaveModDepth", "LFO4_RateModSrc", "LFO4_RateModDepth", "Mixer1_MixModSrc", "Mixer1_MixModDepth",
    "Mixer2_MixModSrc", "Mixer2_MixModDepth", "Mixer3_MixModSrc", "Mixer3_MixModDepth", "Mixer4_MixModSrc",
    "Mixer4_MixModDepth",
    "Buffer1_InputSrc", "Buffer1_InputLevel", "Buffer2_InputSrc", "Buffer2_InputLevel", "Filter1_InputSrc",
    "Filter1_InputLevel", "Filter2_InputSrc", "Filter2_InputLevel", "Crusher1_InputSrc", "Crusher1_InputLevel",
    "Crusher2_InputSrc", "Crusher2_InputLevel", "Dry_Wet_InputSrc", "Dry_Wet_InputLevel"};

static_assert(sizeof(expectedIdentifiers) / sizeof(expectedIdentifiers[0]) == 132);

} // namespace

TEST_F(ProcessorTest, PresentsItsParametersByIdentifierInIndexOrder)
{
    EXPECT_EQ(processor->getNumParameters(), 132);
    ASSERT_EQ(processor->getParameters().size(), 132);
    for (int i = 0; i < 132; ++i)
    {
        EXPECT_EQ(processor->getParameterName(i), expectedIdentifiers[i]) << "index " << i;
        EXPECT_EQ(processor->getParameters()[i]->getName(100), expectedIdentifiers[i]);
    }
}

TEST_F(ProcessorTest, ParametersStartAtTheirExactDefaults)
{
    // Computed in single precision, without contraction into fused multiply-adds.
    EXPECT_EQ(bits(processor->getParameter(0)), bits(149.0f / 999.0f));
    EXPECT_EQ(bits(param(0).plainValue), bits(150.0f));
    EXPECT_EQ(bits(processor->getParameter(1)), bits(std::sqrt(2.0f / 127.0f)));
    EXPECT_EQ(bits(param(1).plainValue), bits(3.0f));
    EXPECT_EQ(processor->getParameter(7), 1.0f);
    EXPECT_EQ(bits(param(7).plainValue), bits(11000.0f));
    const float gainX = 70.0f / 76.0f;
    EXPECT_EQ(bits(processor->getParameter(19)), bits(gainX * gainX));
    EXPECT_EQ(bits(param(19).plainValue), bits(0.0f));
    EXPECT_EQ(bits(processor->getParameter(21)), bits(std::sqrt(1.0f / 40.0f)));
    EXPECT_EQ(bits(param(21).plainValue), bits(1.0f));
    EXPECT_EQ(bits(processor->getParameter(130)), bits(12.0f / 17.0f));
    EXPECT_EQ(bits(param(130).plainValue), bits(12.0f));

    // Every source-selector default reads back as its exact source index.
    const std::pair<int, float> sources[] = {{40, 6}, {41, 7}, {118, 1}, {120, 1}, {122, 2}, {124, 3},
                                             {126, 4}, {128, 5}, {56, 0}, {116, 0}};
    for (auto [index, source] : sources)
        EXPECT_EQ(param(index).plainValue, source) << "index " << index;

    for (int i = 0; i < 132; ++i)
    {
        EXPECT_EQ(param(i).midiCC, -1);
        EXPECT_FALSE(param(i).learnArmed);
        EXPECT_EQ(processor->getParameter(i), param(i).defaultNormalised);
        // What a host's "reset to default" sets: the value a fresh instance holds.
        EXPECT_EQ(bits(processor->getParameters()[i]->getDefaultValue()), bits(processor->getParameter(i)))
            << "index " << i;
    }
}

TEST_F(ProcessorTest, CurvesMapNormalisedToPlainValues)
{
    const std::tuple<int, float, float> cases[] = {
        {0, 0.5f, 500.5f},   {1, 0.5f, 32.75f},   {2, 0.5f, 0.0f},     {7, 0.5f, 2765.0f},
        {19, 0.0f, -70.0f},  {19, 0.25f, -32.0f}, {19, 1.0f, 6.0f},    {20, 0.99f, 4.95f},
        {130, 6.0f / 17.0f, 6.0f}, {130, 0.99f, 16.83f}, {130, 1.0f, 17.0f}};
    for (auto [index, normalised, plain] : cases)
    {
        processor->setParameter(index, normalised);
        EXPECT_FLOAT_EQ(param(index).plainValue, plain) << "index " << index << " at " << normalised;
    }

    processor->setParameter(20, 0.99f);
    EXPECT_EQ(param(20).plainInt(), 4);
    processor->setParameter(130, 0.99f);
    EXPECT_EQ(param(130).plainInt(), 16);
    processor->setParameter(23, 0.99f);
    EXPECT_EQ(param(23).plainInt(), 0);
}

TEST_F(ProcessorTest, OutOfRangeValuesAndIndicesChangeNothing)
{
    processor->setParameter(5, 0.25f);
    for (float bad : {1.0000001f, -0.0001f, std::nanf(""), INFINITY, -INFINITY})
    {
        processor->setParameter(5, bad);
        EXPECT_EQ(processor->getParameter(5), 0.25f);
        EXPECT_EQ(param(5).plainValue, -1.0f);
    }
    processor->setParameter(5, 0.0f);
    EXPECT_EQ(processor->getParameter(5), 0.0f);
    processor->setParameter(5, 1.0f);
    EXPECT_EQ(processor->getParameter(5), 1.0f);

    for (int bad : {-1, 132, 100000})
    {
        processor->setParameter(bad, 0.5f);
        EXPECT_EQ(processor->getParameter(bad), 0.0f);
        EXPECT_TRUE(processor->getParameterName(bad).isEmpty());
        EXPECT_TRUE(processor->getParameterText(bad).isEmpty());
    }
}

TEST_F(ProcessorTest, HostWritesReachTheTable)
{
    // The host's adapter and the notifying setter both land in the same record.
    processor->getParameters()[42]->setValue(0.125f);
    EXPECT_EQ(processor->getParameter(42), 0.125f);
    processor->setParameterNotifyingHost(42, 0.75f);
    EXPECT_EQ(processor->getParameter(42), 0.75f);
    EXPECT_EQ(processor->getParameters()[42]->getValue(), 0.75f);
    // The default stays the fresh instance's value (Mixer1_Mix 50 %), whatever the parameter holds now.
    EXPECT_EQ(processor->getParameters()[42]->getDefaultValue(), 0.5f);
    EXPECT_EQ(processor->getParameters()[42]->getCurrentValueAsText(), "75.00 %");
}
