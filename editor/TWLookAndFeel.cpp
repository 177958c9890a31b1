#include "editor/TWLookAndFeel.h"

#include "BinaryData.h"
#include "editor/EditorPalette.h"
#include "editor/FallbackTypeface.h"

#include <cmath>

namespace vesk
{
namespace
{
using EditorPalette::black;
using EditorPalette::grey;
const juce::Colour arrowColour(0xff0f0f0f);
const juce::Colour disabledArcColour(0x80808080);
const juce::Colour transparentBlack(0x00000000);

struct ColourSetting
{
    int id;
    juce::uint32 argb;
};

// Grey items on black with the highlighted item black on a grey bar; grey label, combo-box and
// text-editor texts; text buttons grey when off and black on grey when on.
const ColourSetting colourTable[] = {
    {juce::PopupMenu::backgroundColourId, 0xff000000},
    {juce::PopupMenu::textColourId, 0xffaeaeae},
    {juce::PopupMenu::highlightedBackgroundColourId, 0xffaeaeae},
    {juce::PopupMenu::highlightedTextColourId, 0xff000000},
    {juce::TextEditor::textColourId, 0xffaeaeae},
    {juce::ComboBox::textColourId, 0xffaeaeae},
    {juce::Label::textColourId, 0xffaeaeae},
    {juce::ComboBox::buttonColourId, 0xffaeaeae},
    {juce::TextButton::buttonColourId, 0xffaeaeae},
    {juce::TextButton::buttonOnColourId, 0xffaeaeae},
    {juce::TextButton::textColourOnId, 0xff000000},
    {juce::TextButton::textColourOffId, 0xffaeaeae},
};

// The framework's own dialogs and controls draw with this look, the process-wide default: the overwrite
// question, the load and save dialogs where the desktop offers none, their New Folder prompt, and the
// Standalone's Audio/MIDI Settings window (on the window background colour). Their buttons, labels and
// fields take the grey of the table above; made dark like the window, they read as the window does. No
// control of the window draws with these ids: its labels never open a text editor and it has no list,
// toggle button or resizable window of its own. The file list and the file name field keep the base's
// black on white.
const ColourSetting dialogColourTable[] = {
    {juce::AlertWindow::backgroundColourId, 0xff000000},
    {juce::AlertWindow::textColourId, 0xffaeaeae},
    {juce::AlertWindow::outlineColourId, 0xffaeaeae},
    {juce::FileChooserDialogBox::titleTextColourId, 0xffaeaeae},
    {juce::FileBrowserComponent::currentPathBoxTextColourId, 0xffaeaeae},
    {juce::ResizableWindow::backgroundColourId, 0xff000000},
    // Typed text grey on black in a grey focus frame; a selection black on a grey bar, as a menu's
    // highlighted item.
    {juce::TextEditor::backgroundColourId, 0xff000000},
    {juce::TextEditor::focusedOutlineColourId, 0xffaeaeae},
    {juce::TextEditor::highlightColourId, 0xffaeaeae},
    {juce::TextEditor::highlightedTextColourId, 0xff000000},
    {juce::ToggleButton::textColourId, 0xffaeaeae},
    {juce::ToggleButton::tickColourId, 0xffaeaeae},
    {juce::ToggleButton::tickDisabledColourId, 0x80aeaeae},
    // The device lists show the dialog's black through a clear background (an opaque one would also
    // cover the framework's "no MIDI inputs" note). Their names are white: the framework dims an unticked
    // name to 60% and lays a selected row under 30% of the highlight, where the grey would fall below 4:1.
    {juce::ListBox::backgroundColourId, 0x00000000},
    {juce::ListBox::outlineColourId, 0xffaeaeae},
    {juce::ListBox::textColourId, 0xffffffff},
};

// The knob's proportions: a large knob has a wider ring and a longer pointer than a small one.
struct KnobShape
{
    float gapDisc;      // black ring inside the outer grey ring
    float arcDisc;      // outer edge of the value arc
    float innerGapDisc; // black ring between arc and hub
    float hubDisc;      // grey hub
    float pointer;      // pointer length as a fraction of the radius
};

constexpr KnobShape largeKnob{0.9f, 0.8f, 0.6f, 0.5f, 0.5f};
constexpr KnobShape smallKnob{0.85f, 0.75f, 0.55f, 0.45f, 0.45f};
constexpr float arcInnerProportion = 0.2f;
constexpr float largeKnobMinimumRadius = 15.0f;
} // namespace

TWLook::TWLook()
    : robotoTypeface(juce::Typeface::createSystemTypefaceFor(
          BinaryData::RobotoRegular_ttf, static_cast<size_t>(BinaryData::RobotoRegular_ttfSize)))
{
    if (robotoTypeface != nullptr)
        typeface = new FallbackTypeface(robotoTypeface, BinaryData::RobotoRegular_ttf,
                                        static_cast<size_t>(BinaryData::RobotoRegular_ttfSize));
    for (const auto& setting : colourTable)
        setColour(setting.id, juce::Colour(setting.argb));
    for (const auto& setting : dialogColourTable)
        setColour(setting.id, juce::Colour(setting.argb));
}

TWLook::~TWLook()
{
    typeface = nullptr;
    robotoTypeface = nullptr;
}

void TWLook::install(juce::Component& window)
{
    juce::LookAndFeel::setDefaultLookAndFeel(this);
    window.setLookAndFeel(this);
    juce::Typeface::clearTypefaceCache();
}

void TWLook::remove(juce::Component& window)
{
    juce::LookAndFeel::setDefaultLookAndFeel(nullptr);
    window.setLookAndFeel(nullptr);
    juce::Typeface::clearTypefaceCache();
}

juce::Typeface::Ptr TWLook::getTypefaceForFont(const juce::Font& font)
{
    // The framework dereferences whatever comes back, so an unreadable embedded font falls back to
    // the system face rather than to null.
    if (typeface == nullptr)
        return LookAndFeel_V2::getTypefaceForFont(font);
    return typeface;
}

void TWLook::drawButtonBackground(juce::Graphics& g, juce::Button& button, const juce::Colour& colour, bool,
                                  bool)
{
    const auto width = button.getWidth();
    const auto height = button.getHeight();
    if (button.getToggleState())
    {
        g.setColour(colour);
        g.fillRect(0, 0, width, height);
        return;
    }
    // The window's buttons set their colours; the framework's (the Standalone's Options and its
    // notification bar's Settings...) sit on the framework's own lighter colours.
    if (!button.isColourSpecified(juce::TextButton::buttonColourId))
    {
        g.setColour(black);
        g.fillRect(0, 0, width, height);
    }
    g.setColour(colour);
    g.drawRect(juce::Rectangle<float>(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height)),
               1.0f);
}

