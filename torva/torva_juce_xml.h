#pragma once

#include <juce_core/juce_core.h>

namespace torvaLib
{

/** The most bytes, and the most distinct names of elements and attributes, a text may hold to pass
    isSafeXmlText. The parser keeps every distinct name in a sorted array, so its time grows with the square
    of their number: 400,000 names take seconds. These bounds keep any text that passes to a few
    milliseconds, far above what this system writes (a host state of 8.3 KB with 265 attributes, a preset
    of 133, a settings file of 133 elements of two attributes each). */
constexpr size_t maxSafeXmlBytes = 64 * 1024;
constexpr int maxSafeXmlNames = 1000;

/** Whether text may be handed to the framework's XML parser, judged on its raw bytes up to the first 0 byte
    before any juce::String is made of them. The parser trusts its input: on invalid UTF-8 or on a text
    that ends inside a hexadecimal character reference it reads past the end of the text, on a processing
    instruction inside an element it loops for ever, on a document type declaration it expands entities
    without end, it descends one call level per nested element, and its time grows with the square of the
    number of names and with the number of references that end far away or never. So the text must be strict
   UTF-8, end outside a "&#x" reference, hold no processing instruction but a leading XML declaration and no
   "<!DOCTYPE", nest no deeper than a small thread stack allows, keep within the bounds above, and end its
   references soon enough that the parser searches no more than 1 MiB for their ends in all. Everything this
   system writes passes. */
bool isSafeXmlText(const void* bytes, size_t numBytes);

/** Whether the framework's own file readers (juce::PropertiesFile) may parse this file: its whole text, and
    the first block those readers parse on its own to match the root tag, pass isSafeXmlText. A file too
    large to pass is refused from its size, unread. A file that cannot be read passes, since nothing of it
    reaches the parser. */
bool isSafeXmlFile(const juce::File& file);

/** Parses a whole XML document from raw bytes, or returns nothing. Bytes the guard above refuses never reach
    the parser. Unlike the framework's lenient parser it also refuses a document cut off inside its root
    tag, which would otherwise read as an element missing every attribute after the cut: a truncated state
    or preset must change nothing. */
std::unique_ptr<juce::XmlElement> parseCompleteXml(const void* bytes, size_t numBytes);

/** parseCompleteXml on a file's bytes, after a UTF-8 byte-order mark if there is one (as the framework's
    own file reading skips it); nothing when the file cannot be read or is too large to pass the guard,
    which is told from its size before anything of it is read. */
std::unique_ptr<juce::XmlElement> parseCompleteXmlFile(const juce::File& file);

/** A stored normalised value: the leading number of the text, read as the framework reads doubles; text
    without one reads as 0. */
double readStoredValue(const juce::String& text);

/** A stored MIDI binding: the leading decimal number of the text, as the C library reads it; text without
    one reads as 0. Out-of-range numbers saturate instead of overflowing. */
int readStoredBinding(const juce::String& text);

} // namespace torvaLib
