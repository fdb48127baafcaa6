#include "ui/skin/SkinTheme.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>

namespace {

QColor ToQColor(skin::SRgb c) { return QColor(c.m_nRed, c.m_nGreen, c.m_nBlue); }
skin::SRgb ToRgb(const QColor& c) { return {c.red(), c.green(), c.blue()}; }

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
    skin::CThemeIni ini;
    const std::string themePath = QFile::encodeName(path).toStdString();
    if (!ini.Load(themePath))
        return false;

    const char* const P = "Personality";
    m_bUsesTran = ini.Int(P, "UsesTran", 0) != 0;
    const QColor captionText = QGuiApplication::palette().color(QPalette::Active, QPalette::HighlightedText);
    m_clrTitle = ToQColor(ini.Colour("Colours", "TitleText", ToRgb(captionText)));
    m_clrInactiveTitle = ToQColor(ini.Colour("Colours", "InactiveTitleText", ToRgb(captionText)));
    m_clrTrans = m_bUsesTran ? ToQColor(ini.Colour("Colours", "TransColor", {255, 0, 255})) : QColor();

    // An image value names a file in the theme's folder; an absent value
    // loads nothing.
    auto image = [&](const char* section, const char* key) {
        const std::string value = ini.Text(section, key);
        if (value.empty())
            return QImage();
        QImage img(QFile::decodeName(skin::ThemeImagePath(themePath, value).c_str()));
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
    };

    m_Dialog = image(P, "DialogBmp");
    m_Top = image(P, "Top");
    m_Left = image(P, "Left");
    m_Right = image(P, "Right");
    m_Bottom = image(P, "Bottom");
    if (m_Top.isNull() || m_Left.isNull() || m_Right.isNull() || m_Bottom.isNull())
        return false;
    m_TopSlice = skin::SliceOf(m_Top.width(), ini.Int(P, "TopTopHeight", 0), ini.Int(P, "TopBotHeight", 0));
    m_BottomSlice = skin::SliceOf(m_Bottom.width(), ini.Int(P, "BottomTopHeight", 0), ini.Int(P, "BottomBotHeight", 0));
    m_LeftSlice = skin::SliceOf(m_Left.height(), ini.Int(P, "LeftTopHeight", 0), ini.Int(P, "LeftBotHeight", 0));
    m_RightSlice = skin::SliceOf(m_Right.height(), ini.Int(P, "RightTopHeight", 0), ini.Int(P, "RightBotHeight", 0));
    m_nImgCount = ini.Int(P, "ButtonImgCount", 3);
    m_nTextShift = ini.Int(P, "TextShift", 0);
    m_nTextShiftVert = ini.Int(P, "TextShiftVert", 0);

    bool bSeenMaximise = false;
    const int nButtons = ini.Int(P, "ButtonCount", 0);
    for (int i = 0; i < nButtons; ++i) {
        const std::string section = "Button" + std::to_string(i);
        SButton button;
        button.m_Image = image(section.c_str(), "ButtonImage");
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
    m_bLoaded = true;
    return true;
}
