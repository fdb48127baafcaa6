#include "core/export/ExportText.h"

#include <algorithm>

#include "core/engine/GbkText.h"

namespace exporttext {

int DisplayWidth(const std::string& gbk)
{
    int width = 0;
    for (std::size_t i = 0; i < gbk.size();) {
        const std::size_t len = gbk::CharLength(gbk, i);
        width += static_cast<int>(len);
        i += len;
    }
    return width;
}

std::vector<int> FittedWidths(const std::vector<std::vector<std::string>>& rows, std::size_t columns)
{
    const int MARGIN = 2, NARROWEST = 6, WIDEST = 80;
    std::vector<int> widest(columns, 0);
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size() && c < columns; ++c)
            if (static_cast<int>(row[c].size()) > widest[c])  // bytes bound the width
                widest[c] = std::max(widest[c], DisplayWidth(row[c]));
    for (int& w : widest)
        w = std::clamp(w + MARGIN, NARROWEST, WIDEST);
    return widest;
}

}  // namespace exporttext
