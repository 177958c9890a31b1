#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace vesk
{
// The editor's one look-and-feel: every text in the embedded Roboto Regular (characters it lacks in an
// installed typeface that has them), flat text buttons, black
// pop-up menus and combo boxes with grey lines, and rotary knobs drawn as concentric discs with a value
// arc and a pointer notch; the framework's own dialogs and controls, which draw with it as the default,
// dark like the window. The editor owns one, installs it as the process-wide default and as its own, and
// removes it again before destroying it.
class TWLook : public juce::LookAndFeel_V2
{
public:
    TWLook();
    ~TWLook() override;

    // Makes this look the process-wide default (through which the framework resolves every font's
    // typeface) and the window's own. The typeface cache is cleared on both install and removal,
    // or fonts resolved under the previous default keep their typeface.
    void install(juce::Component& window);
    void remove(juce::Component& window);

    juce::Typeface::Ptr getTypefaceForFont(const juce::Font&) override;

    // A button given no colour of its own (the framework's) is filled black inside its frame, so its grey
    // text reads on whatever the framework puts it on.
    void drawButtonBackground(juce::Graphics&, juce::Button&, const juce::Colour& colour, bool highlighted,
                              bool down) override;

    // Tick boxes (the framework's toggle buttons and device lists) framed in grey and filled when ticked,
    // as the window's own toggles are.
    void drawTickBox(juce::Graphics&, juce::Component&, float x, float y, float w, float h, bool ticked,
                     bool isEnabled, bool highlighted, bool down) override;

    // The framework's input level meter: grey blocks on black in a grey frame.
    void drawLevelMeter(juce::Graphics&, int width, int height, float level) override;

    // A caret in its text editor's text colour, so it shows on the dark fields and the light ones alike.
    juce::CaretComponent* createCaretComponent(juce::Component* keyFocusOwner) override;

    void drawPopupMenuBackground(juce::Graphics&, int width, int height) override;
    void drawPopupMenuUpDownArrow(juce::Graphics&, int width, int height, bool isScrollUpArrow) override;

    void drawComboBox(juce::Graphics&, int width, int height, bool isButtonDown, int buttonX, int buttonY,
                      int buttonW, int buttonH, juce::ComboBox&) override;

    void drawRotarySlider(juce::Graphics&, int x, int y, int width, int height, float sliderPos,
                          float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;

    // The file dialog's "go up" button, its arrow in the window's grey.
    juce::Button* createFileBrowserGoUpButton() override;

    // The file dialog's list keeps the base's white, where other lists drawn with this look are dark.
    void layoutFileBrowserComponent(juce::FileBrowserComponent&, juce::DirectoryContentsDisplayComponent*,
                                    juce::FilePreviewComponent*, juce::ComboBox* currentPathBox,
                                    juce::TextEditor* filenameBox, juce::Button* goUpButton) override;

private:
    juce::Typeface::Ptr robotoTypeface;
    // What every font gets: Roboto, with installed typefaces for the characters it lacks.
    juce::Typeface::Ptr typeface;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(TWLook)
};
} // namespace vesk
