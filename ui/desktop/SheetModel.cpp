#include "ui/desktop/SheetModel.h"

#include "ui/desktop/GbkQt.h"

#include <QColor>

CSheetModel::CSheetModel(SheetGrid& sheet, QObject* pParent)
    : QAbstractTableModel(pParent), m_Sheet(sheet), m_nRows(std::max(sheet.Rows() - 1, 0))
{
    m_Sheet.SetObserver(this);
}

CSheetModel::~CSheetModel()
{
    m_Sheet.SetObserver(m_pNext);
}

QColor CSheetModel::ToQColor(std::uint32_t clr)
{
    if ((clr & 0xFFFFFF) == 0)
        return QColor();
    return QColor(clr & 0xFF, (clr >> 8) & 0xFF, (clr >> 16) & 0xFF);
}

Qt::Alignment CSheetModel::ToQtAlignment(int code)
{
    switch (code) {
    case ALIGN_LEFT_CENTER: return Qt::AlignLeft | Qt::AlignVCenter;
    case ALIGN_LEFT_BOTTOM: return Qt::AlignLeft | Qt::AlignBottom;
    case ALIGN_CENTER_TOP: return Qt::AlignHCenter | Qt::AlignTop;
    case ALIGN_CENTER_BOTTOM: return Qt::AlignHCenter | Qt::AlignBottom;
    case ALIGN_RIGHT_TOP: return Qt::AlignRight | Qt::AlignTop;
    case ALIGN_RIGHT_CENTER: return Qt::AlignRight | Qt::AlignVCenter;
    case ALIGN_CENTER_CENTER:
    default: return Qt::AlignCenter;
    }
}

int CSheetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_nRows;
}

int CSheetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : SHEET_COLS - 1;
}

QVariant CSheetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = SheetRow(index.row());
    const int col = SheetCol(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return GbkToQ(m_Sheet.TextMatrix(row, col));
    case Qt::BackgroundRole: {
        const QColor clr = ToQColor(m_Sheet.BackColorAt(row, col));
        return clr.isValid() ? QVariant(clr) : QVariant();
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ToQtAlignment(m_Sheet.EffectiveAlignment(row, col)));
    default:
        return {};
    }
}

QVariant CSheetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole)
            return GbkToQ(m_Sheet.TextMatrix(0, SheetCol(section)));
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(ToQtAlignment(m_Sheet.FixedAlignment(SheetCol(section))));
        return {};
    }
    if (role == Qt::DisplayRole)
        return GbkToQ(m_Sheet.TextMatrix(SheetRow(section), COL_SEQ));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(ToQtAlignment(m_Sheet.FixedAlignment(COL_SEQ)));
    return {};
}

Qt::ItemFlags CSheetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Editing goes through the in-cell editor of the view, never through
    // the model.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void CSheetModel::ResetFromSheet()
{
    beginResetModel();
    m_nRows = std::max(m_Sheet.Rows() - 1, 0);
    m_bPendingReset = false;
    endResetModel();
    emit sheetReset();
}

void CSheetModel::OnSheetReset()
{
    if (m_Sheet.Redraw())
        ResetFromSheet();
    else
        m_bPendingReset = true;
    if (m_pNext)
        m_pNext->OnSheetReset();
}

void CSheetModel::OnRowsInserted(int first, int count)
{
    if (count > 0) {
        if (!m_Sheet.Redraw() || m_bPendingReset) {
            m_bPendingReset = true;
        } else {
            // An insertion before the header row cannot be told apart from one
            // after it; the model only sees data rows.
            const int at = std::clamp(ModelRow(first), 0, m_nRows);
            beginInsertRows(QModelIndex(), at, at + count - 1);
            m_nRows += count;
            endInsertRows();
        }
    }
    if (m_pNext)
        m_pNext->OnRowsInserted(first, count);
}

void CSheetModel::OnRowsRemoved(int first, int count)
{
    if (count > 0) {
        if (!m_Sheet.Redraw() || m_bPendingReset) {
            m_bPendingReset = true;
        } else {
            const int at = std::clamp(ModelRow(first), 0, m_nRows);
            const int n = std::min(count, m_nRows - at);
            if (n > 0) {
                beginRemoveRows(QModelIndex(), at, at + n - 1);
                m_nRows -= n;
                endRemoveRows();
            }
            if (m_nRows != std::max(m_Sheet.Rows() - 1, 0))
                ResetFromSheet();
        }
    }
    if (m_pNext)
        m_pNext->OnRowsRemoved(first, count);
}

void CSheetModel::OnCellChanged(int row, int col)
{
    if (!m_bPendingReset) {
        if (row == 0) {
            const int section = ModelCol(col);
            if (section >= 0)
                emit headerDataChanged(Qt::Horizontal, section, section);
        } else if (row - 1 < m_nRows) {
            if (col == COL_SEQ) {
                emit headerDataChanged(Qt::Vertical, ModelRow(row), ModelRow(row));
            } else {
                const QModelIndex idx = index(ModelRow(row), ModelCol(col));
                emit dataChanged(idx, idx);
            }
        }
    }
    if (m_pNext)
        m_pNext->OnCellChanged(row, col);
}

void CSheetModel::OnRowHeightChanged(int row)
{
    if (!m_bPendingReset)
        emit rowHeightChanged(row);
    if (m_pNext)
        m_pNext->OnRowHeightChanged(row);
}

void CSheetModel::OnCurrentCellChanged()
{
    if (!m_bPendingReset)
        emit currentCellChanged();
    if (m_pNext)
        m_pNext->OnCurrentCellChanged();
}

void CSheetModel::OnRedrawChanged(bool bRedraw)
{
    if (bRedraw && m_bPendingReset)
        ResetFromSheet();
    emit redrawChanged(bRedraw);
    if (m_pNext)
        m_pNext->OnRedrawChanged(bRedraw);
}
