#include "ui/desktop/WindowPlacement.h"

#include "core/settings/SettingsNames.h"
#include "core/settings/SettingsStore.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Stored coordinates are limited to a range in which the placement
// arithmetic below cannot overflow.
int ToInt(const std::string& text)
{
    const long value = settingsvalue::ToLong(text);
    return static_cast<int>(std::clamp(value, -1000000L, 1000000L));
}

// One direction of the closing rectangle: a span of nMin or less becomes
// nMin long, from 0 when it starts before 0, from its own start when it
// ends by nFar, else ending at nFar.
void CorrectSpan(int& start, int& end, int nMin, int nFar)
{
    if (start < end - nMin)
        return;
    if (start < 0) {
        start = 0;
        end = nMin;
    } else if (end <= nFar) {
        end = start + nMin;
    } else {
        start = nFar - nMin;
        end = nFar;
    }
}

}  // namespace

SWinRect CorrectClosingRect(SWinRect rc)
{
    CorrectSpan(rc.m_nTop, rc.m_nBottom, 200, 600);
    CorrectSpan(rc.m_nLeft, rc.m_nRight, 350, 800);
    return rc;
}

SPlacement PlacementFromStored(const std::string& strShow, const std::string& strTop, const std::string& strBottom,
                               const std::string& strLeft, const std::string& strRight, int nScreenWidth)
{
    SPlacement placement;
    if (strShow != "1") {
        placement.m_bFirstStart = true;
        placement.m_bMaximised = true;
        return placement;
    }
    const int t = ToInt(strTop);
    const int b = ToInt(strBottom);
    const int l = ToInt(strLeft);
    const int r = ToInt(strRight);
    if (l + r == nScreenWidth) {
        // A maximised window overlaps the screen by its frame on both sides,
        // so its left and right add up to the screen width. Shrink it to a
        // restore rectangle of about seven eighths.
        const int r2 = l + 7 * (l + r) / 8;
        const int l2 = l + (r2 + l) / 8;
        const int b2 = t + 7 * (t + b) / 8;
        const int t2 = t + (t + b2) / 8;
        placement.m_bMaximised = true;
        placement.m_Rect = {l2, t2, r2, b2};
    } else {
        placement.m_Rect = {l, t, r, b};
    }
    return placement;
}

SPlacement ReadPlacement(const CSettingsKey& key, int nScreenWidth)
{
    using namespace settingsname;
    return PlacementFromStored(key.ReadString(WINDOW_SHOW), key.ReadString(WINDOW_TOP), key.ReadString(WINDOW_BOTTOM),
                               key.ReadString(WINDOW_LEFT), key.ReadString(WINDOW_RIGHT), nScreenWidth);
}

void WriteClosingRect(const CSettingsKey& key, const SWinRect& rcWindow)
{
    using namespace settingsname;
    key.WriteValue(WINDOW_SHOW, "1");
    const SWinRect rc = CorrectClosingRect(rcWindow);
    key.WriteValue(WINDOW_TOP, std::to_string(rc.m_nTop));
    key.WriteValue(WINDOW_BOTTOM, std::to_string(rc.m_nBottom));
    key.WriteValue(WINDOW_LEFT, std::to_string(rc.m_nLeft));
    key.WriteValue(WINDOW_RIGHT, std::to_string(rc.m_nRight));
}

bool CreationRect(const CSettingsKey& key, int nScreenWidth, int nScreenHeight, SWinRect& rc)
{
    using namespace settingsname;
    if (key.ReadString(WINDOW_SHOW) != "1")
        return false;
    const int t = ToInt(key.ReadString(WINDOW_TOP));
    const int b = ToInt(key.ReadString(WINDOW_BOTTOM));
    const int l = ToInt(key.ReadString(WINDOW_LEFT));
    const int r = ToInt(key.ReadString(WINDOW_RIGHT));
    const int height = std::min(std::abs(b - t), nScreenHeight);
    const int width = std::min(std::abs(r - l), nScreenWidth);
    rc = {l, t, l + width, t + height};
    return true;
}

std::vector<int> ReadColumnWidths(const CSettingsKey& key)
{
    std::vector<int> widths(USER_WIDTH_COLUMNS, 0);
    const std::string text = key.ReadString(settingsname::COLUMN_WIDTHS);
    std::size_t pos = 0;
    for (int& width : widths) {
        if (pos > text.size())
            break;
        const std::size_t comma = text.find(',', pos);
        const long value = settingsvalue::ToLong(text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos));
        // A column narrower than a few pixels or wider than any screen is
        // taken for a damaged value.
        width = value >= 8 && value <= 10000 ? static_cast<int>(value) : 0;
        pos = comma == std::string::npos ? text.size() + 1 : comma + 1;
    }
    return widths;
}

void WriteColumnWidths(const CSettingsKey& key, const std::vector<int>& widths)
{
    std::string text;
    bool bAny = false;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        text += (i ? "," : "") + std::to_string(widths[i]);
        bAny = bAny || widths[i] > 0;
    }
    key.WriteValue(settingsname::COLUMN_WIDTHS, bAny ? text : std::string());
}
