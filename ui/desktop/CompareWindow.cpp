#include "ui/desktop/CompareWindow.h"

#include "core/compare/CompareFiles.h"
#include "core/compare/CompareTexts.h"
#include "core/compare/SequenceDiff.h"
#include "core/document/DocumentTexts.h"
#include "core/document/FileOps.h"
#include "core/engine/ExprText.h"
#include "core/engine/Prompt.h"
#include "ui/desktop/GbkQt.h"

#include <QAbstractTextDocumentLayout>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>
#include <cstdio>

namespace {

enum { ITEM_COL_ITEM,
       ITEM_COL_CATEGORY,
       ITEM_COL_UNIT,
       ITEM_COL_A,
       ITEM_COL_B,
       ITEM_COL_INCREASE,
       ITEM_COL_DECREASE,
       ITEM_COLS };
enum { ROW_COL_KIND,
       ROW_COL_ITEM,
       ROW_COL_ROW_A,
       ROW_COL_ROW_B,
       ROW_COL_LOCATION,
       ROW_COL_CATEGORY,
       ROW_COL_TEXT_A,
       ROW_COL_TEXT_B,
       ROW_COLS };

// Increases (核增) in red, decreases (核减) in green, as the trade marks them.
const QColor INCREASE_TEXT(0xc6, 0x28, 0x28);
const QColor INCREASE_BACK(0xfd, 0xec, 0xea);
const QColor DECREASE_TEXT(0x2e, 0x7d, 0x32);
const QColor DECREASE_BACK(0xe8, 0xf5, 0xe9);
const QColor TOTAL_BACK(0xee, 0xee, 0xee);
const char MARK_REMOVED[] = "#ffcdd2";
const char MARK_ADDED[] = "#c8e6c9";

const int HTML_ROLE = Qt::UserRole + 1;

QString Q(const char* gbk)
{
    return GbkToQ(gbk);
}

QString WithoutLineBreaks(const std::string& gbk)
{
    QString text = GbkToQ(gbk);
    text.remove(QLatin1Char('\n'));
    return text;
}

// The text as HTML with the characters that other does not share marked.
QString MarkedHtml(const QString& text, const QString& other, const char* colour)
{
    std::vector<int> a, b;
    for (const QChar ch : text)
        a.push_back(ch.unicode());
    for (const QChar ch : other)
        b.push_back(ch.unicode());
    std::vector<bool> kept(a.size(), false);
    for (const auto& pair : seqdiff::LongestCommonSubsequence(a, b))
        kept[pair.first] = true;
    QString html;
    bool bOpen = false;
    for (int i = 0; i < text.size(); ++i) {
        if (!kept[i] && !bOpen) {
            html += QStringLiteral("<span style=\"background:%1\">").arg(QLatin1String(colour));
            bOpen = true;
        } else if (kept[i] && bOpen) {
            html += QStringLiteral("</span>");
            bOpen = false;
        }
        html += QString(text[i]).toHtmlEscaped();
    }
    if (bOpen)
        html += QStringLiteral("</span>");
    return html;
}

// Where the result part of a shown expression cell starts (its length when
// it has none), found as the sheet finds it.
int ResultSeparator(const QString& text)
{
    const std::string gbk = QToGbk(text);
    return static_cast<int>(GbkToQ(gbk.substr(0, exprtext::FindResultSeparator(gbk))).size());
}

// Draws a cell's HTML (the marked expressions) in place of its plain text.
class CMarkedTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* pPainter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QString html = index.data(HTML_ROLE).toString();
        if (html.isEmpty()) {
            QStyledItemDelegate::paint(pPainter, option, index);
            return;
        }
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.text.clear();
        opt.widget->style()->drawControl(QStyle::CE_ItemViewItem, &opt, pPainter, opt.widget);
        QTextDocument doc;
        doc.setDefaultFont(opt.font);
        doc.setDocumentMargin(2);
        doc.setHtml(html);
        pPainter->save();
        const QRect rc = opt.rect;
        pPainter->translate(rc.left(), rc.top() + std::max(0.0, (rc.height() - doc.size().height()) / 2));
        pPainter->setClipRect(QRect(0, 0, rc.width(), rc.height()));
        doc.drawContents(pPainter);
        pPainter->restore();
    }
};

QTableWidgetItem* Cell(const QString& text, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* pItem = new QTableWidgetItem(text);
    pItem->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    pItem->setTextAlignment(align);
    return pItem;
}

