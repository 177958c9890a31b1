// The embedded font and logos and their lookups by name.
#include "BinaryData.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <string>

TEST(BinaryData, ListsTheThreeResourcesInOrderEachFollowedByAZeroByte)
{
    const struct
    {
        const char *identifier, *data;
        int size;
        const char* fileName;
    } resources[] = {
        {"RobotoRegular_ttf", BinaryData::RobotoRegular_ttf, BinaryData::RobotoRegular_ttfSize,
         "Roboto-Regular.ttf"},
        {"Quorvel_Logo_svg", BinaryData::Quorvel_Logo_svg, BinaryData::Quorvel_Logo_svgSize,
         "Quorvel_Logo.svg"},
        {"TW_Vector_svg", BinaryData::TW_Vector_svg, BinaryData::TW_Vector_svgSize, "TW_Vector.svg"}};

    for (int i = 0; i < 3; ++i)
    {
        const auto& resource = resources[i];
        EXPECT_STREQ(BinaryData::namedResourceList[i], resource.identifier);
        EXPECT_STREQ(BinaryData::originalFilenames[i], resource.fileName);
        int size = -1;
        EXPECT_EQ(BinaryData::getNamedResource(resource.identifier, size), resource.data);
        EXPECT_EQ(size, resource.size);
        EXPECT_EQ(resource.data[resource.size], 0) << resource.identifier;
    }

    const auto font = juce::Typeface::createSystemTypefaceFor(BinaryData::RobotoRegular_ttf,
                                                              (size_t)BinaryData::RobotoRegular_ttfSize);
    EXPECT_EQ(font->getName() + " " + font->getStyle(), "Roboto Regular");
    EXPECT_NE(
        juce::Drawable::createFromImageData(BinaryData::Quorvel_Logo_svg, BinaryData::Quorvel_Logo_svgSize),
        nullptr);
    EXPECT_NE(juce::Drawable::createFromImageData(BinaryData::TW_Vector_svg, BinaryData::TW_Vector_svgSize),
              nullptr);
}

TEST(BinaryData, OtherNamesAndCopiesOfTheIdentifiersAreNotRecognised)
{
    // File names and case changes hash differently.
    for (const char* name :
         {(const char*)nullptr, "", "Roboto-Regular.ttf", "robotoRegular_ttf", "TW_Vector_SVG"})
    {
        int size = -1;
        EXPECT_EQ(BinaryData::getNamedResource(name, size), nullptr) << (name != nullptr ? name : "null");
        EXPECT_EQ(size, 0);
    }

    EXPECT_STREQ(BinaryData::getNamedResourceOriginalFilename(BinaryData::namedResourceList[1]),
                 "Quorvel_Logo.svg");
    // A copy of the text, not a literal: the linker may merge equal literals into one pointer.
    const std::string copy = BinaryData::namedResourceList[1];
    EXPECT_EQ(BinaryData::getNamedResourceOriginalFilename(copy.c_str()), nullptr);
}
