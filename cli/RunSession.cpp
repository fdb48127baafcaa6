#include "cli/RunSession.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "cli/QtxCommon.h"
#include "cli/QtxPdf.h"
#include "core/engine/GbkText.h"
#include "core/print/PrintTexts.h"
#include "core/session/SheetSession.h"
#include "core/settings/IniSettingsStore.h"
#include "core/settings/SettingsDialogData.h"
#include "core/settings/SettingsNames.h"
#include "core/text/TextCodec.h"
#include "ui/print/PdfPrint.h"

namespace qtx {

namespace {

// Whole numbers of a script line; false when a field is not one.
bool ParseInts(const std::string& text, std::vector<int>& values, std::size_t count)
{
    std::istringstream in(text);
    values.clear();
    for (std::size_t i = 0; i < count; ++i) {
        long v = 0;
        if (!(in >> v))
            return false;
        values.push_back(static_cast<int>(v));
    }
    std::string extra;
    return !(in >> extra);
}

// The first count whole numbers and the rest of the line after one space.
bool ParseIntsAndText(const std::string& text, std::vector<int>& values, std::size_t count, std::string& rest)
{
    std::size_t pos = 0;
    values.clear();
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t end = text.find(' ', pos);
        std::string field = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (field.empty())
            return false;
        char* stop = nullptr;
        long v = std::strtol(field.c_str(), &stop, 10);
        if (*stop)
            return false;
        values.push_back(static_cast<int>(v));
        pos = end == std::string::npos ? text.size() : end + 1;
    }
    rest = text.substr(std::min(pos, text.size()));
    return true;
}

const struct {
    const char* m_szName;
    int m_nCommand;
} MENU_COMMANDS[] = {
    {"new", cmdid::FILE_NEW},
    {"insert-rows", cmdid::INSERT_ROWS},
    {"delete-rows", cmdid::DELETE_ROWS},
    {"summary", cmdid::TOGGLE_SUMMARY},
    {"copy", cmdid::EDIT_COPY},
    {"cut", cmdid::EDIT_CUT},
    {"paste", cmdid::EDIT_PASTE},
    {"clear", cmdid::EDIT_CLEAR},
    {"undo", cmdid::EDIT_UNDO},
    {"redo", cmdid::EDIT_REDO},
    {"toggle-minus", cmdid::TOGGLE_MINUS},
    {"example", cmdid::INSERT_EXAMPLE},
    {"save", cmdid::FILE_SAVE},
};

// "NAME=TEXT NAME=TEXT ...": the fields a settings dialog was confirmed
// with. False when a field has no "=".
bool ParseFields(const std::string& text, std::vector<std::pair<std::string, std::string>>& fields)
{
    std::istringstream in(text);
    std::string field;
    fields.clear();
    while (in >> field) {
        const std::size_t eq = field.find('=');
        if (eq == std::string::npos || eq == 0)
            return false;
        fields.emplace_back(field.substr(0, eq), field.substr(eq + 1));
    }
    return true;
}

bool NoArgument(const std::string& command, const std::string& rest, std::string& error)
{
    if (rest.empty())
        return true;
    error = command + " takes no argument";
    return false;
}

bool ParseColour(const std::string& text, std::uint32_t& colour)
{
    if (text.empty() || text.size() > 8 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long value = std::stoul(text);
    if (value > 0xFFFFFFul)
        return false;
    colour = static_cast<std::uint32_t>(value);
    return true;
}

bool IsOn(const std::string& text)
{
    return text == "1" || text == settingstext::AUTO_SAVE_ON;
}

// Whether the system settings dialog can be confirmed with the value: its
// radio groups and check boxes offer only their own states.
bool DialogOffers(const std::string& name, const std::string& value)
{
    if (name == settingsname::SHOW_STYLE)
        return ShowStyleIndex(value) >= 0;
    if (name == settingsname::ENTER_TO_WORD)
        return EnterDirIndex(value) >= 0;
    if (name == settingsname::PRINT_TIME)
        return PrintDateIndex(value) >= 0;
    if (SSystemSettingsData().FlagField(name))
        return value.empty() || value == "0" || IsOn(value);
    return true;
}

}  // namespace

CRunSession::CRunSession(std::ostream& out) : m_Out(out), m_Prompt(out)
{
    m_pStore = std::make_unique<CIniSettingsStore>();
    m_pSheet = std::make_unique<CSheetSession>(m_State, *m_pStore, m_Prompt, m_Clipboard);
    m_pSheet->Start();
}

CRunSession::~CRunSession() = default;

std::string CRunSession::Text(const std::string& rest)
{
    bool replaced = false;
    std::string text = ScriptText(rest, &replaced);
    if (replaced)
        std::cerr << "warning: characters that GBK cannot hold were replaced by \"?\"\n";
    return text;
}

bool CRunSession::Execute(const std::string& line, std::string& error)
{
    const std::size_t space = line.find(' ');
    const std::string command = line.substr(0, space);
    const std::string rest = space == std::string::npos ? std::string() : line.substr(space + 1);

    const auto start = std::chrono::steady_clock::now();
    {
        // One script line is one action of the user: each message it
        // raises is printed once, as the window would show it.
        CSheetSession::CUserAction action(m_pSheet->Messages());
        if (!Dispatch(command, rest, error))
            return false;
    }
    if (m_Prompt.Unanswered()) {
        error = "question without an answer: " + PrintableText(m_Prompt.UnansweredText());
        return false;
    }
    if (m_bTiming && command != "timing") {
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        char buf[64];
        std::snprintf(buf, sizeof buf, "time: %.3f", ms);
        m_Out << buf << "\n";
    }
    return true;
}

// The script's commands besides the menu commands, each with its handler.
const CRunSession::SCommand CRunSession::COMMANDS[] = {
    {"set", &CRunSession::SetValue},
    {"get", &CRunSession::GetValue},
    {"answer", &CRunSession::Answer},
    {"timing", &CRunSession::Timing},
    {"click", &CRunSession::ClickCell},
    {"select", &CRunSession::SelectRange},
    {"type", &CRunSession::TypeText},
    {"chars", &CRunSession::TypeChars},
    {"edit", &CRunSession::EditCell},
    {"key", &CRunSession::PressKey},
    {"open", &CRunSession::OpenOrSaveAs},
    {"saveas", &CRunSession::OpenOrSaveAs},
    {"xls", &CRunSession::ExportExcel},
    {"xls-summary", &CRunSession::ExportExcel},
    {"more-decimals", &CRunSession::Decimals},
    {"fewer-decimals", &CRunSession::Decimals},
    {"align", &CRunSession::Align},
    {"append", &CRunSession::AppendText},
    {"remove", &CRunSession::RemoveText},
    {"item", &CRunSession::ChooseItem},
    {"clipboard", &CRunSession::SetClipboard},
    {"print-mode", &CRunSession::PrintMode},
    {"pdf", &CRunSession::PrintPdf},
    {"syssettings", &CRunSession::SystemSettings},
    {"editsettings", &CRunSession::EditSettings},
    {"cell", &CRunSession::ShowCell},
    {"attr", &CRunSession::ShowCell},
    {"height", &CRunSession::ShowHeight},
    {"dump", &CRunSession::Dump},
    {"editor?", &CRunSession::ShowEditor},
    {"items", &CRunSession::ShowItems},
    {"state", &CRunSession::ShowState},
    {"clipboard?", &CRunSession::ShowClipboard},
};

bool CRunSession::Dispatch(const std::string& command, const std::string& rest, std::string& error)
{
    for (const auto& c : MENU_COMMANDS) {
        if (command == c.m_szName) {
            if (!rest.empty()) {
                error = command + " takes no argument";
                return false;
            }
            m_pSheet->RunCommand(c.m_nCommand);
            return true;
        }
    }
    for (const SCommand& c : COMMANDS)
        if (command == c.m_szName)
            return (this->*c.m_pRun)(command, rest, error);
    error = "unknown command '" + command + "'";
    return false;
}

// --- the script itself ----------------------------------------------------------

bool CRunSession::SetValue(const std::string&, const std::string& rest, std::string& error)
{
    const std::size_t space = rest.find(' ');
    const std::string name = rest.substr(0, space);
    if (name.empty()) {
        error = "set needs a NAME";
        return false;
    }
    CSettingsKey key(*m_pStore);
    key.WriteValue(name, Text(space == std::string::npos ? std::string() : rest.substr(space + 1)));
    return true;
}

bool CRunSession::GetValue(const std::string&, const std::string& rest, std::string& error)
{
    if (rest.empty() || rest.find(' ') != std::string::npos) {
        error = "get needs one NAME";
        return false;
    }
    CSettingsKey key(*m_pStore);
    m_Out << PrintableText(key.ReadString(rest)) << "\n";
    return true;
}

bool CRunSession::Answer(const std::string&, const std::string& rest, std::string& error)
{
    if (rest != "yes" && rest != "no") {
        error = "answer takes yes or no";
        return false;
    }
    m_Prompt.QueueAnswer(rest == "yes");
    return true;
}

bool CRunSession::Timing(const std::string&, const std::string& rest, std::string& error)
{
    if (rest != "on" && rest != "off") {
        error = "timing takes on or off";
        return false;
    }
    m_bTiming = rest == "on";
    return true;
}

// --- what the user does with mouse and keyboard ---------------------------------

bool CRunSession::ClickCell(const std::string&, const std::string& rest, std::string& error)
{
    std::vector<int> n;
    if (!ParseInts(rest, n, 2)) {
        error = "click takes R C";
        return false;
    }
    m_pSheet->Click(n[0], n[1]);
    return true;
}

bool CRunSession::SelectRange(const std::string&, const std::string& rest, std::string& error)
{
    std::vector<int> n;
    if (!ParseInts(rest, n, 4)) {
        error = "select takes R C R2 C2";
        return false;
    }
    m_pSheet->Click(n[0], n[1]);
    m_pSheet->ShiftClick(n[2], n[3]);
    return true;
}

bool CRunSession::TypeText(const std::string&, const std::string& rest, std::string&)
{
    m_pSheet->TypeText(Text(rest));
    return true;
}

bool CRunSession::TypeChars(const std::string&, const std::string& rest, std::string&)
{
    const std::string text = Text(rest);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = gbk::CharLength(text, i);
        m_pSheet->TypeChar(text.substr(i, len));
        i += len;
    }
    return true;
}

