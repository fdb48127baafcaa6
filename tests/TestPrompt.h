// The user as the tests script it: questions and file dialogs are answered
// from queues (an empty queue answers No and cancels the dialog), and
// everything shown is recorded.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/engine/Prompt.h"

class CTestPrompt : public CPrompt {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override
    {
        m_Messages.push_back(text);
        m_Captions.push_back(caption);
    }
    EAnswer AskQuestion(const std::string& text, const std::string&, EButtons) override
    {
        m_Questions.push_back(text);
        if (m_Answers.empty())
            return ANSWER_NO;
        const EAnswer answer = m_Answers.front();
        m_Answers.pop_front();
        return answer;
    }
    bool ChooseFile(bool bSave, const std::string&, std::string& path) override
    {
        m_Proposed.push_back(path);
        m_Saves.push_back(bSave);
        if (m_Files.empty())
            return false;
        path = m_Files.front();
        m_Files.pop_front();
        return true;
    }

    std::deque<EAnswer> m_Answers;
    std::deque<std::string> m_Files;
    std::vector<std::string> m_Messages;
    std::vector<std::string> m_Captions;
    std::vector<std::string> m_Questions;
    std::vector<std::string> m_Proposed;  // the names the dialogs started with
    std::vector<bool> m_Saves;
};
