#include "editor/OscillComp.h"

#include "editor/EditorPalette.h"
#include "plugin/PluginProcessor.h"

#include <cmath>

namespace
{
constexpr int numPoints = 128;
} // namespace

OscillComp::OscillComp()
{
    setSize(70, 30);
}

void OscillComp::paint(juce::Graphics& g)
{
    g.setColour(EditorPalette::output);
    g.strokePath(path, juce::PathStrokeType(1.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt));
}

void OscillComp::updateFromPlugin()
{
    if (processor == nullptr)
        return;

    // Single precision throughout, in this order, so a known history gives known points.
    const auto w = static_cast<float>(getWidth());
    const auto h = static_cast<float>(getHeight());
    const float d = w * 0.0078125f;

    // The audio thread shifts the history while this runs: each value is read once. A value that is not a
    // number or infinite would put the trace off the strip or poison its bounds, so it is drawn as silence.
    const auto& history = processor->scopeHistory;
    const auto y = [&](int i)
    {
        float s = history[static_cast<size_t>(i)].load(std::memory_order_relaxed);
        if (!std::isfinite(s))
            s = 0.0f;
        s = juce::jlimit(-1.0f, 1.0f, s);
        return h - (s * 0.5f + 0.5f) * h;
    };

    path.clear();
    path.startNewSubPath(0.0f, y(numPoints - 1));
    for (int i = numPoints - 2; i >= 0; --i)
        path.lineTo(w - static_cast<float>(i) * d, y(i));

    repaint();
}