void TWLook::drawTickBox(juce::Graphics& g, juce::Component& component, float x, float y, float w, float h,
                         bool ticked, bool isEnabled, bool, bool)
{
    // The base's proportions: a box of 0.7 w, centred on the given height.
    const auto side = std::round(w * 0.7f);
    const juce::Rectangle<float> box(std::round(x), std::round(y + (h - side) * 0.5f), side, side);
    g.setColour(component.findColour(isEnabled ? juce::ToggleButton::tickColourId
                                               : juce::ToggleButton::tickDisabledColourId));
    if (ticked)
        g.fillRect(box);
    else
        g.drawRect(box, 1.0f);
}

void TWLook::drawLevelMeter(juce::Graphics& g, int width, int height, float level)
{
    g.fillAll(black);
    g.setColour(grey);
    g.drawRect(0, 0, width, height, 1);

    // Seven blocks as the base draws them, the top one red when lit.
    constexpr int totalBlocks = 7;
    const auto lit = juce::roundToInt(static_cast<float>(totalBlocks) * level);
    const auto blockWidth = (static_cast<float>(width) - 6.0f) / static_cast<float>(totalBlocks);
    for (int i = 0; i < totalBlocks; ++i)
    {
        g.setColour(i >= lit ? EditorPalette::fieldFill : i < totalBlocks - 1 ? grey : juce::Colours::red);
        g.fillRect(3.0f + static_cast<float>(i) * blockWidth + blockWidth * 0.1f, 3.0f, blockWidth * 0.8f,
                   static_cast<float>(height) - 6.0f);
    }
}

juce::CaretComponent* TWLook::createCaretComponent(juce::Component* keyFocusOwner)
{
    // The base's caret is black, which would vanish in the dialogs' black fields.
    struct TextColouredCaret : juce::CaretComponent
    {
        explicit TextColouredCaret(juce::Component* focusOwner)
            : CaretComponent(focusOwner), editor(focusOwner)
        {
        }

        void paint(juce::Graphics& g) override
        {
            const auto* textEditor = dynamic_cast<juce::TextEditor*>(editor);
            g.setColour(textEditor != nullptr ? textEditor->findColour(juce::TextEditor::textColourId)
                                              : findColour(caretColourId, true));
            g.fillRect(getLocalBounds());
        }

        juce::Component* editor;
    };
    return new TextColouredCaret(keyFocusOwner);
}

void TWLook::drawPopupMenuBackground(juce::Graphics& g, int width, int height)
{
    g.fillAll(black);
    g.setColour(grey);
    g.drawRect(0, 0, width, height, 1);
}

void TWLook::drawPopupMenuUpDownArrow(juce::Graphics& g, int width, int height, bool isScrollUpArrow)
{
    const auto w = static_cast<float>(width);
    const auto h = static_cast<float>(height);

    g.setGradientFill(juce::ColourGradient(black, 0.0f, h * 0.5f, transparentBlack, 0.0f,
                                           isScrollUpArrow ? h : 0.0f, false));
    g.fillRect(1, 1, width - 2, height - 2);

    const auto hw = w * 0.5f;
    const auto a = h * 0.3f;
    const auto y1 = h * (isScrollUpArrow ? 0.6f : 0.3f);
    const auto y2 = h * (isScrollUpArrow ? 0.3f : 0.6f);
    juce::Path arrow;
    arrow.addTriangle(hw - a, y1, hw + a, y1, hw, y2);
    g.setColour(grey);
    g.fillPath(arrow);
}