const Qt::Alignment NUMBER_ALIGN = Qt::AlignRight | Qt::AlignVCenter;

// One line of the item table as shown and printed.
struct STableLine {
    QString m_Cells[ITEM_COLS];
    int m_nSign = 0;
    bool m_bTotal = false;
};

std::vector<STableLine> TableLines(const sheetcompare::SComparison& c)
{
    std::vector<STableLine> lines;
    auto quantities = [](STableLine& line, const sheetcompare::SQuantities& q) {
        line.m_Cells[ITEM_COL_A] = GbkToQ(q.m_strA);
        line.m_Cells[ITEM_COL_B] = GbkToQ(q.m_strB);
        // The difference without its sign, under 核增 or 核减.
        const QString magnitude = GbkToQ(q.m_strDiff).remove(QLatin1Char('+')).remove(QLatin1Char('-'));
        if (q.m_nSign > 0)
            line.m_Cells[ITEM_COL_INCREASE] = magnitude;
        if (q.m_nSign < 0)
            line.m_Cells[ITEM_COL_DECREASE] = magnitude;
        line.m_nSign = q.m_nSign;
    };
    const std::string* pItem = nullptr;
    for (const sheetcompare::SItemLine& item : c.m_Items) {
        STableLine line;
        // The item's name on its first line only.
        if (!pItem || *pItem != item.m_strItem || lines.empty())
            line.m_Cells[ITEM_COL_ITEM] = GbkToQ(item.m_strItem);
        pItem = &item.m_strItem;
        line.m_Cells[ITEM_COL_CATEGORY] = GbkToQ(item.m_strCategory);
        line.m_Cells[ITEM_COL_UNIT] = GbkToQ(item.m_strUnit);
        quantities(line, item.m_Qty);
        lines.push_back(line);
    }
    for (const sheetcompare::STotalLine& total : c.m_Totals) {
        STableLine line;
        line.m_Cells[ITEM_COL_ITEM] = Q(comparetext::HEAD_TOTAL);
        line.m_Cells[ITEM_COL_CATEGORY] = GbkToQ(total.m_strCategory);
        line.m_Cells[ITEM_COL_UNIT] = GbkToQ(total.m_strUnit);
        quantities(line, total.m_Qty);
        line.m_bTotal = true;
        lines.push_back(line);
    }
    return lines;
}

QStringList ItemHeaders()
{
    return {Q(comparetext::HEAD_ITEM), Q(comparetext::HEAD_CATEGORY), Q(comparetext::HEAD_UNIT),
            Q(comparetext::HEAD_A), Q(comparetext::HEAD_B), Q(comparetext::HEAD_INCREASE),
            Q(comparetext::HEAD_DECREASE)};
}

// The item table on paper: the fonts and measures of a page and the drawing
// of its parts. A page has the title, the heading lines, the column
// headers, as many table lines as fit and the page number.
class CItemTablePage {
public:
    CItemTablePage(QPainter& painter, QPagedPaintDevice& device, const QFont& font, QStringList heading)
        : m_Painter(painter), m_Page(painter.viewport()), m_Heading(std::move(heading))
    {
        m_Body = font;
        m_Body.setPointSizeF(9);
        m_Bold = m_Body;
        m_Bold.setBold(true);
        m_Title = m_Body;
        m_Title.setPointSizeF(16);
        m_Title.setBold(true);
        m_Painter.setFont(m_Body);
        m_dLine = m_Painter.fontMetrics().height() * 1.6;
        m_dGap = device.logicalDpiY() * 0.1;
        m_dTitleHeight = QFontMetricsF(m_Title, &device).height();
    }

    int LinesPerPage() const
    {
        const double bottom = m_Page.bottom() - m_dLine * 1.5;  // room for the page number
        const double header = m_dTitleHeight + m_dGap + m_Heading.size() * m_dLine + m_dGap + m_dLine;
        return std::max(1, static_cast<int>((bottom - m_Page.top() - header) / m_dLine));
    }

    // Title, heading lines and column headers; returns where the lines start.
    double DrawTop()
    {
        double y = m_Page.top();
        m_Painter.setFont(m_Title);
        m_Painter.setPen(Qt::black);
        m_Painter.drawText(QRectF(m_Page.left(), y, m_Page.width(), m_dTitleHeight), Qt::AlignCenter,
                           Q(comparetext::TITLE));
        y += m_dTitleHeight + m_dGap;
        m_Painter.setFont(m_Body);
        for (const QString& text : m_Heading) {
            m_Painter.drawText(QRectF(m_Page.left(), y, m_Page.width(), m_dLine), Qt::AlignCenter, text);
            y += m_dLine;
        }
        y += m_dGap;
        m_Painter.setFont(m_Bold);
        const QStringList headers = ItemHeaders();
        DrawRow(y, headers.constData(), TOTAL_BACK, 0);
        m_Painter.setFont(m_Body);
        return y + m_dLine;
    }

