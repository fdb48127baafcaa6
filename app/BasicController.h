// A controller that edits the sheet as plain text: cells take what is typed,
// the current cell follows the mouse, Enter and the arrow keys, rows can be
// inserted, deleted and cleared, and the settings dialogs take effect on the
// header row. It has no calculation, summary items, undo or files: it lets
// the window run and be tested on its own until the sheet's full
// controller takes its place.
#pragma once

#include "app/ViewController.h"
#include "sheet/SheetGrid.h"

class CPrompt;
class CSettingsKey;

class CBasicController : public CViewController {
public:
    CBasicController(const CSettingsKey& key, CPrompt& prompt);

    SheetGrid& Sheet() override { return m_Sheet; }

    // The setup of a new sheet: header template, 36 rows, alignments and
    // header texts from the settings.
    void ResetSheet();
    void SetScreenSize(int width, int height) override;

    void RunCommand(int nId) override;
    bool IsCommandEnabled(int nId) override;

    void ClickCell(int row, int col, bool bExtend) override;
    void DoubleClickCell(int row, int col) override;
    void ContextClickCell(int row, int col) override;
    void WheelStep(bool bTowardsUser) override;
    bool KeyDown(ESheetKey key, bool bShift, bool bCtrl) override;
    void TypeText(const std::string& text) override;

    bool EditorOpen() override { return m_bEditing; }
    std::string EditorText() override { return m_strEdit; }
    int EditorCaret() override { return m_nCaret; }
    int EditorAnchor() override { return m_nAnchor; }
    void SetEditorState(const std::string& text, int caret, int anchor) override;

    bool ConfirmBulkText(const std::string& text) override;
    void AfterSystemSettings() override { m_bModified = true; }
    void AfterEditSettings(bool bOk, const SEditSettingsData& data) override;
    std::string WindowTitle() override;
    void FirstDisplay() override { ResetSheet(); }

    bool Modified() const { return m_bModified; }
    std::uint32_t ErrorColour() const { return m_clrError; }
    std::uint32_t SummaryColour() const { return m_clrSummary; }

private:
    void OpenEditor(const std::string& typed);
    void Commit();
    void MoveTo(int row, int col);
    void SetHeaders();

    const CSettingsKey& m_Key;
    CPrompt& m_Prompt;
    SheetGrid m_Sheet;
    bool m_bEditing = false;
    std::string m_strEdit;
    int m_nCaret = 0;
    int m_nAnchor = 0;
    bool m_bModified = false;
    int m_nScreenWidth = 0;
    int m_nScreenHeight = 0;
    std::uint32_t m_clrError = 0;
    std::uint32_t m_clrSummary = 0;
};
