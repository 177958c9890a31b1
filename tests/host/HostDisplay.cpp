// The X11 declarations live apart from the tests: their macros clash with the test framework's names.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include "HostDisplay.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdlib>

namespace
{
int ignoreXError(::Display*, XErrorEvent*)
{
    return 0;
}
} // namespace

void prepareX11ForPlugIns()
{
    static const bool prepared = []
    {
        if (std::getenv("DISPLAY") == nullptr)
            return false;
        // The framework's window system loads Xlib and connects; this Xlib makes itself thread-safe.
        juce::XWindowSystem::getInstance();
        juce::X11Symbols::getInstance()->xSetErrorHandler(ignoreXError);
        return true;
    }();
    juce::ignoreUnused(prepared);
}
