#include "ui/skin/SkinTheme.h"

#include "ui/skin/SkinColours.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>

// The theme's INI file, where it lies, and the colour its images make
// transparent (invalid when they keep every colour).
struct CSkinTheme::SSource {
    skin::CThemeIni m_Ini;
    std::string m_strPath;
    QColor m_clrTrans;

    // An image value names a file in the theme's folder; an absent value
    // loads nothing.
    QImage Image(const std::string& section, const char* key) const
    {
        const std::string value = m_Ini.Text(section, key);
        if (value.empty())
            return QImage();
        QImage img(QFile::decodeName(skin::ThemeImagePath(m_strPath, value).c_str()));
        if (img.isNull())
            return img;
        img = img.convertToFormat(QImage::Format_ARGB32);
        if (m_clrTrans.isValid()) {
            const QRgb trans = m_clrTrans.rgb();
            for (int y = 0; y < img.height(); ++y) {
                auto* pLine = reinterpret_cast<QRgb*>(img.scanLine(y));
                for (int x = 0; x < img.width(); ++x)
                    if ((pLine[x] | 0xff000000u) == trans)
                        pLine[x] = 0;
            }
        }
        return img;
    }
};

namespace {

const char* const PERSONALITY = "Personality";

}  // namespace

QString CSkinTheme::FindThemeFile()
{
    const QString relative = QStringLiteral("skin/xpstyle/theme.ini");
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/" QTX_DATA_FROM_BIN "/") + relative;
    if (QFileInfo::exists(beside))
        return QFileInfo(beside).absoluteFilePath();
    return relative;
}

bool CSkinTheme::Load(const QString& path)
{
    *this = CSkinTheme();
    SSource source;
    source.m_strPath = QFile::encodeName(path).toStdString();
    const skin::CThemeIni& ini = source.m_Ini;
    if (!source.m_Ini.Load(source.m_strPath))
        return false;

    m_bUsesTran = ini.Int(PERSONALITY, "UsesTran", 0) != 0;
    const QColor captionText = QGuiApplication::palette().color(QPalette::Active, QPalette::HighlightedText);
    m_clrTitle = skin::ToQColor(ini.Colour("Colours", "TitleText", skin::ToRgb(captionText)));
    m_clrInactiveTitle = skin::ToQColor(ini.Colour("Colours", "InactiveTitleText", skin::ToRgb(captionText)));
    m_clrTrans = m_bUsesTran ? skin::ToQColor(ini.Colour("Colours", "TransColor", {255, 0, 255})) : QColor();
    source.m_clrTrans = m_clrTrans;
    m_Dialog = source.Image(PERSONALITY, "DialogBmp");
    if (!LoadBorders(source) || !LoadButtons(source))
        return false;
    m_bLoaded = true;
    return true;
}

bool CSkinTheme::LoadBorders(const SSource& source)
{
    const skin::CThemeIni& ini = source.m_Ini;
    m_Top = source.Image(PERSONALITY, "Top");
    m_Left = source.Image(PERSONALITY, "Left");
    m_Right = source.Image(PERSONALITY, "Right");
    m_Bottom = source.Image(PERSONALITY, "Bottom");
    if (m_Top.isNull() || m_Left.isNull() || m_Right.isNull() || m_Bottom.isNull())
        return false;
    m_TopSlice = skin::SliceOf(m_Top.width(), ini.Int(PERSONALITY, "TopTopHeight", 0), ini.Int(PERSONALITY, "TopBotHeight", 0));
    m_BottomSlice = skin::SliceOf(m_Bottom.width(), ini.Int(PERSONALITY, "BottomTopHeight", 0), ini.Int(PERSONALITY, "BottomBotHeight", 0));
    m_LeftSlice = skin::SliceOf(m_Left.height(), ini.Int(PERSONALITY, "LeftTopHeight", 0), ini.Int(PERSONALITY, "LeftBotHeight", 0));
    m_RightSlice = skin::SliceOf(m_Right.height(), ini.Int(PERSONALITY, "RightTopHeight", 0), ini.Int(PERSONALITY, "RightBotHeight", 0));
    m_nImgCount = ini.Int(PERSONALITY, "ButtonImgCount", 3);
    m_nTextShift = ini.Int(PERSONALITY, "TextShift", 0);
    m_nTextShiftVert = ini.Int(PERSONALITY, "TextShiftVert", 0);
    return true;
}

// The first maximise button is maximise, a second one restore.
bool CSkinTheme::LoadButtons(const SSource& source)
{
    const skin::CThemeIni& ini = source.m_Ini;
    bool bSeenMaximise = false;
    const int nButtons = ini.Int(PERSONALITY, "ButtonCount", 0);
    for (int i = 0; i < nButtons; ++i) {
        const std::string section = "Button" + std::to_string(i);
        SButton button;
        button.m_Image = source.Image(section, "ButtonImage");
        if (button.m_Image.isNull())
            return false;
        button.m_nX = ini.Int(section, "XCoord", 0);
        button.m_nY = ini.Int(section, "YCoord", 0);
        switch (ini.Int(section, "Action", 0)) {
        case skin::ACTION_CLOSE: m_Close = button; break;
        case skin::ACTION_MINIMISE: m_Minimise = button; break;
        case skin::ACTION_MAXIMISE:
            (bSeenMaximise ? m_Restore : m_Maximise) = button;
            bSeenMaximise = true;
            break;
        default: break;
        }
    }
    return true;
}
