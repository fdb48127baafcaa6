// A document site over a plain SheetGrid, and a scripted prompt: the sheet
// side and the user as the document layer sees them.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "document/DocumentSite.h"
#include "engine/Prompt.h"
#include "settings/SettingsStore.h"
#include "sheet/SheetGrid.h"

class CFakeSite : public CDocumentSite {
public:
    explicit CFakeSite(CSettingsStore& store) : m_Settings(store) { ResetSheet(); }

    SheetGrid& Sheet() override { return m_Sheet; }
    void ResetSheet() override
    {
        ++m_nResets;
        m_Sheet.SetRows(36);
        m_Sheet.Clear();
        m_Sheet.SetRow(1);
        m_Sheet.SetCol(1);
    }
    void RebuildReferences() override { ++m_nReferenceBuilds; }
    void RefreshItemList() override { ++m_nItemLists; }
    void ResetHistory() override { ++m_nHistoryResets; }
    void FitRowHeights(int first, int last) override
    {
        for (int row = first; row <= last; ++row) {
            int lines = 1;
            for (int col = 0; col < SHEET_COLS; ++col) {
                const std::string& text = m_Sheet.TextMatrix(row, col);
                int n = 1;
                for (char c : text)
                    n += c == '\n';
                if (n > lines)
                    lines = n;
            }
            m_Sheet.SetRowHeight(row, static_cast<int>(m_Sheet.CellFontSize() * lines * 23.75));
        }
    }
    std::uint32_t ErrorColour() override { return Colour("m_CountColor", "65535"); }
    std::uint32_t SummaryColour() override { return Colour("m_TotalColor", "16711935"); }
    void ShowWindowTitle(const std::string& text) override { m_strWindowTitle = text; }

    SheetGrid m_Sheet;
    int m_nResets = 0;
    int m_nReferenceBuilds = 0;
    int m_nItemLists = 0;
    int m_nHistoryResets = 0;
    std::string m_strWindowTitle;

private:
    std::uint32_t Colour(const char* name, const char* def)
    {
        return static_cast<std::uint32_t>(settingsvalue::ToLong(m_Settings.ReadWithDefault(name, def, true)));
    }
    CSettingsKey m_Settings;
};

// Answers questions and file dialogs from queues; an empty queue answers No
// and cancels dialogs. Records everything shown.
class CScriptPrompt : public CPrompt {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override
    {
        m_Messages.push_back(text);
        m_strLastCaption = caption;
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
    std::vector<std::string> m_Questions;
    std::vector<std::string> m_Proposed; // the names the dialogs started with
    std::vector<bool> m_Saves;
    std::string m_strLastCaption;
};
