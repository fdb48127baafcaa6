#include <gtest/gtest.h>

#include <string>

#include "core/text/TextCodec.h"

namespace {

TEST(TextCodec, RoundTrips)
{
    struct SCase {
        std::string m_strUtf8;
        std::string m_strGbk;
    } cases[] = {
        {"", ""},
        {"(12+45)*2.8", "(12+45)*2.8"},
        {"墙长度", "\xC7\xBD\xB3\xA4\xB6\xC8"},
        {"[廬山]", "[\x8F\x5D\xC9\xBD]"},
        {"門窗", "\xE9\x54\xB4\xB0"},
        {"×＋－、（）。〔〕", "\xA1\xC1\xA3\xAB\xA3\xAD\xA1\xA2\xA3\xA8\xA3\xA9\xA1\xA3\xA1\xB2\xA1\xB3"},
        {"a\tb\r\n", "a\tb\r\n"},
        {std::string("1\0"
                     "2",
                     3),
         std::string("1\0"
                     "2",
                     3)},
    };
    for (const SCase& c : cases) {
        bool replaced = false;
        EXPECT_EQ(textcodec::Utf8ToGbk(c.m_strUtf8, &replaced), c.m_strGbk) << c.m_strUtf8;
        EXPECT_FALSE(replaced) << c.m_strUtf8;
        EXPECT_EQ(textcodec::GbkToUtf8(c.m_strGbk), c.m_strUtf8) << c.m_strUtf8;
    }
}

TEST(TextCodec, WhatCannotBeHeldBecomesAQuestionMark)
{
    bool replaced = false;
    EXPECT_EQ(textcodec::Utf8ToGbk("1\xF0\x9F\x98\x80"
                                   "2",
                                   &replaced),
              "1?2");  // an emoji
    EXPECT_TRUE(replaced);
    replaced = false;
    EXPECT_EQ(textcodec::Utf8ToGbk("a\xFF"
                                   "b",
                                   &replaced),
              "a?b");  // not UTF-8
    EXPECT_TRUE(replaced);
    EXPECT_EQ(textcodec::Utf8ToGbk("a\xE5\xA2", nullptr), "a?");  // cut short
    EXPECT_EQ(textcodec::Utf8ToGbk("\xE5\xA2"
                                   "1\xE5",
                                   nullptr),
              "?1?");  // broken, then cut short
    EXPECT_EQ(textcodec::GbkToUtf8("a\xFF"
                                   "b"),
              "a?b");
    EXPECT_EQ(textcodec::GbkToUtf8("a\x81"), "a?");  // a lead byte at the end
    // A long text converts whole.
    std::string many;
    for (int i = 0; i < 10000; ++i)
        many += "墙";
    EXPECT_EQ(textcodec::GbkToUtf8(textcodec::Utf8ToGbk(many)), many);
}

}  // namespace
