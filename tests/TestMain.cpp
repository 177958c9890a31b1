// Every test binary runs in a fresh temporary HOME, so no test reads or writes a real user's presets,
// settings or log; the folder is removed when the binary ends. In the binaries that link the plug-in's
// code, the crash handler stays out of the way of sanitizers and death tests; the crash-log test switches
// it on in its own child process. (The validation program loads the built plug-in instead, whose handler
// is installed as in any host.)
#if QUORVEL_TEST_LINKS_PLUGIN_CODE
#include "plugin/CrashLog.h"
#endif

#include <juce_events/juce_events.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    // Xlib stays loaded until the program ends. The framework unloads it when its window system shuts
    // down, and a leak checker would then report Xlib's own per-connection caches as leaks.
    dlopen("libX11.so.6", RTLD_NOW | RTLD_NODELETE);

    char home[] = "/tmp/quorvel-test-home-XXXXXX";
    if (mkdtemp(home) == nullptr)
        return 2;
    setenv("HOME", home, 1);
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        unsetenv(name);

#if QUORVEL_TEST_LINKS_PLUGIN_CODE
    crashLog::setInstallationEnabled(false);
#endif

    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI juce;
        testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }

    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return result;
}
