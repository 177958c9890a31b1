#pragma once

#include "BarTestSupport.h"
#include "EditorFixture.h"
#include "editor/PluginEditor.h"

#include <vector>

// The plug-in's window opened on a processor the way a host opens it, its preset bar answering through
// a script, and its timers driven by hand: tick() is one 50 ms refresh, timeout() one message timeout.
class EditorWindowTest : public EditorControlTest
{
protected:
    void SetUp() override
    {
        EditorControlTest::SetUp();
        presets = emptyPresetFolder(*processor);
        openEditor();
    }

    void TearDown() override
    {
        closeEditor();
        EditorControlTest::TearDown();
    }

    void openEditor()
    {
        editor.reset(dynamic_cast<QuorvelAudioProcessorEditor*>(processor->createEditorIfNeeded()));
        ASSERT_NE(editor, nullptr);
        editor->presetComponent.dialogs = std::make_unique<ScriptedDialogs>(script);
    }

    // As a host closes the window: the processor hears of it first.
    void closeEditor()
    {
        if (editor != nullptr)
            processor->editorBeingDeleted(editor.get());
        editor = nullptr;
    }

    void tick() { editor->timerCallback(QuorvelAudioProcessorEditor::refreshTimer); }
    void timeout() { editor->timerCallback(QuorvelAudioProcessorEditor::messageTimer); }

    void switchPage() { ::click(*editor->panelSwitcher.switchButton, *editor); }

    // Both pages as they are drawn now, the module page first; the window is left on the module page.
    std::vector<juce::Image> renderBothPages()
    {
        editor->sendLookAndFeelChange();
        tick();
        auto modulePage = render(*editor);
        switchPage();
        tick();
        auto matrixPage = render(*editor);
        switchPage();
        return {modulePage, matrixPage};
    }

    juce::File writePreset(const juce::String& name) const
    {
        const auto file = presets.getChildFile(name + ".vxp");
        EXPECT_TRUE(::writePreset(*processor, name, file));
        return file;
    }

    std::unique_ptr<QuorvelAudioProcessorEditor> editor;
    DialogScript script;
    juce::File presets;
};
