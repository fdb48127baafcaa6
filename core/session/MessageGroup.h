// One user action (a click, a key, a command) may raise the same message
// box many times: a division by zero met by every row a recalculation or a
// propagation touches, a warning per row of a bulk edit. The group sits
// between the sheet and the real prompt: while an action runs it keeps the
// messages, and when the outermost action ends it shows each distinct
// message once, in the order they first came, saying how often it came
// when that was more than once. Questions and file choices go straight
// through; the messages kept so far are shown before them, so that the
// user reads them in the order things happened.
#pragma once

#include <string>
#include <vector>

#include "core/engine/Prompt.h"

class CSettingsStore;

class CMessageGroup : public CPrompt {
public:
    explicit CMessageGroup(CPrompt& target) : m_Target(target) {}

    void ShowMessage(const std::string& text, const std::string& caption) override;
    EAnswer AskQuestion(const std::string& text, const std::string& caption, EButtons buttons) override;
    bool ChooseFile(bool bSave, const std::string& filter, std::string& path) override;
    bool ChooseFileOfType(bool bSave, const std::string& filter, std::string& path, int& nType) override;
    void ShowStatus(const std::string& text) override { m_Target.ShowStatus(text); }

    // Brackets one user action; actions may nest, only the outermost end
    // shows the messages. The settings the action writes reach the store as
    // one update when it ends (before its messages are shown).
    void BeginAction();
    void EndAction();
    void SetSettingsStore(CSettingsStore* pStore) { m_pStore = pStore; }
    // Shows the messages kept so far.
    void Flush();

    // The text shown for a message that came count times.
    static std::string CountedText(const std::string& text, int count);

    class CAction {
    public:
        explicit CAction(CMessageGroup& group) : m_Group(group) { m_Group.BeginAction(); }
        ~CAction() { m_Group.EndAction(); }
        CAction(const CAction&) = delete;
        CAction& operator=(const CAction&) = delete;

    private:
        CMessageGroup& m_Group;
    };

private:
    struct SMessage {
        std::string m_strText;
        std::string m_strCaption;
        int m_nCount;
    };

    CPrompt& m_Target;
    CSettingsStore* m_pStore = nullptr;
    std::vector<SMessage> m_Kept;
    int m_nDepth = 0;
};
