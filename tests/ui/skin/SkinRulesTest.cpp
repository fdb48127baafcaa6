#include "ui/skin/SkinRules.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>

using namespace skin;

namespace {

TEST(SkinRulesTest, SlicesKeepAtLeastOnePixelOfMiddle)
{
    struct {
        int m_nLength, m_nStart, m_nEnd;
        SSlice m_Expected;
    } rows[] = {
        {50, 10, 60, {10, 11}},  // ends overlapping: one pixel after the start, not -10
        {50, 10, 10, {10, 40}},
        {50, 0, 0, {0, 50}},
        {50, 25, 25, {25, 26}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(SliceOf(r.m_nLength, r.m_nStart, r.m_nEnd), r.m_Expected) << r.m_nStart << "/" << r.m_nEnd;
}

TEST(SkinRulesTest, StripRepeatsTheMiddleAndCutsTheLastCopy)
{
    // 10-px image: 3 fixed at the start, 2 at the end, a 5-px middle.
    // Each target pixel once, no piece wider than the middle: not stretched.
    const std::vector<SPiece> expected = {{0, 0, 3}, {3, 3, 5}, {3, 8, 5}, {3, 13, 1}, {8, 14, 2}};
    EXPECT_EQ(StripPieces(10, SliceOf(10, 3, 2), 16), expected);
}

TEST(SkinRulesTest, ButtonRectangles)
{
    struct {
        int m_nWidth, m_nX, m_nY, m_nImageW, m_nImageH, m_nCells;
        SRect m_Expected;
    } rows[] = {
        {400, 30, 4, 60, 18, 3, {370, 4, 390, 22}},
        {400, 30, 4, 60, 18, 1, {370, 4, 430, 22}},
        {400, 30, 4, 60, 18, 0, {370, 4, 430, 22}},  // no cells named: one cell, no division by zero
        {200, 27, 3, 63, 21, 3, {173, 3, 194, 24}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ButtonRect(r.m_nWidth, r.m_nX, r.m_nY, r.m_nImageW, r.m_nImageH, r.m_nCells), r.m_Expected);
}

SFrameLayout Layout()
{
    SFrameLayout l;
    l.m_nLeft = l.m_nRight = l.m_nBottom = 4;
    l.m_nCaption = 26;
    l.m_rcClose = ButtonRect(400, 27, 3, 63, 21, 3);     // 373..394
    l.m_rcMaximise = ButtonRect(400, 50, 3, 63, 21, 3);  // 350..371
    l.m_rcRestore = l.m_rcMaximise;
    l.m_rcMinimise = ButtonRect(400, 73, 3, 63, 21, 3);  // 327..348
    l.m_bSizable = true;
    return l;
}

TEST(SkinRulesTest, HitTestOrder)
{
    SFrameLayout l = Layout();
    l.m_bMinimiseBox = l.m_bMaximiseBox = true;
    struct {
        int m_nX, m_nY;
        EHitTest m_Expected;
    } rows[] = {
        {380, 10, HIT_CLOSE}, {360, 10, HIT_MAXIMISE}, {330, 10, HIT_MINIMISE}, {6, 8, HIT_SYSMENU}, {1, 1, HIT_TOPLEFT}, {398, 1, HIT_TOPRIGHT}, {1, 298, HIT_BOTTOMLEFT}, {398, 298, HIT_BOTTOMRIGHT}, {1, 100, HIT_LEFT}, {398, 100, HIT_RIGHT}, {100, 298, HIT_BOTTOM}, {100, 2, HIT_TOP}, {100, 10, HIT_CAPTION}, {100, 100, HIT_CLIENT}, {100, 26, HIT_CLIENT}, {399, 3, HIT_TOPRIGHT},  // the button stops at 394; the corner is next
    };
    for (const auto& r : rows)
        EXPECT_EQ(HitTest(l, 400, 300, r.m_nX, r.m_nY), r.m_Expected) << r.m_nX << "," << r.m_nY;

    // A window that is maximised, or not sizable, has no sizing zones.
    SFrameLayout maximised = l;
    maximised.m_bMaximised = true;
    SFrameLayout fixed = l;
    fixed.m_bSizable = false;
    for (const SFrameLayout& noSizing : {maximised, fixed}) {
        EXPECT_EQ(HitTest(noSizing, 400, 300, 1, 100), HIT_CLIENT);
        EXPECT_EQ(HitTest(noSizing, 400, 300, 100, 5), HIT_CAPTION);
    }
}

TEST(SkinRulesTest, NoMaximiseOrMinimiseWithoutTheirBoxes)
{
    const SFrameLayout l = Layout();  // the theme defines all buttons
    for (int x = 0; x < 400; ++x)
        for (int y = 0; y < 30; ++y) {
            const EHitTest hit = HitTest(l, 400, 300, x, y);
            ASSERT_NE(hit, HIT_MAXIMISE);
            ASSERT_NE(hit, HIT_MINIMISE);
        }
    EXPECT_EQ(HitTest(l, 400, 300, 360, 10), HIT_CAPTION);
}

TEST(SkinRulesTest, CaptionTextEndsAtTheTopImagesFixedEnd)
{
    // A 40-px top image with an 8-px fixed end in a 300-px window.
    EXPECT_EQ(CaptionTextRect(28, 0, 32, 300, 40, 26), (SRect{28, 0, 292, 26}));
}

TEST(SkinRulesTest, FlatButtonGradientRows)
{
    struct {
        int m_nY;
        bool m_bHover, m_bEmphasised;
        SRgb m_Expected;
    } rows[] = {
        // Row 0 is white in every state.
        {0, false, false, {255, 255, 255}},
        {0, true, true, {255, 255, 255}},
        // Last row of 64 (step 62): c = 235, e = 240, d = 243.
        {63, false, false, {235, 235, 243}},
        {63, false, true, {235, 235, 240}},
        {63, true, false, {240, 240, 243}},
        {63, true, true, {240, 240, 235}},
        // Half way (step 31): c = 245, e = 248, d = 249.
        {32, false, true, {245, 245, 248}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(FlatButtonRow(10 + r.m_nY, 10, 64, r.m_bHover, r.m_bEmphasised), r.m_Expected) << r.m_nY;
    // Taller buttons still use 64 steps: step = row * 63 / height.
    EXPECT_EQ(FlatButtonRow(127, 0, 128, false, false), (SRgb{235, 235, 243}));
}

TEST(SkinRulesTest, MenuColours)
{
    const SRgb highlight{0, 120, 215};
    const SRgb grey{109, 109, 109};
    // Face equal to the menu colour: white background, lightened column.
    SMenuColours same = FlatMenuColours({240, 240, 240}, {240, 240, 240}, highlight, grey);
    EXPECT_EQ(same.m_Background, (SRgb{255, 255, 255}));
    EXPECT_EQ(same.m_Column, (SRgb{245, 245, 245}));
    EXPECT_EQ(same.m_SelectionFill, (SRgb{216, 234, 249}));  // 0.85 towards white
    EXPECT_EQ(same.m_SelectionFrame, highlight);
    EXPECT_EQ(same.m_DisabledText, grey);
    // Different colours are used as they are.
    SMenuColours differ = FlatMenuColours({212, 208, 200}, {255, 255, 255}, highlight, grey);
    EXPECT_EQ(differ.m_Background, (SRgb{255, 255, 255}));
    EXPECT_EQ(differ.m_Column, (SRgb{212, 208, 200}));
    EXPECT_EQ(differ.m_SelectionFill, (SRgb{178, 214, 243}));  // 0.7
    // White on white: the grey text is lightened.
    EXPECT_EQ(FlatMenuColours({255, 255, 255}, {255, 255, 255}, highlight, grey).m_DisabledText, (SRgb{189, 189, 189}));
    // Fractions outside (0, 1] leave the colour alone.
    EXPECT_EQ(Lighten(grey, 0.0), grey);
    EXPECT_EQ(Lighten(grey, 1.5), grey);
    EXPECT_EQ(Lighten(grey, 1.0), (SRgb{255, 255, 255}));
}

TEST(SkinRulesTest, MenuItemSizes)
{
    EXPECT_EQ(MenuItemSize(true, 80, 20), (SSize{0, 10}));  // half a menu bar
    EXPECT_EQ(MenuItemSize(false, 80, 20), (SSize{113, 20}));
    EXPECT_EQ(MenuItemSize(false, 80, 14), (SSize{113, 19}));  // never below picture + 4
    EXPECT_EQ(MenuPictureOffset(19), 0);
    EXPECT_EQ(MenuPictureOffset(25), 3);
    EXPECT_EQ(MenuPictureOffset(10), 0);
}

TEST(SkinRulesTest, ThemeFileReading)
{
    const std::string path = testing::TempDir() + "skin_rules_theme.ini";
    {
        std::ofstream out(path);
        out << "; a comment\n[Personality]\r\ntop = C:\\themes\\xp\\Top.bmp\nbuttoncount=3 buttons\n"
               "TextShift=-4\nTextShift=9\nUsesTran=\n[COLOURS]\nTitleText= 10, 300 ,-5\nTransColor=1,2\n"
               "Quoted=\"a b\"\nLong="
            << std::string(1200, 'x') << "\n";
    }
    CThemeIni ini;
    ASSERT_TRUE(ini.Load(path));
    EXPECT_EQ(ini.Text("Personality", "Top"), "C:\\themes\\xp\\Top.bmp");  // names without regard to case
    EXPECT_EQ(ini.Int("Personality", "ButtonCount", 0), 3);
    EXPECT_EQ(ini.Int("Personality", "TextShift", 0), -4);  // the first one wins
    EXPECT_EQ(ini.Int("Personality", "UsesTran", 7), 7);    // empty: no number
    EXPECT_EQ(ini.Int("Personality", "Absent", 3), 3);
    const SRgb def{255, 0, 255};
    EXPECT_EQ(ini.Colour("Colours", "TitleText", def), (SRgb{10, 255, 0}));
    EXPECT_EQ(ini.Colour("Colours", "TransColor", def), def);  // two numbers are no colour
    EXPECT_EQ(ini.Colour("Colours", "Absent", def), def);
    EXPECT_EQ(ini.Text("Colours", "Quoted"), "a b");
    EXPECT_EQ(ini.Text("Colours", "Long").size(), 999u);
    EXPECT_FALSE(ini.Load(path + ".missing"));
    std::remove(path.c_str());

    EXPECT_EQ(ThemeImagePath("skin/xpstyle/theme.ini", "C:\\old\\top.bmp"), "skin/xpstyle/top.bmp");
    EXPECT_EQ(ThemeImagePath("skin\\xpstyle\\theme.ini", "top.bmp"), "skin\\xpstyle/top.bmp");
    EXPECT_EQ(ThemeImagePath("theme.ini", "/x/top.bmp"), "top.bmp");  // not the root folder
}

}  // namespace