bool CRunSession::EditCell(const std::string&, const std::string& rest, std::string& error)
{
    std::vector<int> n;
    std::string text;
    if (!ParseIntsAndText(rest, n, 2, text)) {
        error = "edit takes R C TEXT";
        return false;
    }
    m_pSheet->Click(n[0], n[1]);
    if (m_pSheet->TypeText(Text(text)))
        m_pSheet->CommitEditor();
    return true;
}

bool CRunSession::PressKey(const std::string&, const std::string& rest, std::string& error)
{
    ESheetKey key = SHEETKEY_OTHER;
    if (!SheetKeyByName(rest, key)) {
        error = "unknown key '" + rest + "'";
        return false;
    }
    m_pSheet->PressKey(key);
    return true;
}

// --- commands of the menus and dialogs -------------------------------------------

bool CRunSession::OpenOrSaveAs(const std::string& command, const std::string& rest, std::string& error)
{
    if (rest.empty()) {
        error = command + " needs a PATH";
        return false;
    }
    // A path goes to the system as the script spells it (not GBK).
    m_Prompt.SetNextFile(ScriptPath(rest));
    m_pSheet->RunCommand(command == "open" ? cmdid::FILE_OPEN : cmdid::FILE_SAVE_AS);
    m_Prompt.SetNextFile(std::string());
    return true;
}

