// Value texts and display names as the editor and message lines show them, trailing blanks included.
#include "ProcessorFixture.h"

TEST_F(ProcessorTest, DefaultPatchValueTexts)
{
    const std::pair<int, const char*> cases[] = {
        {0, "150 Ms"},   {1, "3  "},        {2, "1.00 "},      {3, "300 Ms"},    {7, "11000.00 Hz"},
        {12, "16 "},     {13, "1 "},        {18, "50.00 %"},   {19, "0.00 dB"},  {20, "SIN"},
        {21, "1.00 Hz"}, {22, "OFF"},       {24, "1/16"},      {40, "CRUSHER 1"}, {41, "CRUSHER 2"},
        {43, "NONE"},    {56, "NONE"},      {57, "0.00 %"},    {118, "INPUT"},   {122, "BUFFER 1"},
        {130, "MIXER 1"}, {131, "100.00 %"}};
    for (auto [index, text] : cases)
        EXPECT_EQ(processor->getParameterText(index), text) << "index " << index;
}

TEST_F(ProcessorTest, ValueTextsFollowTheIntegerPartOfThePlainValue)
{
    const std::tuple<int, float, const char*> cases[] = {
        {20, 0.99f, "TRI"},        {20, 1.0f, "S&H"},          {23, 0.99f, "OFF"},       {23, 1.0f, "ON"},
        {0, 0.5f, "500 Ms"},       {1, 0.5f, "32  "},          {2, 0.4999f, "-0.00 "},   {19, 0.0f, "-70.00 dB"},
        {19, 1.0f, "6.00 dB"},     {24, 0.0f, "8 BARS"},       {24, 3.0f / 17, "1 BAR"}, {24, 1.0f, "1/128"},
        {24, 10.0f / 17, "1/16D"}, {130, 1.0f, "MULTIPLIER 2"}, {55, 8.0f / 17, "LFO 1"}};
    for (auto [index, normalised, text] : cases)
    {
        processor->setParameter(index, normalised);
        EXPECT_EQ(processor->getParameterText(index), text) << "index " << index << " at " << normalised;
    }

    const char* waves[] = {"SIN", "SQR", "SUP", "SDN", "TRI", "S&H"};
    for (int w = 0; w <= 5; ++w)
    {
        processor->setParameter(35, (float)w / 5.0f);
        EXPECT_EQ(processor->getParameterText(35), waves[w]);
    }
}

TEST_F(ProcessorTest, DisplayNamesNameTheControl)
{
    const std::pair<int, const char*> cases[] = {
        {0, "SIZE"},           {4, "REPEATS"},  {5, "RATIO"},         {9, "MORPH"},
        {10, "CUTOFF"},        {11, "RESONANCE"}, {15, "BITS"},       {16, "RATE REDUCTION"},
        {17, "MIX"},           {18, "DRY/WET"}, {19, "OUTPUT LEVEL"}, {35, "WAVEFORM"},
        {36, "RATE"},          {39, "RATE"},    {37, "RATE MULTIPLY"}, {38, "SYNC"},
        {45, "MIX"},           {49, "SOURCE A"}, {50, "SOURCE B"},   {54, "SOURCE A"},
        {55, "SOURCE B"},      {56, "MODULATION SOURCE"},             {117, "MODULATION DEPTH"},
        {118, "AUDIO INPUT"},  {131, "AUDIO INPUT LEVEL"},            {132, ""},
        {-1, ""}};
    for (auto [index, name] : cases)
        EXPECT_EQ(processor->getParameterDisplayName(index), name) << "index " << index;
}
