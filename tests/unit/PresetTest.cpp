// Preset files, the preset folder and its list, loads by index and randomise, driven as the host and the
// preset bar drive them: fields set, then the next audio block serves the request.
#include "HostEventLog.h"
#include "ProcessorFixture.h"

#include <thread>

namespace
{
constexpr int numParameters = QuorvelAudioProcessor::numParameters;

/** The parameters randomise may change; every other one must keep its bits. */
bool isRandomised(int i)
{
    return (i >= 0 && i <= 17) || i == 20 || i == 21 || i == 24 || i == 25 || i == 26 || i == 29 || i == 30 ||
           i == 31 || i == 34 || i == 35 || i == 36 || i == 39 || i == 42 || i == 45 || i == 48 || i == 51;
}
} // namespace

class PresetTest : public ProcessorTest
{
protected:
    juce::File folder() const { return juce::File(processor->presetManager.productFolder); }

    juce::File writePreset(const juce::String& fileName, const juce::String& text)
    {
        const auto file = folder().getChildFile(fileName);
        EXPECT_TRUE(file.replaceWithText(text));
        return file;
    }

    /** A preset file as the save action writes it, with one value per parameter from valueOf(i). */
    template <typename ValueOf> juce::File writeValues(const juce::String& name, ValueOf valueOf)
    {
        juce::XmlElement preset("VOLKARIS_PRESET");
        preset.setAttribute("PresetName", name);
        for (int i = 0; i < numParameters; ++i)
            preset.setAttribute(processor->getParameterName(i), valueOf(i));
        const auto file = folder().getChildFile(name + ".vxp");
        EXPECT_TRUE(preset.writeTo(file));
        return file;
    }

    void setEvery(float value)
    {
        for (int i = 0; i < numParameters; ++i)
            processor->setParameter(i, value);
    }

    std::vector<std::uint32_t> allBits()
    {
        std::vector<std::uint32_t> result;
        for (int i = 0; i < numParameters; ++i)
            result.push_back(bits(processor->getParameter(i)));
        return result;
    }

    void load(const juce::File& file) { processor->loadPresetFromFile(file.getFullPathName()); }

    void rescan()
    {
        processor->presetManager.update();
        processor->presetMenuNames = processor->presetManager.presetNames;
    }

    void loadByIndex(int index)
    {
        processor->presetIndex = index;
        processor->loadByIndexRequest = true;
        runBlock();
    }
};

TEST_F(PresetTest, SavedPresetLoadsBackBitIdentically)
{
    for (int i = 0; i < numParameters; ++i)
        processor->setParameter(i, (float)((i * 7919) % 1000) / 999.0f * 0.999999f);
    processor->setParameter(5, 1.0f);
    processor->setParameter(6, 1.0e-7f);
    processor->params.getUnchecked(4)->midiCC = 12;
    processor->presetName.set("Round Trip");
    const auto saved = allBits();

    ASSERT_TRUE(processor->writePresetFile(folder().getChildFile("Round Trip.txt"), "Round Trip"));
    const auto file = folder().getChildFile("Round Trip.vxp");
    ASSERT_TRUE(file.existsAsFile());

    const auto text = file.loadFileAsString();
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<VOLKARIS_PRESET"));
    const auto xml = juce::parseXML(text);
    ASSERT_NE(xml, nullptr);
    ASSERT_EQ(xml->getNumAttributes(), 1 + numParameters);
    EXPECT_EQ(xml->getAttributeName(0), "PresetName");
    for (int i = 0; i < numParameters; ++i)
        EXPECT_EQ(xml->getAttributeName(1 + i), processor->getParameterName(i));
    EXPECT_EQ(xml->getNumChildElements(), 0);

    auto fresh = makeProcessor();
    fresh->loadPresetFromFile(file.getFullPathName());
    for (int i = 0; i < numParameters; ++i)
        EXPECT_EQ(bits(fresh->getParameter(i)), saved[(size_t)i]) << "index " << i;
    EXPECT_EQ(fresh->presetName.get(), "Round Trip");
    EXPECT_EQ(fresh->params.getUnchecked(4)->midiCC, -1) << "bindings are not part of a preset";

    // An extension in another letter case is kept as chosen.
    ASSERT_TRUE(processor->writePresetFile(folder().getChildFile("Upper.VXP"), "Upper"));
    EXPECT_TRUE(folder().getChildFile("Upper.VXP").existsAsFile());
}

