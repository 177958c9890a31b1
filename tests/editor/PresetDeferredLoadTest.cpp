// While an editor is open the processor never reads a preset file itself: it hands the path to the
// editor's timer, which applies it on the message thread.
#include "ProcessorFixture.h"

class PresetDeferredLoadTest : public ProcessorTest
{
protected:
    void SetUp() override
    {
        ProcessorTest::SetUp();
        juce::XmlElement preset("VOLKARIS_PRESET");
        preset.setAttribute("PresetName", "Deferred");
        for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
            preset.setAttribute(processor->getParameterName(i), 0.5);
        file = juce::File(processor->presetManager.productFolder).getChildFile("Deferred.vxp");
        ASSERT_TRUE(preset.writeTo(file));
        processor->presetManager.update();

        for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
            processor->setParameter(i, 0.25f);
        editor.reset(processor->createEditorIfNeeded());
        ASSERT_NE(processor->getActiveEditor(), nullptr);
    }

    void TearDown() override { editor.reset(); }

    /** What the editor's timer does with a deferred load. */
    void applyPending()
    {
        ASSERT_TRUE(processor->loadPending);
        processor->applyPresetFile(processor->pendingPresetPath.get());
        processor->loadPending = false;
    }

    juce::File file;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
};

TEST_F(PresetDeferredLoadTest, LoadsWaitForTheEditorAndEndAfterRandomise)
{
    processor->loadPresetFromFile(file.getFullPathName());
    EXPECT_TRUE(processor->loadPending);
    EXPECT_EQ(processor->pendingPresetPath.get(), file.getFullPathName());
    EXPECT_EQ(processor->getParameter(0), 0.25f);
    EXPECT_EQ(processor->presetName.get(), "Init");
    processor->loadPending = false;

    // A load by index and a randomise served in one block: randomised at once, the preset applied after.
    processor->presetIndex = 0;
    processor->loadByIndexRequest = true;
    processor->randomiseRequest = true;
    runBlock();
    EXPECT_FALSE(processor->loadByIndexRequest);
    EXPECT_NE(processor->getParameter(0), 0.25f);

    applyPending();
    EXPECT_EQ(processor->presetName.get(), "Deferred");
    for (int i = 0; i < QuorvelAudioProcessor::numParameters; ++i)
        EXPECT_EQ(processor->getParameter(i), 0.5f) << "index " << i;
}
