#include "torva/torva_juce_xml.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace torvaLib
{

namespace
{
/** Each element nested in another costs the parser a call level of a few hundred bytes of stack, and presets
    are parsed on the audio thread, whose stack may be small. Our own documents end at most three tags with
    '>' (see countNestableTagEnds). */
constexpr int maxNestedElements = 100;

/** The framework's file parser first reads this many bytes alone to match the root tag, then the whole
    file (juce::XmlDocument::getDocumentElementIfTagMatches, used by juce::PropertiesFile). */
constexpr size_t firstBlockOfFileParse = 8192;

size_t lengthUpToNull(const char* text, size_t numBytes)
{
    const auto* end = static_cast<const char*>(std::memchr(text, 0, numBytes));
    return end == nullptr ? numBytes : (size_t)(end - text);
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xc0) == 0x80;
}

/** Strict UTF-8: the shortest form of each code point, no surrogates, nothing above U+10FFFF. The
    framework's character pointer trusts a lead byte's count and steps over whatever follows it. */
bool isValidUtf8(const unsigned char* text, size_t length)
{
    size_t i = 0;
    while (i < length)
    {
        const auto lead = text[i];
        if (lead < 0x80)
        {
            ++i;
            continue;
        }

        size_t numContinuations = 0;
        unsigned char secondMin = 0x80, secondMax = 0xbf;
        if (lead >= 0xc2 && lead <= 0xdf)
            numContinuations = 1;
        else if (lead >= 0xe0 && lead <= 0xef)
        {
            numContinuations = 2;
            if (lead == 0xe0)
                secondMin = 0xa0; // shorter forms are overlong
            else if (lead == 0xed)
                secondMax = 0x9f; // U+D800 and above are surrogates
        }
        else if (lead >= 0xf0 && lead <= 0xf4)
        {
            numContinuations = 3;
            if (lead == 0xf0)
                secondMin = 0x90;
            else if (lead == 0xf4)
                secondMax = 0x8f; // beyond U+10FFFF
        }
        else
            return false; // a continuation byte without a lead, an overlong two-byte lead, or no lead at all

        if (length - i <= numContinuations || text[i + 1] < secondMin || text[i + 1] > secondMax)
            return false;
        for (size_t k = 2; k <= numContinuations; ++k)
            if (!isContinuation(text[i + k]))
                return false;
        i += numContinuations + 1;
    }
    return true;
}

/** "&#x" and up to eight hexadecimal digits at the very end: the parser steps over the character that ends
    the digits, which is then the text's terminating zero. */
bool endsInsideHexReference(const char* text, size_t length)
{
    size_t digits = 0;
    while (digits < length && digits <= 8 &&
           juce::CharacterFunctions::getHexDigitValue(
               (juce::juce_wchar)(unsigned char)text[length - 1 - digits]) >= 0)
        ++digits;
    if (digits > 8 || length - digits < 3)
        return false;
    const auto* reference = text + length - digits - 3;
    return reference[0] == '&' && reference[1] == '#' && (reference[2] == 'x' || reference[2] == 'X');
}

bool contains(const char* begin, const char* end, const char* what)
{
    const auto whatLength = std::strlen(what);
    return std::search(begin, end, what, what + whatLength) != end;
}

/** Where the text may hold its one processing instruction: past a byte-order mark and white space, an XML
    declaration, as every file this system writes begins. Returns the first byte after it. */
const char* afterDeclaration(const char* begin, const char* end)
{
    auto* p = begin;
    if (end - p >= 3 && juce::CharPointer_UTF8::isByteOrderMark(p))
        p += 3;
    while (p != end && juce::CharacterFunctions::isWhitespace(*p))
        ++p;

    constexpr const char declaration[] = "<?xml";
    if (end - p < 5 || !std::equal(declaration, declaration + 5, p))
        return begin;

    constexpr const char close[] = "?>";
    const auto* closing = std::search(p + 5, end, close, close + 2);
    return closing == end ? end : closing + 2;
}

/** A file whose text could pass: at most the bound, and a byte-order mark before it. */
bool mayHoldSafeText(const juce::File& file)
{
    return file.getSize() <= (juce::int64)(maxSafeXmlBytes + 3);
}

bool isNameCharacter(char c)
{
    return !juce::CharacterFunctions::isWhitespace(c) && c != '=' && c != '/' && c != '>' && c != '<' &&
           c != '"' && c != '\'';
}

/** Visits the name of every element start tag and every attribute, as the parser would pool them. Every
    attribute the parser reads has its '=', and every element its '<' before a name; nothing inside a
    quoted value counts, so no preset name can make a sound file look crowded. An '=' inside a comment or a
    declaration counts too, which only errs on the safe side. */
template <typename Visit> void forEachName(const char* begin, const char* end, Visit visit)
{
    bool inTag = false;
    char quote = 0;
    for (auto* p = begin; p != end; ++p)
    {
        const char c = *p;
        if (quote != 0)
        {
            if (c == quote)
                quote = 0;
        }
        else if (inTag)
        {
            if (c == '"' || c == '\'')
                quote = c;
            else if (c == '=')
            {
                auto* nameEnd = p;
                while (nameEnd != begin && juce::CharacterFunctions::isWhitespace(nameEnd[-1]))
                    --nameEnd;
                auto* nameStart = nameEnd;
                while (nameStart != begin && isNameCharacter(nameStart[-1]))
                    --nameStart;
                visit(std::string_view(nameStart, (size_t)(nameEnd - nameStart)));
            }
            else if (c == '>')
                inTag = false;
        }
        else if (c == '<')
        {
            inTag = true;
            auto* nameEnd = p + 1;
            if (nameEnd != end && (*nameEnd == '/' || *nameEnd == '!' || *nameEnd == '?'))
                continue;
            while (nameEnd != end && isNameCharacter(*nameEnd))
                ++nameEnd;
            visit(std::string_view(p + 1, (size_t)(nameEnd - p - 1)));
        }
    }
}

/** Whether the parser's pool of names stays small. Most texts hold few names in all and are passed without
    gathering them; the names are told apart only in a text that holds more. */
bool poolsFewNames(const char* begin, const char* end)
{
    size_t count = 0;
    forEachName(begin, end, [&](std::string_view) { ++count; });
    if (count <= (size_t)maxSafeXmlNames)
        return true;

    std::vector<std::string_view> names;
    names.reserve(count);
    forEachName(begin, end, [&](std::string_view name) { names.push_back(name); });
    std::sort(names.begin(), names.end());
    return std::unique(names.begin(), names.end()) - names.begin() <= maxSafeXmlNames;
}

/** An element the parser descends into ends its start tag with '>' rather than "/>", so the count of such
    characters bounds how deep it can go, however the rest of the text reads. */
int countNestableTagEnds(const char* begin, const char* end)
{
    int count = 0;
    for (auto* p = begin; p != end; ++p)
        if (*p == '>' && (p == begin || p[-1] != '/'))
            ++count;
    return count;
}
} // namespace

