// The prompt of a scripted session: message boxes are printed, questions are
// answered from a queue the script fills, file choices come from the script.
#pragma once

#include <deque>
#include <ostream>
#include <string>

#include "core/engine/Prompt.h"

namespace qtx {

class CScriptPrompt : public CPrompt {
public:
    explicit CScriptPrompt(std::ostream& out) : m_Out(out) {}

    void ShowMessage(const std::string& text, const std::string& caption) override;
    EAnswer AskQuestion(const std::string& text, const std::string& caption, EButtons buttons) override;
    bool ChooseFile(bool bSave, const std::string& filter, std::string& path) override;
    void ShowStatus(const std::string& text) override;

    void QueueAnswer(bool bYes) { m_Answers.push_back(bYes); }
    // The path the next save dialog returns (empty: the dialog is cancelled).
    void SetNextFile(const std::string& path) { m_strNextFile = path; }

    // Set when a question found no queued answer; the session stops then.
    bool Unanswered() const { return m_bUnanswered; }
    const std::string& UnansweredText() const { return m_strUnanswered; }
    // The text of the last message box, which explains a failure; fallback
    // when none was shown.
    std::string LastMessage(const std::string& fallback) const { return m_strLastMessage.empty() ? fallback : m_strLastMessage; }

private:
    std::ostream& m_Out;
    std::deque<bool> m_Answers;
    std::string m_strNextFile;
    bool m_bUnanswered = false;
    std::string m_strUnanswered;
    std::string m_strLastMessage;
};

}  // namespace qtx
