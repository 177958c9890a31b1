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

/** How many bytes the parser may search for the ends of references, all together: a millisecond or so. */
constexpr size_t maxXmlReferenceSearch = 1 << 20;

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

/** What the parser may skip as white space between an attribute's '=' and its quote: its test depends on
    the locale, so every control byte and every byte of a multi-byte character may be one. */
bool mayBeWhitespace(char c)
{
    const auto byte = (unsigned char)c;
    return byte <= 0x20 || byte >= 0x7f;
}

/** Bytes that can belong to a name as the parser reads one. The parser's own names are runs of fewer
    characters inside these, so two names that differ to it differ here too. */
bool mayBeInName(char c)
{
    return !juce::CharacterFunctions::isWhitespace(c) && c != '=' && c != '/' && c != '>' && c != '<' &&
           c != '"' && c != '\'' && c != '&' && c != ';';
}

/** Visits the name of every element start tag and every attribute the parser could read: each '<' that
    opens no closing tag, comment or declaration, and each '=' that a quote follows. Quotes are not
    tracked, since the parser goes on past a stray one: a name inside a quoted value may be counted, which
    only errs on the safe side, and no text can hide a name. */
template <typename Visit> void forEachName(const char* begin, const char* end, Visit visit)
{
    for (auto* p = begin; p != end; ++p)
    {
        if (*p == '<')
        {
            auto* nameEnd = p + 1;
            if (nameEnd != end && (*nameEnd == '/' || *nameEnd == '!' || *nameEnd == '?'))
                continue;
            while (nameEnd != end && mayBeInName(*nameEnd))
                ++nameEnd;
            visit(std::string_view(p + 1, (size_t)(nameEnd - p - 1)));
        }
        else if (*p == '=')
        {
            auto* value = p + 1;
            while (value != end && mayBeWhitespace(*value))
                ++value;
            if (value == end || (*value != '"' && *value != '\''))
                continue;

            auto* nameEnd = p;
            while (nameEnd != begin && juce::CharacterFunctions::isWhitespace(nameEnd[-1]))
                --nameEnd;
            auto* nameStart = nameEnd;
            while (nameStart != begin && mayBeInName(nameStart[-1]))
                --nameStart;
            visit(std::string_view(nameStart, (size_t)(nameEnd - nameStart)));
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

/** For each '&' the parser searches the rest of the text for the ';' that ends the reference, so many
    references without one cost it time that grows with the square of the text's length (32,000 of them in
    64 KB take a second). The distances it searches, added up, are bounded instead. */
bool referencesEndSoon(const char* begin, const char* end)
{
    size_t searched = 0;
    const char* nextSemicolon = end;
    for (auto* p = end; p != begin;)
    {
        --p;
        if (*p == ';')
            nextSemicolon = p;
        else if (*p == '&' && (searched += (size_t)(nextSemicolon - p)) > maxXmlReferenceSearch)
            return false;
    }
    return true;
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
           poolsFewNames(text, end) && referencesEndSoon(text, end);
}

bool isSafeXmlFile(const juce::File& file)
{
    if (!file.existsAsFile())
        return true;
    if (!mayHoldSafeText(file))
        return false;

    juce::MemoryBlock bytes;
    if (!file.loadFileAsData(bytes))
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

    // The parser keeps every name in the process's pool, which drops unused ones only every 30 s: files
    // read one after another (program changes through a folder) would otherwise each insert into a pool
    // grown by all the names before them.
    juce::StringPool::getGlobalPool().garbageCollect();
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
