#include <gtest/gtest.h>

#include "GbkSamples.h"
#include "core/engine/GbkText.h"

namespace {

TEST(GbkText, CharacterBoundaries)
{
    const std::string s = "a" + sample::LUSHAN + "]";
    EXPECT_EQ(gbk::CharLength(s, 0), 1u);
    EXPECT_EQ(gbk::CharLength(s, 1), 2u);
    EXPECT_EQ(gbk::CharLength(s, 3), 2u);
    EXPECT_TRUE(gbk::IsCharStart(s, 3));
    EXPECT_FALSE(gbk::IsCharStart(s, 2));  // the "]" inside 廬
    EXPECT_EQ(gbk::CharCount(s), 4u);
    // A lead byte without a trail byte (end of text, or a control byte or
    // 0x7F after it) is a character on its own.
    EXPECT_EQ(gbk::CharLength(std::string("\x81"), 0), 1u);
    EXPECT_EQ(gbk::CharLength(std::string("\x81\x7F"), 0), 1u);
    EXPECT_EQ(gbk::CharLength(std::string("\x81 "), 0), 1u);
    EXPECT_EQ(gbk::CharLength(std::string("\xFF\x40"), 0), 1u);
}

TEST(GbkText, FindNeverMatchesInsideACharacter)
{
    const std::string s = sample::LUSHAN + "]x";
    EXPECT_EQ(gbk::FindChars(s, "]"), 4u);
    EXPECT_EQ(gbk::FindChars(sample::TRAIL_CARET + "^", "^"), 2u);
    EXPECT_EQ(gbk::FindChars(sample::LUSHAN, "]"), std::string::npos);
    // "\x5D\xC9" straddles two characters and is no match.
    EXPECT_EQ(gbk::FindChars(sample::LUSHAN, "\x5D\xC9"), std::string::npos);
    EXPECT_EQ(gbk::FindChars("ab", ""), 0u);
}

TEST(GbkText, ClipNeverSplits)
{
    const std::string s = "a" + sample::WALL;  // 1 + 6 bytes
    EXPECT_EQ(gbk::ClipLength(s, 2), 1u);
    EXPECT_EQ(gbk::ClipLength(s, 3), 3u);
    EXPECT_EQ(gbk::ClipLength(s, 6), 5u);
    EXPECT_EQ(gbk::ClipLength(s, 100), 7u);
}

TEST(GbkText, LowerCaseLeavesTrailBytes)
{
    std::string s = "SIN" + sample::MENCHUANG + "X";
    gbk::LowerAsciiInPlace(s);
    EXPECT_EQ(s, "sin" + sample::MENCHUANG + "x");
}

}  // namespace