TEST_F(PresetTest, MissingAttributesTakeDefaultsAndRefusedValuesReachNoOne)
{
    setEvery(0.25f);
    load(writePreset("only name.vxp", "<VOLKARIS_PRESET PresetName=\"Only\"/>"));
    for (int i = 0; i < numParameters; ++i)
        EXPECT_EQ(bits(processor->getParameter(i)),
                  bits(processor->params.getUnchecked(i)->defaultNormalised))
            << i;
    EXPECT_EQ(processor->presetName.get(), "Only");

    setEvery(0.25f);
    HostEventLog host;
    processor->addListener(&host);
    load(writePreset("odd.vxp", "<VOLKARIS_PRESET Buffer1_Size=\"1.5\" Buffer1_Repeats=\"-0.1\" "
                                "Buffer1_Ratio=\"nan\" Buffer2_Size=\"0.5xyz\" Buffer2_Repeats=\"abc\" "
                                "buffer2_ratio=\"0.9\"/>"));
    processor->removeListener(&host);

    EXPECT_EQ(processor->getParameter(0), 0.25f);
    EXPECT_EQ(processor->getParameter(1), 0.25f);
    EXPECT_EQ(processor->getParameter(2), 0.25f);
    EXPECT_EQ(processor->getParameter(3), 0.5f) << "a value is read as far as it forms a number";
    EXPECT_EQ(processor->getParameter(4), 0.0f) << "text without a number reads as 0";
    EXPECT_EQ(bits(processor->getParameter(5)), bits(processor->params.getUnchecked(5)->defaultNormalised))
        << "attribute names match in their letter case only";
    EXPECT_EQ(processor->presetName.get(), " ");
    EXPECT_EQ(host.events.rfind("set 3 0.5, ", 0), 0u) << "refused values reach no one; no gestures";
}

TEST_F(PresetTest, OnlyACompletePresetElementLoadsAndItsTagInAnyLetterCase)
{
    setEvery(0.25f);
    const auto full = writeValues("Full", [](int) { return 0.75; }).loadFileAsString();
    const auto before = allBits();

    load(folder().getChildFile("missing.vxp"));
    load(folder());
    load(writePreset("garbage.vxp", "not xml at all"));
    load(writePreset("empty.vxp", ""));
    load(writePreset("cut.vxp", full.substring(0, full.indexOf("Filter1_Morph"))));
    load(writePreset("state.vxp", "<VOLKARIS_STATE PresetName=\"S\" Buffer1_Size=\"1\"/>"));
    EXPECT_EQ(allBits(), before);
    EXPECT_EQ(processor->presetName.get(), "Init");

    load(writePreset("lower.vxp", "<volkaris_preset PresetName=\"L\" Buffer1_Size=\"1\"/>"));
    EXPECT_EQ(processor->getParameter(0), 1.0f);
    EXPECT_EQ(processor->presetName.get(), "L");
}

TEST_F(PresetTest, ListsPresetFilesInNaturalOrderWhateverTheExtensionCase)
{
    for (const auto* name : {"b.vxp", "A.VXP", "a10.vxp", "a9.vxp", "c.txt", "Preset 10.vxp", "Preset 2.vxp"})
        writePreset(name, "<VOLKARIS_PRESET/>");
    folder().getChildFile("folder.vxp").createDirectory();

    rescan();
    EXPECT_EQ(processor->presetManager.presetNames.joinIntoString("|"), "A|a9|a10|b|Preset 2|Preset 10");
    EXPECT_EQ(folder().getFullPathName() + "/",
              juce::File::getSpecialLocation(juce::File::userHomeDirectory).getFullPathName() +
                  "/Library/Audio/Presets/Tarnwickmodula/Quorvel/");
}

