// The host state: the VOLKARIS_STATE element in the framework's binary envelope, and every rule for
// reading it back, including state blobs that must change nothing.
#include "ProcessorFixture.h"

namespace
{

/** The framework's envelope around these bytes as they are, valid UTF-8 or not. */
juce::MemoryBlock envelopeOfBytes(const std::string& xmlBytes)
{
    juce::MemoryBlock block;
    juce::MemoryOutputStream out(block, false);
    out.writeInt(0x21324356);
    out.writeInt(0);
    out.write(xmlBytes.data(), xmlBytes.size());
    out.writeByte(0);
    out.flush();
    static_cast<std::uint32_t*>(block.getData())[1] = (std::uint32_t)block.getSize() - 9;
    return block;
}

juce::MemoryBlock envelope(const juce::String& xmlText)
{
    return envelopeOfBytes(xmlText.toStdString());
}

} // namespace

class HostStateTest : public ProcessorTest
{
protected:
    void load(const juce::MemoryBlock& block)
    {
        processor->setStateInformation(block.getData(), (int)block.getSize());
    }

    /** Moves every parameter and binding away from its default, so a restore has something to change. */
    void changeEverything()
    {
        for (int i = 0; i < 132; ++i)
        {
            processor->setParameter(i, (float)((i * 37) % 101) / 100.0f);
            param(i).midiCC = i % 128;
        }
        processor->presetName.set("Changed");
    }
};

TEST_F(HostStateTest, WritesTheEnvelopeAndEveryAttributeInOrder)
{
    param(3).midiCC = 21;
    const auto block = saveState();
    const auto* bytes = static_cast<const std::uint8_t*>(block.getData());
    ASSERT_GT(block.getSize(), 9u);
    EXPECT_EQ(bytes[0], 0x56);
    EXPECT_EQ(bytes[1], 0x43);
    EXPECT_EQ(bytes[2], 0x32);
    EXPECT_EQ(bytes[3], 0x21);
    EXPECT_EQ(juce::ByteOrder::littleEndianInt(bytes + 4), block.getSize() - 9);
    EXPECT_EQ(bytes[block.getSize() - 1], 0);

    const juce::String text(juce::CharPointer_UTF8((const char*)bytes + 8), block.getSize() - 9);
    EXPECT_FALSE(text.containsChar('\n'));
    const auto xml = juce::parseXML(text);
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(xml->getTagName(), "VOLKARIS_STATE");
    ASSERT_EQ(xml->getNumAttributes(), 265);
    EXPECT_EQ(xml->getAttributeName(0), "PresetName");
    EXPECT_EQ(xml->getAttributeValue(0), "Init");
    for (int i = 0; i < 132; ++i)
    {
        EXPECT_EQ(xml->getAttributeName(1 + 2 * i), processor->getParameterName(i));
        EXPECT_EQ(xml->getAttributeName(2 + 2 * i), processor->getParameterName(i) + "CC");
    }
    EXPECT_EQ(xml->getStringAttribute("Buffer2_SizeCC"), "21");
    EXPECT_EQ(xml->getStringAttribute("Buffer1_SizeCC"), "-1");
}

TEST_F(HostStateTest, RoundTripRestoresEveryValueBindingAndTheName)
{
    changeEverything();
    const auto saved = saveState();

    auto fresh = makeProcessor();
    fresh->setStateInformation(saved.getData(), (int)saved.getSize());
    for (int i = 0; i < 132; ++i)
    {
        EXPECT_EQ(bits(fresh->getParameter(i)), bits(processor->getParameter(i))) << "index " << i;
        EXPECT_EQ(fresh->params[i]->midiCC, i % 128);
    }
    EXPECT_EQ(fresh->presetName.get(), "Changed");

    juce::MemoryBlock again;
    fresh->getStateInformation(again);
    EXPECT_EQ(again, saved);
}

