// Paints one cell of the sheet: its background colour, the selection, and
// its text lines. Rows are as high as the sheet says (in twips), which may
// be a little less than the font's natural line spacing; the lines are
// spread evenly over the row so that a cell of n lines always shows n lines.
#pragma once

#include <QStyledItemDelegate>

class CSheetDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* pPainter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The top of each of n lines of height fm in a cell rectangle, placed
    // by the vertical part of the alignment.
    static QList<int> LineTops(const QRect& rc, int lines, int fontHeight, Qt::Alignment align);
};