TEST_F(PresetTest, LoadByIndexTakesTheLastPresetPastTheEndAndKeepsTheIndex)
{
    for (int n = 1; n <= 5; ++n)
        writeValues("P" + juce::String(n), [n](int) { return n / 10.0; });
    rescan();

    loadByIndex(1);
    EXPECT_EQ(processor->getParameter(0), 0.2f);
    EXPECT_EQ(processor->presetName.get(), "P2");
    EXPECT_FALSE(processor->loadByIndexRequest);

    loadByIndex(127);
    EXPECT_EQ(processor->getParameter(0), 0.5f);
    EXPECT_EQ(processor->presetName.get(), "P5");
    EXPECT_EQ(processor->presetIndex, 127);
    EXPECT_FALSE(processor->loadByIndexRequest);

    // Without an editor, a load and a randomise in one block: the preset first, then the draws.
    processor->randomiseRequest = true;
    loadByIndex(0);
    EXPECT_EQ(processor->presetName.get(), "P1");
    EXPECT_NE(processor->getParameter(0), 0.1f);
    EXPECT_EQ(processor->getParameter(19), 0.1f) << "Global_Gain is never randomised";
}

TEST_F(PresetTest, LoadByIndexLoadsAPresetWhoseExtensionIsInCapitals)
{
    // Listed whatever the extension's case, so it must load on a case-sensitive file system too.
    writePreset("Loud.VXP", "<VOLKARIS_PRESET PresetName=\"Loud\" Buffer1_Size=\"1\"/>");
    rescan();
    ASSERT_EQ(processor->presetManager.presetNames, juce::StringArray("Loud"));

    loadByIndex(0);
    EXPECT_EQ(processor->getParameter(0), 1.0f);
    EXPECT_EQ(processor->presetName.get(), "Loud");
}

TEST_F(PresetTest, LoadByIndexWithoutAPresetThereLoadsNothing)
{
    setEvery(0.25f);
    loadByIndex(0);
    EXPECT_EQ(processor->getParameter(0), 0.25f) << "empty list";
    EXPECT_FALSE(processor->loadByIndexRequest);

    // A file named only by the extension is a preset with an empty name; a negative index must not
    // reach it by building the path from an empty name.
    writeValues("", [](int) { return 0.5; });
    writeValues("a", [](int) { return 0.75; });
    rescan();
    ASSERT_EQ(processor->presetManager.presetNames.size(), 2);

    loadByIndex(-1);
    EXPECT_EQ(processor->getParameter(0), 0.25f);
    EXPECT_EQ(processor->presetName.get(), "Init");
    EXPECT_FALSE(processor->loadByIndexRequest);
}

TEST_F(PresetTest, RescanWhileTheAudioThreadLooksUpNamesNeverShowsAPartList)
{
    for (int n = 0; n < 20; ++n)
        writePreset("P" + juce::String(n) + ".vxp", "<VOLKARIS_PRESET/>");
    rescan();

    std::atomic<bool> done{false};
    std::thread messageThread(
        [&]
        {
            for (int k = 0; k < 200; ++k)
                processor->presetManager.update();
            done = true;
        });

    int busy = 0;
    while (!done)
    {
        juce::File file;
        const auto result = processor->presetManager.fileForIndex(15, file);
        if (result == torvaLib::PresetManager::Lookup::busy)
            ++busy;
        else
            ASSERT_EQ(file, folder().getChildFile("P15.vxp"));
    }
    messageThread.join();
    SUCCEED() << busy << " lookups found the list being swapped";
}

TEST_F(PresetTest, ProposedFileNamesStayInsideTheProductFolderAndKeepEveryOtherCharacter)
{
    // A loaded preset's name proposes its own file, so saving replaces it instead of writing a second one.
    const auto longName = juce::String::repeatedString("x", 200);
    for (const auto& name :
         {juce::String("Warm Pad"), juce::String("Bass #2"), juce::String("a@b, c; d^e"), longName})
        EXPECT_EQ(processor->presetManager.proposedFileFor(name), folder().getChildFile(name + ".vxp"))
            << name;

    for (const auto* name : {"../../outside", "Bass/Lead", "/etc/passwd", "~", "~root", "..", "."})
        EXPECT_EQ(processor->presetManager.proposedFileFor(name).getParentDirectory(), folder()) << name;
}