void TWLook::drawComboBox(juce::Graphics& g, int width, int height, bool, int buttonX, int buttonY,
                          int buttonW, int buttonH, juce::ComboBox& box)
{
    g.fillAll(black);
    g.setColour(box.findColour(juce::ComboBox::outlineColourId));
    g.drawRect(juce::Rectangle<float>(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height)),
               1.0f);

    g.setColour(box.findColour(juce::ComboBox::buttonColourId));
    g.fillRect(buttonX, buttonY, buttonW, buttonH);

    if (!box.isEnabled())
        return;

    const auto bx = static_cast<float>(buttonX);
    const auto by = static_cast<float>(buttonY);
    const auto bw = static_cast<float>(buttonW);
    const auto bh = static_cast<float>(buttonH);
    juce::Path arrows;
    arrows.addTriangle(bx + bw * 0.5f, by + bh * (0.45f - 0.2f), bx + bw * 0.7f, by + bh * 0.45f,
                       bx + bw * 0.3f, by + bh * 0.45f);
    arrows.addTriangle(bx + bw * 0.5f, by + bh * 0.75f, bx + bw * 0.7f, by + bh * 0.55f, bx + bw * 0.3f,
                       by + bh * 0.55f);
    g.setColour(arrowColour);
    g.fillPath(arrows);
}

juce::Button* TWLook::createFileBrowserGoUpButton()
{
    // The base's arrow is translucent black, which would vanish on the dialogs' black.
    auto* button = new juce::DrawableButton("up", juce::DrawableButton::ImageOnButtonBackground);
    juce::Path arrowPath;
    arrowPath.addArrow({50.0f, 100.0f, 50.0f, 0.0f}, 40.0f, 100.0f, 50.0f);
    juce::DrawablePath arrow;
    arrow.setFill(grey);
    arrow.setPath(arrowPath);
    button->setImages(&arrow);
    return button;
}

void TWLook::layoutFileBrowserComponent(juce::FileBrowserComponent& browser,
                                        juce::DirectoryContentsDisplayComponent* fileList,
                                        juce::FilePreviewComponent* preview, juce::ComboBox* currentPathBox,
                                        juce::TextEditor* filenameBox, juce::Button* goUpButton)
{
    // The names, sizes and dates are drawn black and dark grey, for a white list.
    if (auto* list = dynamic_cast<juce::Component*>(fileList))
        list->setColour(juce::ListBox::backgroundColourId, juce::Colours::white);
    LookAndFeel_V2::layoutFileBrowserComponent(browser, fileList, preview, currentPathBox, filenameBox,
                                               goUpButton);
}

void TWLook::drawRotarySlider(juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                              float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider)
{
    const auto background = slider.findColour(juce::Slider::backgroundColourId);
    const auto outline = slider.findColour(juce::Slider::rotarySliderOutlineColourId);
    const auto arcColour =
        slider.isEnabled() ? slider.findColour(juce::Slider::rotarySliderFillColourId) : disabledArcColour;

    const float radius = static_cast<float>(juce::jmin(width / 2, height / 2)) - 2.0f;
    const float centreX = static_cast<float>(x) + static_cast<float>(width) * 0.5f;
    const float centreY = static_cast<float>(y) + static_cast<float>(height) * 0.5f;
    const float left = centreX - radius;
    const float top = centreY - radius;
    const float diameter = radius * 2.0f;
    const float angle = rotaryStartAngle + sliderPos * (rotaryEndAngle - rotaryStartAngle);

    // A disc of fraction f is concentric with the knob: side f d, inset r - f r on both axes.
    auto discBounds = [&](float fraction)
    {
        const float inset = radius - fraction * radius;
        const float side = fraction * diameter;
        return juce::Rectangle<float>(left + inset, top + inset, side, side);
    };
    auto fillDisc = [&](float fraction, juce::Colour colour)
    {
        g.setColour(colour);
        g.fillEllipse(discBounds(fraction));
    };

    g.fillAll(background);

    const auto& shape = radius > largeKnobMinimumRadius ? largeKnob : smallKnob;
    fillDisc(1.0f, outline);
    fillDisc(shape.gapDisc, background);

    juce::Path arc;
    arc.addPieSegment(discBounds(shape.arcDisc), rotaryStartAngle, angle, arcInnerProportion);
    g.setColour(arcColour);
    g.fillPath(arc);

    fillDisc(shape.innerGapDisc, background);
    fillDisc(shape.hubDisc, outline);

    juce::Path pointer;
    pointer.addLineSegment(juce::Line<float>(0.0f, 0.0f, 0.0f, -(shape.pointer * radius)), 0.05f * diameter);
    pointer.applyTransform(juce::AffineTransform::rotation(angle).translated(centreX, centreY));
    g.setColour(background);
    g.fillPath(pointer);
}
} // namespace vesk