    // One line of the table, totals in bold on grey; returns the next line's
    // place.
    double DrawLine(double y, const STableLine& line)
    {
        m_Painter.setFont(line.m_bTotal ? m_Bold : m_Body);
        DrawRow(y, line.m_Cells, line.m_bTotal ? TOTAL_BACK : QColor(), line.m_nSign);
        return y + m_dLine;
    }

    void DrawPageNumber(int page, int pages)
    {
        m_Painter.setFont(m_Body);
        m_Painter.drawText(QRectF(m_Page.left(), m_Page.bottom() - m_dLine, m_Page.width(), m_dLine), Qt::AlignCenter,
                           QStringLiteral("第 %1 页 共 %2 页").arg(page).arg(pages));
    }

private:
    void DrawRow(double y, const QString* cells, const QColor& back, int sign)
    {
        static const double s_Widths[ITEM_COLS] = {0.2, 0.2, 0.08, 0.13, 0.13, 0.13, 0.13};
        double x = m_Page.left();
        for (int c = 0; c < ITEM_COLS; ++c) {
            const QRectF rc(x, y, m_Page.width() * s_Widths[c], m_dLine);
            if (back.isValid())
                m_Painter.fillRect(rc, back);
            if (c == ITEM_COL_INCREASE && sign > 0)
                m_Painter.setPen(INCREASE_TEXT);
            else if (c == ITEM_COL_DECREASE && sign < 0)
                m_Painter.setPen(DECREASE_TEXT);
            else
                m_Painter.setPen(Qt::black);
            const QRectF inner = rc.adjusted(m_dGap / 2, 0, -m_dGap / 2, 0);
            const Qt::Alignment align = c >= ITEM_COL_A ? NUMBER_ALIGN : Qt::AlignLeft | Qt::AlignVCenter;
            m_Painter.drawText(inner, align,
                               m_Painter.fontMetrics().elidedText(cells[c], Qt::ElideRight, inner.width()));
            m_Painter.setPen(Qt::black);
            m_Painter.drawRect(rc);
            x += rc.width();
        }
    }

    QPainter& m_Painter;
    const QRectF m_Page;
    const QStringList m_Heading;
    QFont m_Body;
    QFont m_Bold;
    QFont m_Title;
    double m_dLine = 0;
    double m_dGap = 0;
    double m_dTitleHeight = 0;
};

std::string WithExtension(std::string path, const char* ext)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        path += ext;
    return path;
}

}  // namespace

