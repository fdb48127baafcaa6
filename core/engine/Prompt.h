// The one way the core talks to the user: message boxes, questions and file
// choices. The desktop program implements it with Qt dialogs; qtx and the
// tests implement it with scripted answers. All texts are GBK.
#pragma once

#include <cctype>
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
    // proposed name on entry and the chosen one on return, both as the file
    // system's own bytes (not GBK: a name may hold any character).
    virtual bool ChooseFile(bool bSave, const std::string& filter, std::string& path)
    {
        (void)bSave;
        (void)filter;
        (void)path;
        return false;
    }
    // A file chooser that offers several file types (filter as above:
    // "name|pattern|name|pattern||"); nType gets the index of the type the
    // user picked. Where a chooser cannot tell, the type is the first one
    // whose pattern ("*.ext") matches the chosen name, else type 0.
    virtual bool ChooseFileOfType(bool bSave, const std::string& filter, std::string& path, int& nType)
    {
        if (!ChooseFile(bSave, filter, path))
            return false;
        nType = TypeOfName(filter, path);
        return true;
    }
    static int TypeOfName(const std::string& filter, const std::string& path)
    {
        std::string name = path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        int type = 0;
        std::size_t pos = 0;
        for (int field = 0;; ++field) {
            const std::size_t bar = filter.find('|', pos);
            if (bar == std::string::npos || bar == pos)
                break;
            std::string pattern = filter.substr(pos, bar - pos);
            pos = bar + 1;
            if (field % 2 == 0)
                continue;
            for (char& c : pattern)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (pattern.size() > 1 && pattern[0] == '*' && name.size() >= pattern.size() - 1 && name.compare(name.size() - (pattern.size() - 1), std::string::npos, pattern, 1, std::string::npos) == 0)
                return type;
            ++type;
        }
        return 0;
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
