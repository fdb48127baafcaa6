#include "ui/desktop/SheetDelegate.h"

#include <QPainter>

QList<int> CSheetDelegate::LineTops(const QRect& rc, int lines, int fontHeight, Qt::Alignment align)
{
    QList<int> tops;
    lines = std::max(lines, 1);
    const int step = std::max(1, std::min(fontHeight, rc.height() / lines));
    const int block = step * lines;
    int top = rc.top();
    if (align & Qt::AlignBottom)
        top = rc.bottom() + 1 - block;
    else if (!(align & Qt::AlignTop))
        top = rc.top() + (rc.height() - block) / 2;
    for (int i = 0; i < lines; ++i)
        tops << top + i * step;
    return tops;
}

void CSheetDelegate::paint(QPainter* pPainter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    pPainter->save();
    const QRect rc = option.rect;
    const bool bSelected = option.state & QStyle::State_Selected;
    const QVariant back = index.data(Qt::BackgroundRole);
    if (bSelected)
        pPainter->fillRect(rc, option.palette.brush(QPalette::Highlight));
    else if (back.isValid())
        pPainter->fillRect(rc, back.value<QColor>());

    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        const Qt::Alignment align = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        const QStringList lines = text.split(QLatin1Char('\n'));
        const QFontMetrics fm(option.font);
        const QRect inner = rc.adjusted(2, 0, -2, 0);
        const QList<int> tops = LineTops(inner, static_cast<int>(lines.size()), fm.height(), align);
        const int step = lines.size() > 1 ? tops[1] - tops[0] : std::min(fm.height(), inner.height());
        pPainter->setFont(option.font);
        pPainter->setPen(option.palette.color(bSelected ? QPalette::HighlightedText : QPalette::Text));
        pPainter->setClipRect(rc);
        const Qt::Alignment horizontal = align & Qt::AlignHorizontal_Mask;
        // Only the lines in sight are laid out, each cut to what its band
        // can show (no character is narrower than a pixel): a cell of many
        // megabytes costs no more than the part of it on the screen.
        const QRect visible = option.widget ? rc & option.widget->rect() : rc;
        const int most = std::max(inner.width(), 0) + 1;
        for (int i = 0; i < lines.size(); ++i) {
            const QRect band(inner.left(), tops[i], inner.width(), std::max(step, fm.height()));
            if (band.bottom() < visible.top())
                continue;
            if (band.top() > visible.bottom())
                break;
            QString line = lines[i];
            if (line.size() > most) {
                if (horizontal & Qt::AlignRight)
                    line = line.right(most);
                else if (horizontal & Qt::AlignHCenter)
                    line = line.mid((line.size() - most) / 2, most);
                else
                    line.truncate(most);
            }
            pPainter->drawText(band, static_cast<int>(horizontal | Qt::AlignVCenter), line);
        }
    }
    pPainter->restore();
}
