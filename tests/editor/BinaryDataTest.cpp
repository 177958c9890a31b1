// The embedded font and logos and their lookups by name.
#include "BinaryData.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace
{
struct Resource
{
    const char* identifier;
    const char* data;
    int size;
    const char* fileName;
};

const Resource resources[] = {
    {"RobotoRegular_ttf", BinaryData::RobotoRegular_ttf, BinaryData::RobotoRegular_ttfSize,
     "Roboto-Regular.ttf"},
    {"Quorvel_Logo_svg", BinaryData::Quorvel_Logo_svg, BinaryData::Quorvel_Logo_svgSize, "Quorvel_Logo.svg"},
    {"TW_Vector_svg", BinaryData::TW_Vector_svg, BinaryData::TW_Vector_svgSize, "TW_Vector.svg"},
};
} // namespace

TEST(BinaryData, ListsTheThreeResourcesInOrderEachFollowedByAZeroByte)
{
    for (int i = 0; i < 3; ++i)
    {
        const auto& resource = resources[i];
        EXPECT_STREQ(BinaryData::namedResourceList[i], resource.identifier);
        EXPECT_STREQ(BinaryData::originalFilenames[i], resource.fileName);

        int size = -1;
        EXPECT_EQ(BinaryData::getNamedResource(resource.identifier, size), resource.data);
        EXPECT_EQ(size, resource.size);
        EXPECT_GT(resource.size, 0);
        EXPECT_EQ(resource.data[resource.size], 0) << resource.identifier;
    }
}

TEST(BinaryData, UnknownNamesGiveNullAndSizeZero)
{
    for (const char* name : {static_cast<const char*>(nullptr), "", "Roboto-Regular.ttf", "robotoRegular_ttf",
                             "TW_Vector_SVG", "Quorvel_Logo_svg "})
    {
        int size = -1;
        EXPECT_EQ(BinaryData::getNamedResource(name, size), nullptr) << (name != nullptr ? name : "null");
        EXPECT_EQ(size, 0);
    }
}

TEST(BinaryData, OriginalFileNameRecognisesOnlyTheListsOwnPointers)
{
    EXPECT_STREQ(BinaryData::getNamedResourceOriginalFilename(BinaryData::namedResourceList[1]),
                 "Quorvel_Logo.svg");

    // A copy of the text, not a literal: the linker may merge equal literals into one pointer.
    const std::string copy = BinaryData::namedResourceList[1];
    EXPECT_EQ(BinaryData::getNamedResourceOriginalFilename(copy.c_str()), nullptr);
    EXPECT_EQ(BinaryData::getNamedResourceOriginalFilename(nullptr), nullptr);
}

TEST(BinaryData, TheFontIsRobotoRegularAndTheLogosAreDrawableSvg)
{
    const auto font = juce::Typeface::createSystemTypefaceFor(BinaryData::RobotoRegular_ttf,
                                                              (size_t)BinaryData::RobotoRegular_ttfSize);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->getName(), "Roboto");
    EXPECT_EQ(font->getStyle(), "Regular");

    for (const auto& [data, size, viewBox] :
         {std::tuple(BinaryData::Quorvel_Logo_svg, BinaryData::Quorvel_Logo_svgSize,
                     "viewBox=\"0 0 3000 3000\""),
          std::tuple(BinaryData::TW_Vector_svg, BinaryData::TW_Vector_svgSize,
                     "viewBox=\"0 0 426.437 72.787\"")})
    {
        EXPECT_TRUE(juce::String::fromUTF8(data, size).contains(viewBox));
        const auto drawable = juce::Drawable::createFromImageData(data, (size_t)size);
        ASSERT_NE(drawable, nullptr);
        EXPECT_FALSE(drawable->getDrawableBounds().isEmpty());
    }
}