CCompareWindow::CCompareWindow(SSetup setup, CPrompt& prompt, QWidget* pParent)
    : QWidget(pParent, Qt::Window), m_Setup(std::move(setup)), m_Prompt(prompt)
{
    setObjectName(QStringLiteral("compareWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("对量 - %1").arg(GbkToQ(m_Setup.m_strOpenTitle)));
    // The copies are read only; they must not tell the main view anything.
    m_Setup.m_Open.SetObserver(nullptr);

    QHBoxLayout* pTop = MakeTopRow();
    MakeTables();
    auto* pSplitter = new QSplitter(Qt::Vertical, this);
    pSplitter->addWidget(m_pItems);
    pSplitter->addWidget(m_pRows);
    pSplitter->setStretchFactor(0, 1);
    pSplitter->setStretchFactor(1, 1);

    m_pStatus = new QLabel(this);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pTop);
    pLayout->addWidget(pSplitter, 1);
    pLayout->addWidget(m_pStatus);

    resize(980, 640);
    Recompare();
}

QHBoxLayout* CCompareWindow::MakeTopRow()
{
    auto* pTop = new QHBoxLayout;
    pTop->addWidget(new QLabel(QStringLiteral("当前计算稿作为"), this));
    m_pSide = new QComboBox(this);
    m_pSide->addItem(Q(comparetext::HEAD_B));
    m_pSide->addItem(Q(comparetext::HEAD_A));
    pTop->addWidget(m_pSide);
    m_pHeading = new QLabel(this);
    pTop->addSpacing(16);
    pTop->addWidget(m_pHeading, 1);
    m_pRefresh = new QPushButton(QStringLiteral("重新对比"), this);
    m_pRefresh->setToolTip(QStringLiteral("用当前计算稿现在的内容重新对比"));
    m_pExcel = new QPushButton(QStringLiteral("导出Excel…"), this);
    m_pPrint = new QPushButton(QStringLiteral("打印…"), this);
    m_pPdf = new QPushButton(QStringLiteral("导出PDF…"), this);
    auto* pClose = new QPushButton(QStringLiteral("关闭"), this);
    for (QPushButton* pButton : {m_pRefresh, m_pExcel, m_pPrint, m_pPdf, pClose})
        pTop->addWidget(pButton);

    connect(m_pSide, &QComboBox::currentIndexChanged, this, [this] { Recompare(); });
    connect(m_pRefresh, &QPushButton::clicked, this, [this] { Refresh(); });
    connect(m_pExcel, &QPushButton::clicked, this, [this] { ExportWorkbook(); });
    connect(m_pPrint, &QPushButton::clicked, this, [this] { Print(); });
    connect(m_pPdf, &QPushButton::clicked, this, [this] { ExportPdf(); });
    connect(pClose, &QPushButton::clicked, this, &QWidget::close);
    return pTop;
}

void CCompareWindow::MakeTables()
{
    m_pItems = new QTableWidget(0, ITEM_COLS, this);
    m_pItems->setObjectName(QStringLiteral("compareItems"));
    m_pItems->setHorizontalHeaderLabels(ItemHeaders());
    m_pItems->verticalHeader()->setVisible(false);
    m_pItems->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pItems->horizontalHeader()->setStretchLastSection(false);

    m_pRows = new QTableWidget(0, ROW_COLS, this);
    m_pRows->setObjectName(QStringLiteral("compareRows"));
    m_pRows->setHorizontalHeaderLabels({Q(comparetext::HEAD_KIND), Q(comparetext::HEAD_ITEM),
                                        Q(comparetext::HEAD_ROW_A), Q(comparetext::HEAD_ROW_B),
                                        Q(comparetext::HEAD_LOCATION), Q(comparetext::HEAD_CATEGORY),
                                        Q(comparetext::HEAD_TEXT_A), Q(comparetext::HEAD_TEXT_B)});
    m_pRows->verticalHeader()->setVisible(false);
    m_pRows->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pRows->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pRows->setItemDelegate(new CMarkedTextDelegate(m_pRows));
    m_pRows->horizontalHeader()->setSectionResizeMode(ROW_COL_TEXT_A, QHeaderView::Stretch);
    m_pRows->horizontalHeader()->setSectionResizeMode(ROW_COL_TEXT_B, QHeaderView::Stretch);
    m_pRows->setToolTip(QStringLiteral("双击一行，在计算稿中显示它"));

    for (QTableWidget* pTable : {m_pItems, m_pRows}) {
        pTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
        pTable->setAlternatingRowColors(false);
    }
    connect(m_pRows, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { RowActivated(row); });
    connect(m_pItems, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { ItemActivated(row); });
}

CCompareWindow::~CCompareWindow() = default;

bool CCompareWindow::OpenIsChecked() const
{
    return m_pSide->currentIndex() == 0;
}

void CCompareWindow::SetOpenIsChecked(bool bChecked)
{
    m_pSide->setCurrentIndex(bChecked ? 0 : 1);
}

QString CCompareWindow::SideTitle(bool bChecked) const
{
    const bool bOpen = bChecked == OpenIsChecked();
    return GbkToQ(bOpen ? m_Setup.m_strOpenTitle : m_Setup.m_strOtherTitle);
}

void CCompareWindow::Recompare()
{
    const bool bOpenChecked = OpenIsChecked();
    const SheetGrid& a = bOpenChecked ? m_Setup.m_Other : m_Setup.m_Open;
    const SheetGrid& b = bOpenChecked ? m_Setup.m_Open : m_Setup.m_Other;
    m_Comparison = sheetcompare::CompareSheets(a, b, m_Setup.m_nDecimals);
    m_pHeading->setText(QStringLiteral("%1：%2    %3：%4")
                            .arg(Q(comparetext::HEAD_A), SideTitle(false), Q(comparetext::HEAD_B), SideTitle(true)));
    FillItems();
    FillRows();
    m_pStatus->setText(QStringLiteral("%1 行不同").arg(m_Comparison.m_Rows.size()));
}

void CCompareWindow::Refresh()
{
    if (!m_TakeOpenSheet)
        return;
    m_TakeOpenSheet(m_Setup.m_Open, m_Setup.m_nDecimals);
    m_Setup.m_Open.SetObserver(nullptr);
    Recompare();
}

void CCompareWindow::FillItems()
{
    const std::vector<STableLine> lines = TableLines(m_Comparison);
    m_pItems->setRowCount(0);
    m_pItems->setRowCount(static_cast<int>(lines.size()));
    for (int r = 0; r < static_cast<int>(lines.size()); ++r) {
        const STableLine& line = lines[r];
        for (int c = 0; c < ITEM_COLS; ++c) {
            QTableWidgetItem* pItem = Cell(line.m_Cells[c], c >= ITEM_COL_A ? NUMBER_ALIGN : Qt::AlignLeft | Qt::AlignVCenter);
            if (line.m_bTotal)
                pItem->setBackground(TOTAL_BACK);
            if (c == ITEM_COL_INCREASE && line.m_nSign > 0) {
                pItem->setForeground(INCREASE_TEXT);
                pItem->setBackground(INCREASE_BACK);
            }
            if (c == ITEM_COL_DECREASE && line.m_nSign < 0) {
                pItem->setForeground(DECREASE_TEXT);
                pItem->setBackground(DECREASE_BACK);
            }
            m_pItems->setItem(r, c, pItem);
        }
    }
    m_pItems->resizeColumnsToContents();
    // Room for larger figures than the ones shown, and for the headings.
    for (int c = ITEM_COL_A; c < ITEM_COLS; ++c)
        m_pItems->setColumnWidth(c, std::max(m_pItems->columnWidth(c), fontMetrics().horizontalAdvance(QStringLiteral("000000.00")) + 12));
}

void CCompareWindow::FillRows()
{
    const auto& rows = m_Comparison.m_Rows;
    m_pRows->setRowCount(0);
    m_pRows->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const sheetcompare::SRowLine& line = rows[r];
        QTableWidgetItem* pKind = Cell(Q(sheetcompare::KindText(line.m_eKind)), Qt::AlignCenter);
        if (line.m_eKind == sheetcompare::ROW_ADDED)
            pKind->setForeground(INCREASE_TEXT);
        else if (line.m_eKind == sheetcompare::ROW_REMOVED)
            pKind->setForeground(DECREASE_TEXT);
        m_pRows->setItem(r, ROW_COL_KIND, pKind);
        m_pRows->setItem(r, ROW_COL_ITEM, Cell(GbkToQ(line.m_strItem)));
        m_pRows->setItem(r, ROW_COL_ROW_A, Cell(line.m_nRowA ? QString::number(line.m_nRowA) : QString(), NUMBER_ALIGN));
        m_pRows->setItem(r, ROW_COL_ROW_B, Cell(line.m_nRowB ? QString::number(line.m_nRowB) : QString(), NUMBER_ALIGN));
        m_pRows->setItem(r, ROW_COL_LOCATION, Cell(GbkToQ(line.m_strLocation)));
        m_pRows->setItem(r, ROW_COL_CATEGORY, Cell(GbkToQ(line.m_strCategory)));
        const QString textA = WithoutLineBreaks(line.m_strTextA);
        const QString textB = WithoutLineBreaks(line.m_strTextB);
        QTableWidgetItem* pA = Cell(textA);
        QTableWidgetItem* pB = Cell(textB);
        if (line.m_eKind == sheetcompare::ROW_CHANGED) {
            // Expressions and results are marked each against its own kind.
            const int sepA = ResultSeparator(textA);
            const int sepB = ResultSeparator(textB);
            pA->setData(HTML_ROLE, MarkedHtml(textA.left(sepA), textB.left(sepB), MARK_REMOVED) + MarkedHtml(textA.mid(sepA), textB.mid(sepB), MARK_REMOVED));
            pB->setData(HTML_ROLE, MarkedHtml(textB.left(sepB), textA.left(sepA), MARK_ADDED) + MarkedHtml(textB.mid(sepB), textA.mid(sepA), MARK_ADDED));
        }
        m_pRows->setItem(r, ROW_COL_TEXT_A, pA);
        m_pRows->setItem(r, ROW_COL_TEXT_B, pB);
    }
    m_pRows->resizeColumnToContents(ROW_COL_KIND);
    m_pRows->resizeColumnToContents(ROW_COL_ROW_A);
    m_pRows->resizeColumnToContents(ROW_COL_ROW_B);
}

