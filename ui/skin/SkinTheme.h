// A dialog theme loaded from its INI file: the four border images (active
// half and inactive half each), the caption buttons, the slice positions,
// the caption text placement and colours, and the transparent colour.
#pragma once

#include "ui/skin/SkinRules.h"

#include <QColor>
#include <QImage>
#include <QString>

class CSkinTheme {
public:
    // True when the four border images and every caption button image have
    // loaded; anything missing leaves the theme unusable. A reload first
    // forgets the previous one.
    bool Load(const QString& path);
    bool IsLoaded() const { return m_bLoaded; }

    // Where the program's theme lies: beside the installed program's data
    // (the build tree has the same layout), else "skin/xpstyle/theme.ini"
    // in the current folder.
    static QString FindThemeFile();

    // Border thicknesses: half of each image across its halves.
    int LeftWidth() const { return m_Left.width() / 2; }
    int RightWidth() const { return m_Right.width() / 2; }
    int CaptionHeight() const { return m_Top.height() / 2; }
    int BottomHeight() const { return m_Bottom.height() / 2; }

    struct SButton {
        QImage m_Image;  // empty when the theme has no such button
        int m_nX = 0, m_nY = 0;
    };

    // The images, with the transparent colour made transparent when the
    // theme uses it.
    QImage m_Top, m_Left, m_Right, m_Bottom, m_Dialog;
    skin::SSlice m_TopSlice, m_LeftSlice, m_RightSlice, m_BottomSlice;
    SButton m_Close, m_Minimise, m_Maximise, m_Restore;
    int m_nImgCount = 3;
    int m_nTextShift = 0, m_nTextShiftVert = 0;
    bool m_bUsesTran = false;
    QColor m_clrTitle, m_clrInactiveTitle, m_clrTrans;

private:
    struct SSource;
    bool LoadBorders(const SSource& source);
    bool LoadButtons(const SSource& source);

    bool m_bLoaded = false;
};
