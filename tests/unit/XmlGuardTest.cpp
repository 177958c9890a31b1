// The guard before the framework's XML parser: which texts may reach it. What each refused text does to the
// parser, and that a refused state, preset or settings file changes nothing, is checked where each arrives.
#include "torva/torva_juce_xml.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
bool safe(const std::string& text)
{
    return torvaLib::isSafeXmlText(text.data(), text.size());
}

std::string element(const std::string& content)
{
    return "<P>" + content + "</P>";
}

std::string repeated(const std::string& part, int count)
{
    std::string result;
    for (int i = 0; i < count; ++i)
        result += part;
    return result;
}
} // namespace

TEST(XmlGuardTest, TakesEveryCodePointInItsShortestFormAndNothingElse)
{
    for (const auto* valid : {"\x7f", "\xc2\x80", "\xdf\xbf", "\xe0\xa0\x80", "\xed\x9f\xbf", "\xee\x80\x80",
                              "\xef\xbf\xbf", "\xf0\x90\x80\x80", "\xf4\x8f\xbf\xbf"})
        EXPECT_TRUE(safe(element(valid))) << valid;

    for (const auto* invalid :
         {"\x80", "\xbf", "\xc0\x80", "\xc1\xbf", "\xe0\x9f\xbf", "\xed\xa0\x80", "\xed\xbf\xbf",
          "\xf0\x8f\xbf\xbf", "\xf4\x90\x80\x80", "\xf5\x80\x80\x80", "\xf8\x88\x80\x80\x80", "\xfe", "\xff",
          "\xc2", "\xe2\x82", "\xf0\x9f\x8e", "\xe2\x82<", "\xc2\xc2\x80"})
    {
        EXPECT_FALSE(safe(element(invalid))) << "inside";
        EXPECT_FALSE(safe(element("") + invalid)) << "at the end";
    }
}

TEST(XmlGuardTest, LooksOnlyAsFarAsTheFirstZeroByte)
{
    EXPECT_TRUE(safe(std::string("<P/>\0\xff<?a?>", 11)));
    EXPECT_FALSE(safe(std::string("<P>\xff</P>\0", 9)));
    EXPECT_TRUE(safe(""));
    EXPECT_TRUE(torvaLib::isSafeXmlText(nullptr, 5));
}

TEST(XmlGuardTest, RefusesATextEndingInsideAHexadecimalReference)
{
    for (const auto* end : {"&#x", "&#X", "&#x4", "&#x12345678", "&#xaBcD"})
        EXPECT_FALSE(safe("<P a=\"" + std::string(end))) << end;

    // The parser stops at the ninth digit or at a character that ends the digits; neither is the end.
    for (const auto* end : {"&#x41;", "&#x41 ", "&#x123456789", "&#65", "&#", "&x41", "#x41"})
        EXPECT_TRUE(safe("<P a=\"" + std::string(end))) << end;
}

TEST(XmlGuardTest, TakesOneLeadingDeclarationAndNoOtherProcessingInstruction)
{
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    EXPECT_TRUE(safe(declaration + "\r\n\r\n" + element("a")));
    EXPECT_TRUE(safe("\xef\xbb\xbf \n" + declaration + element("a")));

    EXPECT_FALSE(safe(element("<?a?>b")));
    EXPECT_FALSE(safe(declaration + element("<?a?>b")));
    EXPECT_FALSE(safe(declaration + declaration + element("a")));
    EXPECT_FALSE(safe("<?a?>" + element("a")));
    EXPECT_FALSE(safe(declaration + "<P/><?a?>"));
}

TEST(XmlGuardTest, RefusesADocumentTypeDeclaration)
{
    EXPECT_FALSE(safe("<!DOCTYPE P>" + element("a")));
    EXPECT_FALSE(safe("<!DOCTYPE r [<!ENTITY x \"&.x;\">]><r>&x;</r>"));
    EXPECT_TRUE(safe(element("<!-- a comment -->")));
}

TEST(XmlGuardTest, BoundsHowDeepElementsNest)
{
    EXPECT_TRUE(safe(repeated("<a>", 100)));
    EXPECT_FALSE(safe(repeated("<a>", 101)));
    EXPECT_FALSE(safe(repeated("<a>", 100) + "a > b"));

    // Elements that close themselves or close at once never take the parser deeper.
    EXPECT_TRUE(safe("<P>" + repeated("<VALUE name=\"a\" val=\"1\"/>", 1000) + "</P>"));
    EXPECT_TRUE(safe("<P>" + repeated("<a/>", 1000) + repeated("<a></a>", 40) + "</P>"));
}

TEST(XmlGuardTest, BoundsTheSizeTheDistinctNamesAndTheReferencesSoThatAnyTextParsesQuickly)
{
    const auto attributes = [](int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += " b" + std::to_string(i) + "=\"1\"";
        return text;
    };
    const auto children = [](int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += "<a" + std::to_string(i) + "/>";
        return text;
    };
    // The root's name and 999 others.
    EXPECT_TRUE(safe("<P" + attributes(999) + "/>"));
    EXPECT_FALSE(safe("<P" + attributes(1000) + "/>"));
    EXPECT_TRUE(safe("<P>" + children(999) + "</P>"));
    EXPECT_FALSE(safe("<P>" + children(1000) + "</P>"));
    EXPECT_FALSE(safe("<P" + attributes(500) + ">" + children(500) + "</P>"));
    EXPECT_FALSE(safe("<P><x \"" + children(1000) + "</P>")) << "a stray quote hides no name";

    // Names used again cost the parser nothing new; nothing inside a quoted value is a name.
    EXPECT_TRUE(safe("<P>" + repeated("<V a=\"1\" b=\"2\"/>", 3000) + "</P>"));
    EXPECT_TRUE(safe("<P a=\"" + repeated("<b c=", 2000) + "\" d='" + repeated("= <e f=", 2000) + "'/>"));

    // References the parser must search far for the end of.
    EXPECT_TRUE(safe("<P a=\"" + repeated("&amp;", 8000) + "\">" + repeated("&lt;", 4000) + "</P>"));
    EXPECT_FALSE(safe("<P>" + repeated("a&", 1100) + "</P>"));
    EXPECT_FALSE(safe("<P>" + repeated("a&", 1100) + ";</P>"));

    const auto ofSize = [](size_t size)
    {
        const std::string open = "<P a=\"", close = "\"/>";
        return open + std::string(size - open.size() - close.size(), 'x') + close;
    };
    EXPECT_TRUE(safe(ofSize(64 * 1024)));
    EXPECT_FALSE(safe(ofSize(64 * 1024 + 1)));
    EXPECT_TRUE(safe(ofSize(64 * 1024) + std::string(1, '\0') + std::string(100000, 'x')));
}

TEST(XmlGuardTest, ParsesOnlyTheTextBeforeAZeroByte)
{
    const std::string bytes("<P a=\"1\"/>\0<Q/>", 15);
    const auto xml = torvaLib::parseCompleteXml(bytes.data(), bytes.size());
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(xml->getTagName(), "P");

    EXPECT_EQ(torvaLib::parseCompleteXml(nullptr, 0), nullptr);
    EXPECT_EQ(torvaLib::parseCompleteXml("<P a=\"1\"", 8), nullptr) << "cut off inside its tag";
}