void CCompareWindow::ItemActivated(int tableRow)
{
    // The item lines come first in the table; the 合计 lines below them
    // belong to no item.
    if (tableRow < 0 || tableRow >= static_cast<int>(m_Comparison.m_Items.size()))
        return;
    const sheetcompare::SItemLine& line = m_Comparison.m_Items[tableRow];
    ShowOpenRow(OpenIsChecked() ? line.m_nRowB : line.m_nRowA);
}

void CCompareWindow::ShowOpenRow(int row)
{
    if (row == 0) {
        m_pStatus->setText(QStringLiteral("这一行只在另一个计算稿（%1）中").arg(GbkToQ(m_Setup.m_strOtherTitle)));
        return;
    }
    m_pStatus->setText(QStringLiteral("第 %1 行").arg(row));
    if (m_ShowRow)
        m_ShowRow(row);
}

void CCompareWindow::RowActivated(int tableRow)
{
    if (tableRow < 0 || tableRow >= static_cast<int>(m_Comparison.m_Rows.size()))
        return;
    const sheetcompare::SRowLine& line = m_Comparison.m_Rows[tableRow];
    ShowOpenRow(OpenIsChecked() ? line.m_nRowB : line.m_nRowA);
}

bool CCompareWindow::ExportWorkbook()
{
    std::string path = docfile::TextToPath(m_Setup.m_strOpenTitle + "-" + comparetext::SHEET_ITEMS + ".xlsx");
    if (!m_Prompt.ChooseFile(true, QToGbk(QStringLiteral("Excel 工作簿 (*.xlsx)|*.xlsx||")), path))
        return false;
    path = WithExtension(path, ".xlsx");
    std::string reason;
    if (!sheetcompare::WriteWorkbook(m_Comparison, path, reason)) {
        m_Prompt.ShowMessage(reason, doctext::TEXT_WARNING);
        return false;
    }
    m_pStatus->setText(QStringLiteral("已导出到 %1").arg(NativePathToQ(path)));
    return true;
}

