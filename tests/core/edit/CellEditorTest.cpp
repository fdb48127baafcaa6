#include <gtest/gtest.h>

#include "core/edit/CellEditor.h"
#include "core/sheet/SheetGrid.h"

namespace {

CCellEditor Opened(const std::string& text, std::size_t caret)
{
    CCellEditor editor;
    editor.Open(text);
    editor.SetCaret(caret);
    return editor;
}

std::string After(const std::string& text, std::size_t caret, ESheetKey key)
{
    CCellEditor editor = Opened(text, caret);
    editor.PressKey(key);
    return editor.CaretView();
}

}  // namespace

TEST(EditorOpenText, CutsTheResultAndAppendsTheTypedCharacter)
{
    EXPECT_EQ(EditorOpenText("(1+2)*3=9.00", COL_FORMULA, "5"), "(1+2)*35");
    EXPECT_EQ(EditorOpenText("12 [\xC7\xBD] =12.00", COL_FORMULA, "x"), "12[\xC7\xBD]x");
    EXPECT_EQ(EditorOpenText("(1+2)*\n3=9.00", COL_FORMULA, ""), "(1+2)*3");
    EXPECT_EQ(EditorOpenText("2[h=1]=2.00", COL_FORMULA, "\xC7\xBD"), "2[h=1]\xC7\xBD");
    // Only an expression has a result part.
    EXPECT_EQ(EditorOpenText("a=b c", COL_POSITION, ""), "a=bc");
}

TEST(CellEditor, BracketKeys)
{
    EXPECT_EQ(After("1+2*3", 3, SHEETKEY_F5), "(1+2)|*3");
    EXPECT_EQ(After("1+2*3", 2, SHEETKEY_F6), "1+(2*3)|");
    EXPECT_EQ(After("12", 1, SHEETKEY_F3), "1[|]2");
    EXPECT_EQ(After("12", 2, SHEETKEY_F4), "12(|)");
    EXPECT_EQ(After("", 0, SHEETKEY_F5), "|");

    CCellEditor editor = Opened("1+2*3", 0);
    editor.SetSelection(2, 5);
    editor.PressKey(SHEETKEY_F3);
    EXPECT_EQ(editor.CaretView(), "1+[2*3]|");
    editor.SetSelection(0, 1);
    editor.PressKey(SHEETKEY_F5);
    EXPECT_EQ(editor.CaretView(), "(1)|+[2*3]");
}

TEST(CellEditor, CaretKeysNeverSplitADoubleByteCharacter)
{
    // "\x81[" is one character although its trail byte is a bracket.
    CCellEditor editor = Opened("a\xC7\xBD\x81[b", 6);
    const char* const leftSteps[] = {"a\xC7\xBD\x81[|b", "a\xC7\xBD|\x81[b", "a|\xC7\xBD\x81[b", "|a\xC7\xBD\x81[b",
                                     "|a\xC7\xBD\x81[b"};
    for (const char* step : leftSteps) {
        EXPECT_TRUE(editor.PressKey(SHEETKEY_LEFT));
        EXPECT_EQ(editor.CaretView(), step);
    }
    editor.PressKey(SHEETKEY_RIGHT);
    editor.PressKey(SHEETKEY_RIGHT);
    EXPECT_EQ(editor.CaretView(), "a\xC7\xBD|\x81[b");
    editor.PressKey(SHEETKEY_DELETE);
    EXPECT_EQ(editor.CaretView(), "a\xC7\xBD|b");
    editor.PressKey(SHEETKEY_BACKSPACE);
    EXPECT_EQ(editor.CaretView(), "a|b");
    editor.PressKey(SHEETKEY_END);
    editor.PressKey(SHEETKEY_SHIFT_LEFT);
    editor.PressKey(SHEETKEY_SHIFT_LEFT);
    EXPECT_EQ(editor.SelectionStart(), 0u);
    editor.PressKey(SHEETKEY_DELETE);
    EXPECT_EQ(editor.CaretView(), "|");

    editor.SetCaret(0);
    EXPECT_FALSE(editor.PressKey(SHEETKEY_LEFT));
    EXPECT_FALSE(editor.PressKey(SHEETKEY_RIGHT));
    EXPECT_TRUE(editor.PressKey(SHEETKEY_DELETE));

    // A caret placed inside a character falls back to its start.
    CCellEditor inside = Opened("\xC7\xBD", 1);
    EXPECT_EQ(inside.Caret(), 0u);
    inside.TypeText("x");
    EXPECT_EQ(inside.CaretView(), "x|\xC7\xBD");
}

TEST(EnterTarget, MovesByTheConfiguredDirection)
{
    struct SCase {
        const char* m_szDir;
        int m_nRow, m_nCol, m_nToRow, m_nToCol;
    };
    const SCase cases[] = {
        {"RIGHT", 7, 5, 8, 1},
        {"RIGHT", 35, 5, 1, 1},
        {"RIGHT", 7, 2, 7, 3},
        {"LEFT", 1, 1, 1, 1},
        {"LEFT", 3, 1, 2, 5},
        {"DOWN", 35, 3, 1, 3},
        {"", 4, 3, 5, 3},
        {"UP", 1, 2, 1, 2},
        {"UP", 5, 2, 4, 2},
        {"down", 5, 2, 5, 2},
    };
    for (const SCase& c : cases) {
        int row = c.m_nRow, col = c.m_nCol;
        EnterTarget(c.m_szDir, 36, row, col);
        EXPECT_EQ(row, c.m_nToRow) << c.m_szDir << " " << c.m_nRow << "," << c.m_nCol;
        EXPECT_EQ(col, c.m_nToCol) << c.m_szDir << " " << c.m_nRow << "," << c.m_nCol;
    }
    int row = 1, col = 1;
    ArrowTarget(ARROW_LEFT, 36, row, col);
    EXPECT_EQ(row * 10 + col, 11);
}

TEST(SheetKeys, EveryKeyHasItsOwnName)
{
    for (int i = 0; i < SHEETKEY_OTHER; ++i) {
        const ESheetKey key = static_cast<ESheetKey>(i);
        ESheetKey found = SHEETKEY_OTHER;
        ASSERT_TRUE(SheetKeyByName(SheetKeyName(key), found)) << i;
        EXPECT_EQ(found, key) << SheetKeyName(key);
    }
    ESheetKey found = SHEETKEY_OTHER;
    EXPECT_FALSE(SheetKeyByName("", found));
    EXPECT_FALSE(SheetKeyByName("ctrl+v", found));
    EXPECT_EQ(std::string(SheetKeyName(SHEETKEY_SHIFT_TAB)), "Shift+Tab");
    EXPECT_EQ(std::string(SheetKeyName(SHEETKEY_CTRL_END)), "Ctrl+End");
}