TEST_F(PresetTest, RandomiseDrawsExactlyItsParametersInOrder)
{
    bool sawLastWave = false;
    for (int seed = 1; seed <= 30; ++seed)
    {
        setEvery(0.123f);
        for (int i = 0; i < numParameters; ++i)
            processor->params.getUnchecked(i)->midiCC = i;
        const auto before = allBits();

        processor->random.setSeed(seed);
        juce::Random expected(seed);
        processor->randomiseRequest = true;
        runBlock();
        EXPECT_FALSE(processor->randomiseRequest);

        for (int i = 0; i < numParameters; ++i)
        {
            EXPECT_EQ(processor->params.getUnchecked(i)->midiCC, i);
            if (!isRandomised(i))
            {
                EXPECT_EQ(bits(processor->getParameter(i)), before[(size_t)i]) << "index " << i;
                continue;
            }
            float value = expected.nextFloat();
            const bool wave = i == 20 || i == 25 || i == 30 || i == 35;
            if (wave && value > 0.8f && expected.nextFloat() > 0.5f)
                value = 1.0f;
            sawLastWave = sawLastWave || (wave && value == 1.0f);
            EXPECT_EQ(bits(processor->getParameter(i)), bits(value)) << "seed " << seed << " index " << i;
            EXPECT_LT(processor->getParameter(i), wave ? 1.0001f : 1.0f);
        }
    }
    EXPECT_TRUE(sawLastWave) << "the seeds should reach the second draw of a wave at least once";
}

TEST_F(PresetTest, DamagedPresetsChangeNothingAndNeverHang)
{
    setEvery(0.25f);
    const auto before = allBits();

    const auto damaged = damagedXmlTexts("VOLKARIS_PRESET", "Buffer1_Size=\"0.5\" Dry_Wet=\"0.75\"");
    for (size_t k = 0; k < damaged.size(); ++k)
    {
        const auto file = folder().getChildFile("Damaged " + juce::String((int)k) + ".vxp");
        ASSERT_TRUE(file.replaceWithData(damaged[k].data(), damaged[k].size()));
        finishesInTime(
            "loadPresetFromFile", [&] { return load(file), true; }, std::chrono::seconds(1));
        EXPECT_EQ(allBits(), before) << damaged[k].substr(0, 80);
        EXPECT_EQ(processor->presetName.get(), "Init");

        // A program change with no window open: the audio thread reads the file at the next block start.
        rescan();
        ASSERT_EQ(processor->presetManager.presetNames, juce::StringArray("Damaged " + juce::String((int)k)));
        juce::MidiBuffer midi;
        midi.addEvent(juce::MidiMessage::programChange(1, 0), 0);
        finishesInTime(
            "a program change", [&] { return runBlock(midi), runBlock(), true; }, std::chrono::seconds(1));
        EXPECT_FALSE(processor->loadByIndexRequest);
        EXPECT_EQ(allBits(), before);
        ASSERT_TRUE(file.deleteFile());
    }
}

TEST_F(PresetTest, APresetNamedInAnyScriptLoadsWithOrWithoutAByteOrderMark)
{
    const std::string name = "Caf\xc3\xa9 \xe2\x98\x83 \xf0\x9d\x84\x9e";
    const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<VOLKARIS_PRESET PresetName=\"" +
                             name + "\" Dry_Wet=\"0.75\"/>\n";
    for (const auto& bytes : {text, "\xef\xbb\xbf" + text})
    {
        processor->setParameter(18, 0.25f);
        const auto file = folder().getChildFile("named.vxp");
        ASSERT_TRUE(file.replaceWithData(bytes.data(), bytes.size()));
        load(file);
        EXPECT_EQ(processor->presetName.get(), juce::String::fromUTF8(name.data(), (int)name.size()));
        EXPECT_EQ(processor->getParameter(18), 0.75f);
    }
}