bool CCompareWindow::ExportPdf()
{
    std::string path = docfile::TextToPath(m_Setup.m_strOpenTitle + "-" + comparetext::SHEET_ITEMS + ".pdf");
    if (!m_Prompt.ChooseFile(true, QToGbk(QStringLiteral("PDF 文件 (*.pdf)|*.pdf||")), path))
        return false;
    path = WithExtension(path, ".pdf");
    const std::string& native = path;
    // Written beside the target and put in its place only when complete.
    const std::string temp = native + ".~tmp";
    int pages = 0;
    {
        QPdfWriter writer(NativePathToQ(temp));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(QStringLiteral("对量表"));
        pages = RenderItemTable(writer);
    }
    if (pages == 0 || QFile(NativePathToQ(temp)).size() == 0 || std::rename(temp.c_str(), native.c_str()) != 0) {
        std::remove(temp.c_str());
        m_Prompt.ShowMessage(QToGbk(QStringLiteral("PDF文件写入失败！")), doctext::TEXT_WARNING);
        return false;
    }
    m_pStatus->setText(QStringLiteral("已导出到 %1（%2 页）").arg(NativePathToQ(path)).arg(pages));
    return true;
}

void CCompareWindow::Print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        RenderItemTable(printer);
}

int CCompareWindow::RenderItemTable(QPagedPaintDevice& device) const
{
    const std::vector<STableLine> lines = TableLines(m_Comparison);
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    QStringList heading;
    for (const std::string& text : m_Setup.m_Titles)
        if (!text.empty())
            heading << GbkToQ(text);
    heading << QStringLiteral("%1：%2    %3：%4")
                   .arg(Q(comparetext::HEAD_A), SideTitle(false), Q(comparetext::HEAD_B), SideTitle(true));

    CItemTablePage page(painter, device, font(), heading);
    const int perPage = page.LinesPerPage();
    const int pages = std::max(1, static_cast<int>((lines.size() + perPage - 1) / perPage));
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            device.newPage();
        double y = page.DrawTop();
        const int first = p * perPage;
        const int last = std::min<int>(static_cast<int>(lines.size()), first + perPage);
        for (int i = first; i < last; ++i)
            y = page.DrawLine(y, lines[i]);
        page.DrawPageNumber(p + 1, pages);
    }
    painter.end();
    return pages;
}