TEST_F(HostStateTest, MalformedBlobsChangeNothing)
{
    changeEverything();
    const auto before = saveState();

    auto wrongMagic = before;
    static_cast<char*>(wrongMagic.getData())[0] = 'X';
    auto zeroLength = before;
    static_cast<std::uint32_t*>(zeroLength.getData())[1] = 0;
    auto negativeLength = before;
    static_cast<std::int32_t*>(negativeLength.getData())[1] = -5;
    auto leadingZero = before;
    static_cast<char*>(leadingZero.getData())[8] = 0;
    juce::MemoryBlock truncated(before.getData(), 40);

    const juce::MemoryBlock blobs[] = {juce::MemoryBlock(),
                                       juce::MemoryBlock(before.getData(), 8),
                                       wrongMagic,
                                       zeroLength,
                                       negativeLength,
                                       leadingZero,
                                       truncated,
                                       envelope("<VOLKARIS_PRESET PresetName=\"x\" Buffer1_Size=\"0.5\"/>"),
                                       envelope("<VOLKARIS_STATE PresetName=\"x\" Buffer1_Size=\"0.5\""),
                                       envelope("not xml at all"),
                                       juce::MemoryBlock("garbage garbage garbage garbage", 31)};
    for (const auto& blob : blobs)
    {
        load(blob);
        EXPECT_EQ(saveState(), before);
    }
    processor->setStateInformation(nullptr, 100);
    EXPECT_EQ(saveState(), before);
}

TEST_F(HostStateTest, MissingAndOddAttributesFollowTheReadingRules)
{
    changeEverything();
    load(envelope("<volkaris_state Buffer1_Size=\"abc\" Buffer1_SizeCC=\"abc\" Buffer1_Repeats=\"1.5\" "
                  "Buffer1_Ratio=\"-0.2\" Buffer2_Size=\"0.25\" Buffer2_SizeCC=\"200\" "
                  "Buffer2_RepeatsCC=\"99999999999999\" Filter1_Morph=\"nan\" Filter1_Cutoff=\"1e400\"/>"));

    EXPECT_EQ(processor->getParameter(0), 0.0f); // no number reads as 0
    EXPECT_EQ(param(0).midiCC, 0);
    EXPECT_EQ(processor->getParameter(1), (float)((1 * 37) % 101) / 100.0f); // 1.5 is refused
    EXPECT_EQ(processor->getParameter(2), (float)((2 * 37) % 101) / 100.0f); // -0.2 is refused
    EXPECT_EQ(processor->getParameter(3), 0.25f);
    EXPECT_EQ(param(3).midiCC, 200);
    EXPECT_EQ(param(4).midiCC, std::numeric_limits<int>::max());
    EXPECT_EQ(processor->getParameter(6), (float)((6 * 37) % 101) / 100.0f);
    EXPECT_EQ(processor->getParameter(7), (float)((7 * 37) % 101) / 100.0f);

    // Absent values take their defaults, absent bindings unbind, an absent name becomes one blank.
    EXPECT_EQ(processor->getParameter(5), param(5).defaultNormalised);
    EXPECT_EQ(processor->getParameter(131), 1.0f);
    EXPECT_EQ(param(131).midiCC, -1);
    EXPECT_EQ(processor->presetName.get(), " ");
}

TEST_F(HostStateTest, AnOverstatedLengthReadsOnlyWhatIsThere)
{
    auto block = envelope("<VOLKARIS_STATE PresetName=\"Short\" Dry_Wet=\"0.25\"/>");
    static_cast<std::uint32_t*>(block.getData())[1] = 1u << 30;
    load(block);
    EXPECT_EQ(processor->presetName.get(), "Short");
    EXPECT_EQ(processor->getParameter(18), 0.25f);
}

TEST_F(HostStateTest, DamagedTextInAValidEnvelopeChangesNothingAndNeverHangs)
{
    changeEverything();
    const auto before = saveState();

    for (const auto& text : damagedXmlTexts("VOLKARIS_STATE", "Buffer1_Size=\"0.5\" Dry_Wet=\"0.25\""))
    {
        const auto block = envelopeOfBytes(text);
        finishesInTime(
            "setStateInformation", [&] { return load(block), true; }, std::chrono::seconds(1));
        EXPECT_EQ(saveState(), before) << text.substr(0, 80);
    }
}

TEST_F(HostStateTest, ANameInAnyScriptRestores)
{
    const auto name = juce::String::fromUTF8("Caf\xc3\xa9 \xe2\x98\x83 \xf0\x9d\x84\x9e");
    load(envelope("<?xml version=\"1.0\" encoding=\"UTF-8\"?><VOLKARIS_STATE PresetName=\"" + name +
                  "\" Dry_Wet=\"0.25\"/>"));
    EXPECT_EQ(processor->presetName.get(), name);
    EXPECT_EQ(processor->getParameter(18), 0.25f);

    auto fresh = makeProcessor();
    const auto saved = saveState();
    fresh->setStateInformation(saved.getData(), (int)saved.getSize());
    EXPECT_EQ(fresh->presetName.get(), name);
}
