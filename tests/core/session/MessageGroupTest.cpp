#include <gtest/gtest.h>

#include "core/session/MessageGroup.h"
#include "tests/TestPrompt.h"

TEST(MessageGroup, ShowsEachDistinctMessageOncePerActionBeforeQuestionsAndAtTheEnd)
{
    CTestPrompt target;
    CMessageGroup group(target);
    group.ShowMessage("a", "w");  // outside an action: at once
    ASSERT_EQ(target.m_Messages.size(), 1u);
    {
        CMessageGroup::CAction outer(group);
        {
            CMessageGroup::CAction inner(group);
            group.ShowMessage("b", "w");
            group.ShowMessage("c", "w");
            group.ShowMessage("b", "w");
        }
        group.ShowMessage("b", "other caption");
        EXPECT_EQ(target.m_Messages.size(), 1u);  // the inner end shows nothing
        group.AskQuestion("q", "w", CPrompt::BUTTONS_YESNO);
        EXPECT_EQ(target.m_Messages.size(), 4u);  // what came before the question first
        group.ShowMessage("b", "w");
    }
    const std::vector<std::string> expected = {"a", CMessageGroup::CountedText("b", 2), "c", "b", "b"};
    EXPECT_EQ(target.m_Messages, expected);
    EXPECT_EQ(target.m_Captions[3], "other caption");
    EXPECT_EQ(CMessageGroup::CountedText("b", 3), "b\n\xA3\xA8\xB9\xB2"
                                                  "3\xB4\xCE\xA3\xA9");  // b（共3次）
}
