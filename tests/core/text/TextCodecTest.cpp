#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "core/text/TextCodec.h"

namespace {

// GBK text (std::string) and UTF-8 text meet only in the codec.
static_assert(!std::is_convertible_v<std::string, CUtf8Text>, "UTF-8 text is made on purpose");
static_assert(!std::is_convertible_v<const char*, CUtf8Text>, "UTF-8 text is made on purpose");
static_assert(!std::is_convertible_v<CUtf8Text, std::string>, "UTF-8 text is not GBK text");
static_assert(!std::is_convertible_v<CUtf8Text, const char*>, "UTF-8 text is not GBK text");

CUtf8Text U(const std::string& bytes) { return CUtf8Text(bytes); }

TEST(TextCodec, RoundTrips)
{
    struct SCase {
        std::string m_strUtf8;
        std::string m_strGbk;
        std::u16string m_strUtf16;
    } cases[] = {
        {"", "", u""},
        {"(12+45)*2.8", "(12+45)*2.8", u"(12+45)*2.8"},
        {"墙长度", "\xC7\xBD\xB3\xA4\xB6\xC8", u"墙长度"},
        {"[廬山]", "[\x8F\x5D\xC9\xBD]", u"[廬山]"},
        {"門窗", "\xE9\x54\xB4\xB0", u"門窗"},
        {"×＋－、（）。〔〕", "\xA1\xC1\xA3\xAB\xA3\xAD\xA1\xA2\xA3\xA8\xA3\xA9\xA1\xA3\xA1\xB2\xA1\xB3", u"×＋－、（）。〔〕"},
        {"a\tb\r\n", "a\tb\r\n", u"a\tb\r\n"},
        {std::string("1\0002", 3), std::string("1\0002", 3), std::u16string(u"1\0002", 3)},
    };
    for (const SCase& c : cases) {
        bool replaced = false;
        EXPECT_EQ(textcodec::Utf8ToGbk(U(c.m_strUtf8), &replaced), c.m_strGbk) << c.m_strUtf8;
        EXPECT_FALSE(replaced) << c.m_strUtf8;
        EXPECT_EQ(textcodec::GbkToUtf8(c.m_strGbk), U(c.m_strUtf8));
        EXPECT_TRUE(textcodec::GbkToUtf16(c.m_strGbk) == c.m_strUtf16) << c.m_strUtf8;
    }
}

TEST(TextCodec, WhatCannotBeHeldBecomesAQuestionMark)
{
    const struct {
        std::string m_strUtf8;
        std::string m_strGbk;
    } UTF8[] = {
        {"1\U0001F6002", "1?2"},   // an emoji
        {"a\377b", "a?b"},         // not UTF-8
        {"a\345\242", "a?"},       // cut short
        {"\345\2421\345", "?1?"},  // broken, then cut short
    };
    for (const auto& c : UTF8) {
        bool replaced = false;
        EXPECT_EQ(textcodec::Utf8ToGbk(U(c.m_strUtf8), &replaced), c.m_strGbk) << c.m_strGbk;
        EXPECT_TRUE(replaced) << c.m_strGbk;
    }
    EXPECT_EQ(textcodec::GbkToUtf8("a\377b"), U("a?b"));
    EXPECT_EQ(textcodec::GbkToUtf8("a\x81"), U("a?"));  // a lead byte at the end
    EXPECT_TRUE(textcodec::GbkToUtf16("a\x81") == u"a?");
    // A long text converts whole.
    std::string many;
    for (int i = 0; i < 10000; ++i)
        many += "墙";
    EXPECT_EQ(textcodec::GbkToUtf8(textcodec::Utf8ToGbk(U(many))), U(many));
}

}  // namespace