bool isSafeXmlText(const void* bytes, size_t numBytes)
{
    if (bytes == nullptr || numBytes == 0)
        return true;

    // Looking for the end no further than the bound lets a huge block be refused at once.
    const auto* text = static_cast<const char*>(bytes);
    const auto length = lengthUpToNull(text, juce::jmin(numBytes, maxSafeXmlBytes + 1));
    if (length > maxSafeXmlBytes)
        return false;
    const auto* end = text + length;

    return isValidUtf8(reinterpret_cast<const unsigned char*>(text), length) &&
           !endsInsideHexReference(text, length) && !contains(afterDeclaration(text, end), end, "<?") &&
           !contains(text, end, "<!DOCTYPE") && countNestableTagEnds(text, end) <= maxNestedElements &&
           poolsFewNames(text, end);
}

bool isSafeXmlFile(const juce::File& file)
{
    if (file.existsAsFile() && !mayHoldSafeText(file))
        return false;

    juce::MemoryBlock bytes;
    if (!file.existsAsFile() || !file.loadFileAsData(bytes))
        return true;

    return isSafeXmlText(bytes.getData(), bytes.getSize()) &&
           isSafeXmlText(bytes.getData(), juce::jmin(bytes.getSize(), firstBlockOfFileParse));
}

std::unique_ptr<juce::XmlElement> parseCompleteXml(const void* bytes, size_t numBytes)
{
    if (bytes == nullptr || numBytes > (size_t)std::numeric_limits<int>::max() ||
        !isSafeXmlText(bytes, numBytes))
        return nullptr;

    const auto* raw = static_cast<const char*>(bytes);
    const auto text = juce::String::fromUTF8(raw, (int)lengthUpToNull(raw, numBytes));
    if (!text.trimEnd().endsWithChar('>'))
        return nullptr;
    return juce::XmlDocument(text).getDocumentElement();
}

std::unique_ptr<juce::XmlElement> parseCompleteXmlFile(const juce::File& file)
{
    juce::MemoryBlock bytes;
    if (!mayHoldSafeText(file) || !file.loadFileAsData(bytes))
        return nullptr;

    const auto* text = static_cast<const char*>(bytes.getData());
    auto numBytes = bytes.getSize();
    if (numBytes >= 3 && juce::CharPointer_UTF8::isByteOrderMark(text))
    {
        text += 3;
        numBytes -= 3;
    }
    return parseCompleteXml(text, numBytes);
}

double readStoredValue(const juce::String& text)
{
    auto characters = text.getCharPointer();
    return juce::CharacterFunctions::readDoubleValue(characters);
}

int readStoredBinding(const juce::String& text)
{
    const long value = std::strtol(text.toRawUTF8(), nullptr, 10);
    return (int)juce::jlimit<long>(std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), value);
}

} // namespace torvaLib
