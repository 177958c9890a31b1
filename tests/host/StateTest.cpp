// The host's saved state: it round-trips byte for byte, restores every value and binding, and bytes the
// plug-in cannot read change nothing and crash nothing.
#include "HostFixture.h"

#include <iterator>

namespace
{
/** A patch unlike the default one: every value, every binding and the preset name differ. */
void makeDistinct(juce::XmlElement& patch, const juce::StringArray& identifiers, int seed)
{
    patch.setAttribute("PresetName", "Patch " + juce::String(seed));
    for (int i = 0; i < identifiers.size(); ++i)
    {
        patch.setAttribute(identifiers[i], (double)((float)((i * 7 + seed) % 131 + 1) / 133.0f));
        patch.setAttribute(identifiers[i] + "CC", (i + seed) % 128);
    }
}
} // namespace

class StateTest : public HostTest
{
protected:
    /** The plug-in's own state blob, as the host's saved state carries it. */
    juce::MemoryBlock pluginState() { return host->pluginStateOf(hostState()); }

    /** Restores a patch unlike the default one and returns the plug-in blob that now describes it. */
    juce::MemoryBlock setDistinctPatch(int seed)
    {
        auto document = patch();
        makeDistinct(*document, identifiers, seed);
        restorePluginState(*plugin, blobOf(*document));
        return pluginState();
    }

    /** Hands the bytes to the plug-in and expects its state to stay exactly as it was. */
    void expectIgnored(const juce::MemoryBlock& bytes, const juce::String& what)
    {
        const auto before = pluginState();
        restorePluginState(*plugin, bytes);
        EXPECT_TRUE(pluginState() == before) << what;
    }
};

TEST_P(StateTest, SavedStateRoundTripsByteForByte)
{
    setDistinctPatch(5);
    const auto saved = hostState();

    auto fresh = host->load();
    ASSERT_NE(fresh, nullptr);
    fresh->setStateInformation(saved.getData(), (int)saved.getSize());
    EXPECT_TRUE(hostStateOf(*fresh) == saved);
}

TEST_P(StateTest, EveryValueBindingAndTheNameAreRestoredIntoAFreshInstance)
{
    auto document = patch();
    makeDistinct(*document, identifiers, 3);
    const auto blob = blobOf(*document);

    auto fresh = host->load();
    ASSERT_NE(fresh, nullptr);
    restorePluginState(*fresh, blob);

    const auto restored = patchOf(*host, *fresh);
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->getStringAttribute("PresetName"), "Patch 3");
    for (const auto& id : identifiers)
    {
        EXPECT_EQ(bits(patchValue(*restored, id)), bits(patchValue(*document, id))) << id;
        EXPECT_EQ(restored->getIntAttribute(id + "CC"), document->getIntAttribute(id + "CC")) << id;
    }
}

TEST_P(StateTest, UnreadableBytesChangeNothing)
{
    setDistinctPatch(11);

    expectIgnored({}, "empty");
    const char magic[] = {0x56, 0x43, 0x32, 0x21};
    for (size_t n = 1; n <= 8; ++n)
        expectIgnored(juce::MemoryBlock(magic, juce::jmin(n, sizeof magic)), "short " + juce::String((int)n));

    juce::Random random(42);
    for (int size : {1, 9, 100, 4096, 1 << 20})
    {
        juce::MemoryBlock noise((size_t)size);
        random.fillBitsRandomly(noise.getData(), noise.getSize());
        expectIgnored(noise, "noise of " + juce::String(size) + " bytes");
        noise.copyFrom(magic, 0, sizeof magic);
        expectIgnored(noise, "noise behind the magic, " + juce::String(size) + " bytes");
    }

    // Another patch's envelope with its length field or text spoilt.
    const auto other = [&]
    {
        auto document = patch();
        makeDistinct(*document, identifiers, 12);
        return blobOf(*document);
    }();
    for (std::uint32_t length : {0u, 0xffffffffu, 0x80000000u})
    {
        auto spoilt = other;
        const auto field = juce::ByteOrder::swapIfBigEndian(length);
        spoilt.copyFrom(&field, 4, 4);
        expectIgnored(spoilt, "length field " + juce::String(length));
    }
    auto leadingZero = other;
    leadingZero[8] = 0;
    expectIgnored(leadingZero, "text starting with a zero byte");

    // Every cut that loses at least the closing bracket of the element.
    for (size_t n = 0; n + 2 <= other.getSize(); n += (n < 64 || n + 64 > other.getSize()) ? 1 : 61)
        expectIgnored(juce::MemoryBlock(other.getData(), n), "cut to " + juce::String((int)n) + " bytes");

    auto wrongRoot = patch();
    makeDistinct(*wrongRoot, identifiers, 13);
    wrongRoot->setTagName("VOLKARIS_PRESET");
    expectIgnored(blobOf(*wrongRoot), "a preset's root tag");
}

TEST_P(StateTest, ValuesThatAreNoNumberInRangeLeaveTheirParameterAlone)
{
    const auto before = patchOf(setDistinctPatch(21));

    auto document = patch();
    makeDistinct(*document, identifiers, 22);
    const char* bad[] = {"nan", "inf",  "-inf",      "1e309", "-1e309",
                         "1.5", "-0.2", "1.0000001", "NaN",   "Infinity"};
    const int numBad = (int)std::size(bad);
    for (int i = 0; i < numBad; ++i)
        document->setAttribute(identifiers[i * 13], bad[i]);
    document->setAttribute(identifiers[1] + "CC", "99999999999999999999");
    document->setAttribute(identifiers[2] + "CC", "-99999999999999999999");
    restorePluginState(*plugin, blobOf(*document));

    const auto after = patch();
    for (int i = 0; i < numParameters; ++i)
    {
        const auto& id = identifiers[i];
        const bool isBad = i % 13 == 0 && i / 13 < numBad;
        const auto& expected = isBad ? *before : *document;
        EXPECT_EQ(bits(patchValue(*after, id)), bits(patchValue(expected, id))) << id;
    }
}

TEST_P(StateTest, ALargeStateIsTakenWholeAndAnOversizedOneChangesNothing)
{
    auto document = patch();
    makeDistinct(*document, identifiers, 31);
    const auto longName = juce::String::repeatedString("Quorvel ", 6000); // 48 KB
    document->setAttribute("PresetName", longName);
    for (int i = 0; i < 500; ++i)
        document->setAttribute("Unknown_" + juce::String(i), i);
    restorePluginState(*plugin, blobOf(*document));

    const auto after = patch();
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->getStringAttribute("PresetName"), longName);
    EXPECT_EQ(bits(patchValue(*after, identifiers[7])), bits(patchValue(*document, identifiers[7])));

    // Text the parser would take long over never reaches it.
    makeDistinct(*document, identifiers, 32);
    document->setAttribute("PresetName", juce::String::repeatedString("Quorvel ", 1 << 19)); // 4 MB
    expectIgnored(blobOf(*document), "a 4 MB state");
}

INSTANTIATE_FOR_BOTH_FORMATS(StateTest);