bool CRunSession::ExportExcel(const std::string& command, const std::string& rest, std::string& error)
{
    if (rest.empty()) {
        error = command + " needs a PATH";
        return false;
    }
    // The path as chosen in the export dialog; its extension picks the type.
    m_Prompt.SetNextFile(ScriptPath(rest));
    const int rows = m_pSheet->ExportExcel(command == "xls-summary");
    m_Prompt.SetNextFile(std::string());
    if (rows >= 0)
        m_Out << "rows=" << rows << "\n";
    return true;
}

bool CRunSession::Decimals(const std::string& command, const std::string& rest, std::string& error)
{
    if (!NoArgument(command, rest, error))
        return false;
    m_pSheet->RunCommand(command == "more-decimals" ? cmdid::MORE_DECIMALS : cmdid::FEWER_DECIMALS);
    m_pSheet->WaitForRecalc();
    return true;
}

bool CRunSession::Align(const std::string&, const std::string& rest, std::string& error)
{
    const int id = rest == "left" ? cmdid::ALIGN_LEFT
        : rest == "center"        ? cmdid::ALIGN_CENTER
        : rest == "right"         ? cmdid::ALIGN_RIGHT
                                  : 0;
    if (!id) {
        error = "align takes left, center or right";
        return false;
    }
    m_pSheet->RunCommand(id);
    return true;
}

