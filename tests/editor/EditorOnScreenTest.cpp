// The plug-in window on a real display: the pointer switches pages and drags a chip onto a matrix row,
// and the window's own timers bring the result back.
#include "EditorWindowFixture.h"
#include "TestDisplay.h"
#include "editor/ModSourceComponent.h"
#include "editor/ModTargetComponent.h"

TEST_F(EditorWindowTest, OnScreenTheSwitchAndAChipDraggedOntoAMatrixRowWorkByHand)
{
    TestDisplay display;
    if (!display.available())
        GTEST_SKIP() << "needs an X display with the XTest extension (run under xvfb-run)";

    // Off the display again before the display's error handler goes, whatever happens in between.
    struct OnDesktop
    {
        explicit OnDesktop(juce::Component& c) : window(c) { window.addToDesktop(0); }
        ~OnDesktop() { window.removeFromDesktop(); }
        juce::Component& window;
    };
    editor->setTopLeftPosition(40, 40);
    const OnDesktop onDesktop(*editor);
    editor->setVisible(true);
    runMessages(300);
    ASSERT_TRUE(editor->isShowing());

    display.click(editor->panelSwitcher.getScreenBounds().getCentre());
    ASSERT_TRUE(editor->patchPanel.isShowing());
    EXPECT_EQ(editor->panelSwitcher.switchLabel->getText(), "CONTROLS");

    // The chip showing LFO 3 onto row 28, LFO 1 RATE.
    auto& chip = *editor->patchPanel.sourceChips[10];
    auto& row = *editor->patchPanel.rowTargets[27];
    ASSERT_EQ(row.paramIndex, 96);
    host.events.clear();
    const auto from = chip.getScreenBounds().getCentre();
    const auto to = row.getScreenBounds().getCentre();
    display.movePointer(from);
    runMessages(100);
    display.pressButton(true);
    display.glide(from, to);
    runMessages(100);
    EXPECT_TRUE(editor->isDragAndDropActive());
    display.pressButton(false);
    runMessages(300);

    EXPECT_EQ(host.events, HostEventLog::edit(96, 10.0f / 17.0f));
    EXPECT_EQ(row.text, "LFO 3");
    EXPECT_TRUE(editor->messageLine1.isVisible());
    EXPECT_EQ(editor->messageLine1.getText(), "MODULATION SOURCE");
    EXPECT_EQ(editor->messageLine2.getText(), "LFO 3");

    display.click(editor->panelSwitcher.getScreenBounds().getCentre());
    EXPECT_TRUE(editor->controlsPanel.isShowing());
    EXPECT_EQ(editor->panelSwitcher.switchLabel->getText(), "MATRIX");
}
