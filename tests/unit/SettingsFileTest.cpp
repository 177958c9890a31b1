// The global settings file: bindings carried from one instance to the next, rewritten only by an
// instance that changed one.
#include "ProcessorFixture.h"

namespace
{
constexpr int numParameters = QuorvelAudioProcessor::numParameters;

juce::File settingsFile()
{
    return juce::File::getSpecialLocation(juce::File::userApplicationDataDirectory)
        .getChildFile("Tarnwickmodula/Quorvel.prefs");
}
} // namespace

class SettingsFileTest : public ProcessorTest
{
protected:
    std::unique_ptr<QuorvelAudioProcessor> instanceBoundTo(int offset)
    {
        auto instance = makeProcessor();
        for (int i = 0; i < numParameters; ++i)
            instance->params.getUnchecked(i)->midiCC = (i + offset) % 128;
        return instance;
    }

    static void expectBoundTo(QuorvelAudioProcessor& instance, int offset)
    {
        for (int i = 0; i < numParameters; ++i)
            EXPECT_EQ(instance.params.getUnchecked(i)->midiCC, (i + offset) % 128) << "index " << i;
    }
};

TEST_F(SettingsFileTest, ANewInstanceStartsWithTheBindingsOfTheLastOneDestroyed)
{
    processor.reset();
    EXPECT_TRUE(settingsFile().existsAsFile()) << "the first instance writes every binding, unbound ones too";

    instanceBoundTo(5).reset();

    const auto xml = juce::parseXML(settingsFile());
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(xml->getTagName(), "PROPERTIES");
    EXPECT_EQ(xml->getNumChildElements(), numParameters) << "no other keys";
    const auto* value = xml->getChildByAttribute("name", "Buffer1_SizeCC");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->getStringAttribute("val"), "5");

    auto next = makeProcessor();
    expectBoundTo(*next, 5);
}

TEST_F(SettingsFileTest, AnInstanceThatChangedNoBindingLeavesTheFileAlone)
{
    instanceBoundTo(1).reset(); // the file now holds offset 1

    auto unchanged = makeProcessor(); // reads offset 1
    auto changer = instanceBoundTo(2);
    changer.reset(); // rewrites the file with offset 2
    unchanged.reset();

    auto next = makeProcessor();
    expectBoundTo(*next, 2);
}

TEST_F(SettingsFileTest, MissingOrUnreadableKeysLeaveParametersUnbound)
{
    processor.reset();
    settingsFile().getParentDirectory().createDirectory();
    ASSERT_TRUE(settingsFile().replaceWithText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PROPERTIES>\n"
                                               "  <VALUE name=\"Filter1_CutoffCC\" val=\"74\"/>\n"
                                               "  <VALUE name=\"filter1_morphcc\" val=\"3\"/>\n"
                                               "</PROPERTIES>\n"));
    auto instance = makeProcessor();
    EXPECT_EQ(instance->params.getUnchecked(7)->midiCC, 74);
    EXPECT_EQ(instance->params.getUnchecked(6)->midiCC, -1) << "keys are compared with their letter case";
    EXPECT_EQ(instance->params.getUnchecked(0)->midiCC, -1);
    instance.reset();

    ASSERT_TRUE(settingsFile().replaceWithText("<PROPERTIES><VALUE name=\"Filter1_CutoffCC\""));
    instance = makeProcessor();
    for (int i = 0; i < numParameters; ++i)
        EXPECT_EQ(instance->params.getUnchecked(i)->midiCC, -1);
}

TEST_F(SettingsFileTest, ADamagedFileCountsAsMissingAndIsReplacedByASoundOne)
{
    processor.reset();
    settingsFile().getParentDirectory().createDirectory();

    const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const std::string bound = "<VALUE name=\"Filter1_CutoffCC\" val=\"74\"/>";
    // The framework parses the first 8192 bytes alone before the whole file; here they end inside a
    // character reference of the root tag.
    auto longRootTag = "<PROPERTIES a=\"" + std::string(8192 - 18, 'x') + "&#x";
    longRootTag += "41;\">" + bound + "</PROPERTIES>";
    ASSERT_EQ(longRootTag.find("&#x"), 8189u);

    auto damaged = damagedXmlTexts("PROPERTIES", "a=\"1\"");
    damaged.insert(damaged.end(),
                   {"<PROPERTIES>\xff", declaration + "<PROPERTIES>" + bound + "<VALUE name=\"x\" val=\"&#x",
                    // Values are parsed again when the file is saved.
                    declaration + "<PROPERTIES>" + bound +
                        "<VALUE name=\"x\" val=\"&lt;P&gt;&lt;?a?&gt;b&lt;/P&gt;\"/></PROPERTIES>\n",
                    longRootTag});

    for (const auto& text : damaged)
    {
        ASSERT_TRUE(settingsFile().replaceWithData(text.data(), text.size()));
        auto instance = finishesInTime(
            "opening the settings", [] { return makeProcessor(); }, std::chrono::seconds(1));
        for (int i = 0; i < numParameters; ++i)
            ASSERT_EQ(instance->params.getUnchecked(i)->midiCC, -1) << text.substr(0, 80);

        instance->params.getUnchecked(3)->midiCC = 21;
        finishesInTime(
            "writing the settings", [&] { return instance.reset(), true; }, std::chrono::seconds(1));
        const auto xml = juce::parseXML(settingsFile());
        ASSERT_NE(xml, nullptr) << text.substr(0, 80);
        EXPECT_EQ(xml->getNumChildElements(), numParameters);

        auto next = makeProcessor();
        EXPECT_EQ(next->params.getUnchecked(3)->midiCC, 21);
        EXPECT_EQ(next->params.getUnchecked(7)->midiCC, -1);
    }
}

TEST_F(SettingsFileTest, AValidFileWithTextInAnyScriptIsRead)
{
    processor.reset();
    settingsFile().getParentDirectory().createDirectory();
    const std::string text =
        "\xef\xbb\xbf<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PROPERTIES>\n"
        "  <VALUE name=\"Filter1_CutoffCC\" val=\"74\"/>\n"
        "  <VALUE name=\"Gr\xc3\xbc\xc3\x9f\x65\" val=\"\xe2\x98\x83 \xf0\x9d\x84\x9e\"/>\n"
        "</PROPERTIES>\n";
    ASSERT_TRUE(settingsFile().replaceWithData(text.data(), text.size()));
    auto instance = makeProcessor();
    EXPECT_EQ(instance->params.getUnchecked(7)->midiCC, 74);
}