bool CRunSession::AppendText(const std::string&, const std::string& rest, std::string&)
{
    m_pSheet->AppendText(Text(rest));
    return true;
}

bool CRunSession::RemoveText(const std::string&, const std::string& rest, std::string&)
{
    m_pSheet->RemoveText(Text(rest));
    return true;
}

bool CRunSession::ChooseItem(const std::string&, const std::string& rest, std::string& error)
{
    std::vector<int> n;
    if (!ParseInts(rest, n, 1)) {
        error = "item takes N";
        return false;
    }
    // The list offers only its own entries: any other number is a fault
    // of the script, not a choice the user could make.
    const int count = static_cast<int>(m_pSheet->Summary().ItemEntries().size());
    if (n[0] < 1 || n[0] > count) {
        error = "item " + std::to_string(n[0]) + ": the list has " + std::to_string(count) + " entries";
        return false;
    }
    m_pSheet->ChooseItem(n[0] - 1);
    return true;
}

bool CRunSession::SetClipboard(const std::string&, const std::string& rest, std::string&)
{
    m_Clipboard.SetText(Text(rest));
    return true;
}

bool CRunSession::PrintPdf(const std::string&, const std::string& rest, std::string& error)
{
    if (rest.empty()) {
        error = "pdf needs a PATH";
        return false;
    }
    CUtf8Text reason;
    if (!PrintToPdf(*m_pSheet, ScriptPath(rest), PrintPageLayout(), m_Out, reason) && !reason.IsEmpty())
        m_Prompt.ShowMessage(std::string(printtext::PDF_FAILED) + textcodec::Utf8ToGbk(reason), printtext::WARNING);
    return true;
}

bool CRunSession::PrintMode(const std::string&, const std::string& rest, std::string& error)
{
    // The print-content dialog confirmed with this choice.
    if (rest == "all" || rest == "summary") {
        m_pSheet->PrintSelection().Set(rest == "all" ? CPrintSelection::MODE_ALL : CPrintSelection::MODE_SUMMARY, "");
        return true;
    }
    if (rest.compare(0, 9, "category ") == 0) {
        m_pSheet->PrintSelection().Set(CPrintSelection::MODE_CATEGORY, Text(rest.substr(9)));
        return true;
    }
    error = "print-mode takes all, summary or category TEXT";
    return false;
}

bool CRunSession::SystemSettings(const std::string&, const std::string& rest, std::string& error)
{
    std::vector<std::pair<std::string, std::string>> fields;
    if (!ParseFields(rest, fields)) {
        error = "settings fields are NAME=TEXT";
        return false;
    }
    CSettingsKey key(*m_pStore);
    SSystemSettingsData data;
    data.Load(key, Text(std::filesystem::current_path().string()));
    for (const auto& field : fields) {
        const std::string& name = field.first;
        const std::string value = Text(field.second);
        if (!DialogOffers(name, value)) {
            error = name + "=" + field.second + " is not one of the dialog's choices";
            return false;
        }
        if (std::string* pText = data.TextField(name)) {
            *pText = value;
        } else if (bool* pFlag = data.FlagField(name)) {
            *pFlag = IsOn(value);
        } else {
            error = "the system settings have no field " + name;
            return false;
        }
    }
    data.Save(key);
    m_pSheet->AfterSystemSettings();
    return true;
}

