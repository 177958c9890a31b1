#include "editor/FontScaling.h"

void rescaleFont(juce::Font& font, float& fontHeight, float& lastHeight, int height)
{
    if (height <= 0)
        return;

    const float currentHeight = static_cast<float>(height);
    font.setHeight(fontHeight * (currentHeight / lastHeight));
    fontHeight = font.getHeight();
    lastHeight = currentHeight;
}
