// The one way the core talks to the user: message boxes, questions and file
// choices. The desktop program implements it with Qt dialogs; qtx and the
// tests implement it with scripted answers. All texts are GBK.
#pragma once

#include <string>

class CPrompt {
public:
    enum EAnswer { ANSWER_YES,
                   ANSWER_NO,
                   ANSWER_CANCEL };
    enum EButtons { BUTTONS_YESNO,
                    BUTTONS_YESNOCANCEL,
                    BUTTONS_OKCANCEL };

    virtual ~CPrompt() = default;

    // A modal message box with an OK button.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    // A modal question; OK counts as ANSWER_YES.
    virtual EAnswer AskQuestion(const std::string& text, const std::string& caption, EButtons buttons) = 0;
    // A file chooser; returns false when the user cancels. path holds the
    // proposed name on entry and the chosen one on return.
    virtual bool ChooseFile(bool bSave, const std::string& filter, std::string& path)
    {
        (void)bSave;
        (void)filter;
        (void)path;
        return false;
    }
    // A short text for the status bar.
    virtual void ShowStatus(const std::string& text) { (void)text; }
};

// A prompt that shows nothing and answers No: for code that runs without a
// user (benchmarks, fuzzing).
class CSilentPrompt : public CPrompt {
public:
    void ShowMessage(const std::string&, const std::string&) override {}
    EAnswer AskQuestion(const std::string&, const std::string&, EButtons) override { return ANSWER_NO; }
};