bool CRunSession::EditSettings(const std::string&, const std::string& rest, std::string& error)
{
    std::vector<std::pair<std::string, std::string>> fields;
    if (!ParseFields(rest, fields)) {
        error = "settings fields are NAME=TEXT";
        return false;
    }
    CSettingsKey key(*m_pStore);
    SEditSettingsData data;
    data.Load(key);
    for (const auto& field : fields) {
        const std::string& name = field.first;
        const std::string value = Text(field.second);
        bool known = false;
        for (int i = 0; i < SEditSettingsData::LABEL_COUNT && !known; ++i) {
            if (name == SEditSettingsData::LabelName(i)) {
                data.m_strLabel[i] = value;
                known = true;
            }
        }
        if (known)
            continue;
        std::uint32_t* pColour = name == "m_CountColor" ? &data.m_clrError
            : name == "m_TotalColor"                    ? &data.m_clrSummary
                                                        : nullptr;
        if (!pColour) {
            error = "the edit settings have no field " + name;
            return false;
        }
        // The dialog's colour picker gives only colours: a decimal COLORREF.
        if (!ParseColour(value, *pColour)) {
            error = name + " takes a colour, 0 to 16777215";
            return false;
        }
    }
    data.Save(key);
    m_pSheet->AfterEditSettings(data);
    return true;
}

// --- what the user sees -------------------------------------------------------------

bool CRunSession::ShowCell(const std::string& command, const std::string& rest, std::string& error)
{
    std::vector<int> n;
    if (!ParseInts(rest, n, 2)) {
        error = command + " takes R C";
        return false;
    }
    const SheetGrid& sheet = m_pSheet->Sheet();
    if (command == "cell")
        m_Out << PrintableText(sheet.TextMatrix(n[0], n[1])) << "\n";
    else
        m_Out << "bg=" << sheet.BackColorAt(n[0], n[1]) << " align=" << sheet.EffectiveAlignment(n[0], n[1]) << "\n";
    return true;
}

bool CRunSession::ShowHeight(const std::string&, const std::string& rest, std::string& error)
{
    std::vector<int> n;
    if (!ParseInts(rest, n, 1)) {
        error = "height takes R";
        return false;
    }
    m_Out << m_pSheet->Sheet().RowHeight(n[0]) << "\n";
    return true;
}

// The commands that only show something take no argument.
bool CRunSession::Dump(const std::string& command, const std::string& rest, std::string& error)
{
    if (!NoArgument(command, rest, error))
        return false;
    const SheetGrid& sheet = m_pSheet->Sheet();
    m_Out << "rows=" << sheet.Rows() << " current=" << sheet.Row() << "," << sheet.Col()
          << " selection=" << sheet.RowSel() << "," << sheet.ColSel() << "\n";
    PrintRows();
    return true;
}

bool CRunSession::ShowEditor(const std::string& command, const std::string& rest, std::string& error)
{
    if (!NoArgument(command, rest, error))
        return false;
    const CCellEditor& editor = m_pSheet->Editor();
    m_Out << (editor.IsShown() ? PrintableText(editor.CaretView()) : std::string("closed")) << "\n";
    return true;
}

bool CRunSession::ShowItems(const std::string& command, const std::string& rest, std::string& error)
{
    if (!NoArgument(command, rest, error))
        return false;
    CSummaryItems& items = m_pSheet->Summary();
    const std::vector<std::string>& entries = items.ItemEntries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        m_Out << (static_cast<int>(i) == items.SelectedItem() ? "*" : "") << PrintableText(entries[i]) << "\n";
    return true;
}

bool CRunSession::ShowState(const std::string& command, const std::string& rest, std::string& error)
{
    if (!NoArgument(command, rest, error))
        return false;
    const CSheetDocument& doc = m_pSheet->Document();
    m_Out << "modified=" << (doc.IsModified() ? 1 : 0) << " named=" << (doc.IsNamed() ? 1 : 0)
          << " title=" << PrintableText(doc.Title()) << " path=" << PrintablePath(doc.Path()) << "\n";
    return true;
}

bool CRunSession::ShowClipboard(const std::string& command, const std::string& rest, std::string& error)
{
    if (!NoArgument(command, rest, error))
        return false;
    std::string text;
    m_Clipboard.GetText(text);
    m_Out << PrintableText(text) << "\n";
    return true;
}

void CRunSession::PrintRows()
{
    const SheetGrid& sheet = m_pSheet->Sheet();
    for (int row = 1; row < sheet.Rows(); ++row) {
        bool empty = true;
        for (int col = 0; col < SHEET_COLS && empty; ++col)
            empty = sheet.TextMatrix(row, col).empty();
        if (empty)
            continue;
        m_Out << row;
        for (int col = 0; col < SHEET_COLS; ++col)
            m_Out << "\t" << PrintableText(sheet.TextMatrix(row, col));
        m_Out << "\n";
    }
}

}  // namespace qtx
