#include "ui/desktop/PrintDialogs.h"

#include "core/document/FileOps.h"
#include "core/print/PrintSelection.h"
#include "core/print/PrintTexts.h"
#include "ui/desktop/GbkQt.h"
#include "ui/desktop/ProgressPopup.h"
#include "ui/desktop/SettingsDialogs.h"
#include "ui/desktop/SheetViewController.h"
#include "ui/print/PdfPrint.h"
#include "ui/print/PrintPainter.h"
#include "ui/skin/FlatButton.h"
#include "ui/skin/SkinFrame.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryFile>
#include <QVBoxLayout>
#include <climits>

namespace {

// A drop-down list that says when the user opens it.
class CCategoryBox : public QComboBox {
public:
    CCategoryBox(QWidget* pParent, std::function<void()> onOpen) : QComboBox(pParent), m_OnOpen(std::move(onOpen)) {}
    void showPopup() override
    {
        m_OnOpen();
        QComboBox::showPopup();
    }

private:
    std::function<void()> m_OnOpen;
};

QPushButton* MakeButton(QWidget* pParent, const QString& text, const char* name = nullptr)
{
    auto* pButton = new QPushButton(text, pParent);
    if (name)
        pButton->setObjectName(QString::fromLatin1(name));
    pButton->setAutoDefault(false);
    return pButton;
}

}  // namespace

// ---------------------------------------------------------------------------
// Print content

CPrintContentDlg::CPrintContentDlg(CPrintSelection& selection, const std::vector<std::string>& categories,
                                   QWidget* pParent)
    : QDialog(pParent), m_Selection(selection)
{
    setWindowTitle(QStringLiteral("选择打印内容设置..."));
    auto* pMain = new QVBoxLayout(this);
    m_pModes = new QButtonGroup(this);
    m_pModes->setExclusive(false);  // the dialog checks its buttons itself
    const std::pair<int, QString> modes[3] = {{1027, QStringLiteral("打印全部内容")},
                                              {1028, QStringLiteral("仅打印汇总内容")},
                                              {1029, QStringLiteral("仅打印“规格类别” ＝")}};
    auto* pCategoryRow = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        auto* pRadio = new QRadioButton(modes[i].second, this);
        pRadio->setObjectName(QString::number(modes[i].first));
        pRadio->setAutoExclusive(false);
        m_pModes->addButton(pRadio, i + 1);
        if (i < 2)
            pMain->addWidget(pRadio);
        else
            pCategoryRow->addWidget(pRadio);
    }
    m_pCategories = new CCategoryBox(this, [this]() { Choose(CPrintSelection::MODE_CATEGORY); });
    m_pCategories->setObjectName(QStringLiteral("1031"));
    m_pCategories->setMinimumContentsLength(16);
    for (const std::string& category : categories)
        m_pCategories->addItem(GbkToQ(category));
    const int chosen = m_pCategories->findText(GbkToQ(selection.Category()), Qt::MatchExactly);
    m_pCategories->setCurrentIndex(chosen >= 0 ? chosen : (categories.empty() ? -1 : 0));
    pCategoryRow->addWidget(m_pCategories, 1);
    pMain->addLayout(pCategoryRow);

    // The dialog's default action looks like its OK and Cancel buttons.
    auto* pPrint = new CFlatButton(QStringLiteral("打印..."), this);
    pPrint->setObjectName(QStringLiteral("57607"));
    pPrint->setAutoDefault(false);
    connect(pPrint, &QPushButton::clicked, this, [this]() {
        if (m_OnPrint)
            m_OnPrint();
    });
    AddOkCancelRow(this, pMain, pPrint);
    connect(m_pModes, &QButtonGroup::idClicked, this, [this](int id) { Choose(id); });
    const int mode = selection.Mode();
    Choose(mode == CPrintSelection::MODE_ALL || mode == CPrintSelection::MODE_SUMMARY ? mode
                                                                                      : CPrintSelection::MODE_CATEGORY);
    m_nChoice = mode;  // the dialog's choice starts as the mode in force
    CSkinFrame::Apply(this);
}

void CPrintContentDlg::Choose(int nChoice)
{
    m_nChoice = nChoice;
    for (QAbstractButton* pButton : m_pModes->buttons())
        pButton->setChecked(m_pModes->id(pButton) == nChoice);
}

void CPrintContentDlg::accept()
{
    const int index = m_pCategories->currentIndex();
    m_Selection.Set(m_nChoice, index >= 0 ? QToGbk(m_pCategories->itemText(index)) : std::string());
    QDialog::accept();
}

// ---------------------------------------------------------------------------
// Preview

CPrintPreviewDlg::CPrintPreviewDlg(const SPrintJob& job, QPrinter& printer, QWidget* pParent)
    : QDialog(pParent), m_Job(job), m_Printer(printer)
{
    setWindowTitle(QStringLiteral("打印预览"));
    m_PageSetup = [](QPrinter& p) {
        QPageSetupDialog dlg(&p);
        return dlg.exec() == QDialog::Accepted;
    };
    auto* pMain = new QVBoxLayout(this);
    auto* pBar = new QHBoxLayout;
    auto* pPrint = MakeButton(this, QStringLiteral("打印..."), "57607");
    auto* pFirst = MakeButton(this, QStringLiteral("首页"), "first");
    auto* pPrev = MakeButton(this, QStringLiteral("上一页"), "prev");
    auto* pNext = MakeButton(this, QStringLiteral("下一页"), "next");
    auto* pLast = MakeButton(this, QStringLiteral("末页"), "last");
    m_pPageBox = new QSpinBox(this);
    m_pPageBox->setObjectName(QStringLiteral("page"));
    m_pCount = new QLabel(this);
    m_pZoom = new QComboBox(this);
    m_pZoom->setObjectName(QStringLiteral("zoom"));
    for (int zoom : {50, 75, 100, 125, 150, 200})
        m_pZoom->addItem(QStringLiteral("%1%").arg(zoom), zoom);
    m_pZoom->setCurrentIndex(2);
    auto* pSetup = MakeButton(this, QStringLiteral("页面设置..."), "57606");
    auto* pClose = MakeButton(this, QStringLiteral("关闭"), "2");
    for (QWidget* pWidget : std::initializer_list<QWidget*>{pPrint, pFirst, pPrev, m_pPageBox, m_pCount, pNext, pLast,
                                                            m_pZoom, pSetup})
        pBar->addWidget(pWidget);
    pBar->addStretch(1);
    pBar->addWidget(pClose);
    pMain->addLayout(pBar);
    m_pScroll = new QScrollArea(this);
    m_pScroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_pScroll->setBackgroundRole(QPalette::Dark);
    m_pPage = new QLabel;
    m_pScroll->setWidget(m_pPage);
    pMain->addWidget(m_pScroll, 1);

    connect(pPrint, &QPushButton::clicked, this, [this]() {
        m_bPrint = true;
        accept();
    });
    connect(pClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(pFirst, &QPushButton::clicked, this, [this]() { ShowPage(1); });
    connect(pPrev, &QPushButton::clicked, this, [this]() { ShowPage(m_nPage - 1); });
    connect(pNext, &QPushButton::clicked, this, [this]() { ShowPage(m_nPage + 1); });
    connect(pLast, &QPushButton::clicked, this, [this]() { ShowPage(PageCount()); });
    connect(m_pPageBox, &QSpinBox::valueChanged, this, [this](int page) { ShowPage(page); });
    connect(m_pZoom, &QComboBox::currentIndexChanged, this, [this]() { SetZoom(m_pZoom->currentData().toInt()); });
    connect(pSetup, &QPushButton::clicked, this, [this]() {
        if (m_PageSetup && m_PageSetup(m_Printer))
            Relayout();
    });
    resize(900, 760);
    Relayout();
}

CPrintPreviewDlg::~CPrintPreviewDlg() = default;

int CPrintPreviewDlg::PageCount() const
{
    return std::max(1, m_pLayout->PageCount());
}

void CPrintPreviewDlg::Relayout()
{
    // The page of the printer as it is now set up: its own fonts and lines.
    const SPrintDevice device = PrintDeviceOf(m_Printer);
    m_pFonts = std::make_unique<CPrintFonts>(device, &m_Printer);
    m_pLayout = std::make_unique<CPrintLayout>(m_Job.m_Table, m_Job.m_Settings, device, m_pFonts->Heights());
    m_Cache.clear();
    m_pPageBox->blockSignals(true);
    m_pPageBox->setRange(1, PageCount());
    m_pPageBox->blockSignals(false);
    m_pCount->setText(QStringLiteral("/ %1").arg(PageCount()));
    m_nPage = std::min(m_nPage, PageCount());
    Render();
}

void CPrintPreviewDlg::ShowPage(int nPage)
{
    nPage = std::max(1, std::min(nPage, PageCount()));
    if (nPage == m_nPage)
        return;
    m_nPage = nPage;
    Render();
    m_pScroll->verticalScrollBar()->setValue(0);
}

void CPrintPreviewDlg::SetZoom(int nPercent)
{
    if (nPercent == m_nZoom || nPercent <= 0)
        return;
    m_nZoom = nPercent;
    m_Cache.clear();
    Render();
}

void CPrintPreviewDlg::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_PageDown: ShowPage(m_nPage + 1); return;
    case Qt::Key_PageUp: ShowPage(m_nPage - 1); return;
    case Qt::Key_Home: ShowPage(1); return;
    case Qt::Key_End: ShowPage(PageCount()); return;
    default: QDialog::keyPressEvent(e);
    }
}

void CPrintPreviewDlg::Render()
{
    m_pPageBox->blockSignals(true);
    m_pPageBox->setValue(m_nPage);
    m_pPageBox->blockSignals(false);
    const QImage image = PageImage(m_nPage);
    m_pPage->setPixmap(QPixmap::fromImage(image));
    m_pPage->resize(image.size() / image.devicePixelRatio());
}

QImage CPrintPreviewDlg::PageImage(int nPage)
{
    auto it = m_Cache.find(nPage);
    if (it != m_Cache.end())
        return it->second;
    // The whole sheet of paper at the zoom, the printable area placed by the
    // printer's margins.
    const qreal ratio = devicePixelRatioF();
    const int dpi = m_Printer.resolution();
    const qreal screenDpi = screen() ? screen()->logicalDotsPerInch() : 96.0;
    const qreal scale = screenDpi / dpi * m_nZoom / 100.0 * ratio;
    const QRect paper = m_Printer.pageLayout().fullRectPixels(dpi);
    const QRect printable = m_Printer.pageLayout().paintRectPixels(dpi);
    QImage image(qRound(paper.width() * scale), qRound(paper.height() * scale), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(scale / ratio, scale / ratio);  // the painter applies the ratio itself
        painter.translate(printable.topLeft());
        DrawPrintPage(painter, m_pLayout->Page(nPage), *m_pFonts);
    }
    ++m_nRendered;
    // A few pages are kept for turning back and forth.
    if (m_Cache.size() >= 8)
        m_Cache.erase(m_Cache.begin());
    m_Cache.emplace(nPage, image);
    return image;
}

// ---------------------------------------------------------------------------
// Commands

CPrintCommands::CPrintCommands(CSheetViewController& controller, QWidget* pWindow)
    : m_Controller(controller), m_pWindow(pWindow), m_Printer(QPrinter::HighResolution)
{
    m_Printer.setResolution(PDF_DPI);
    m_Printer.setPageLayout(PrintPageLayout());
    m_ChoosePrinter = [this](QPrinter& printer, int nPages) {
        QPrintDialog dlg(&printer, m_pWindow);
        dlg.setWindowTitle(QStringLiteral("打印"));
        dlg.setOption(QAbstractPrintDialog::PrintPageRange);
        dlg.setMinMax(1, std::max(1, nPages));
        printer.setFromTo(0, 0);
        return dlg.exec() == QDialog::Accepted;
    };
    m_RunDialog = [](QDialog& dlg) { return dlg.exec(); };
}

CPrintCommands::~CPrintCommands() = default;

void CPrintCommands::ChooseContent()
{
    CPrintContentDlg dlg(m_Controller.Session().PrintSelection(), CPrintSelection::CategoryList(m_Controller.Sheet()),
                         m_pWindow);
    dlg.m_OnPrint = [this]() { Print(); };
    m_RunDialog(dlg);
}

void CPrintCommands::Print()
{
    SPrintJob job;
    if (m_Controller.PreparePrint(job))
        PrintJob(job);
}

void CPrintCommands::Preview()
{
    SPrintJob job;
    if (!m_Controller.PreparePrint(job))
        return;
    CPrintPreviewDlg dlg(job, m_Printer, m_pWindow);
    m_RunDialog(dlg);
    if (dlg.PrintRequested())
        PrintJob(job);
}

void CPrintCommands::PageSetup()
{
    QPageSetupDialog dlg(&m_Printer, m_pWindow);
    m_RunDialog(dlg);
}

void CPrintCommands::PrintJob(const SPrintJob& job)
{
    // The dialog offers the pages of the printer as it is set up now; the
    // pages themselves are counted again on the printer finally chosen.
    if (!m_ChoosePrinter(m_Printer, PrintPageCount(job, m_Printer)))
        return;
    int from = m_Printer.fromPage();
    int to = m_Printer.toPage();
    if (from <= 0) {
        from = 1;
        to = INT_MAX;
    }
    if (m_Printer.outputFormat() == QPrinter::PdfFormat && !m_Printer.outputFileName().isEmpty()) {
        PrintToPdfFile(job, from, to);
        return;
    }
    CProgressPopup progress(m_pWindow);
    PaintPrintJob(m_Printer, job, from, to, &progress);
}

bool CPrintCommands::PrintToPdfFile(const SPrintJob& job, int from, int to)
{
    // Written under a temporary name beside the target and renamed over it
    // when complete: a cancelled or failed print leaves the old file alone.
    const QString target = m_Printer.outputFileName();
    const QFileInfo info(target);
    QTemporaryFile temp(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    if (!temp.open()) {
        Warn(printtext::PDF_FAILED + QToGbk(QStringLiteral("\n") + target));
        return false;
    }
    temp.close();
    m_Printer.setOutputFileName(temp.fileName());
    bool bDone = false;
    bool bCancelled = false;
    {
        CProgressPopup progress(m_pWindow);
        bDone = PaintPrintJob(m_Printer, job, from, to, &progress);
        bCancelled = progress.IsCancelled();
    }
    m_Printer.setOutputFileName(target);
    if (!bDone) {
        if (!bCancelled)
            Warn(printtext::PDF_FAILED + QToGbk(QStringLiteral("\n") + target));
        return false;
    }
    QFile::setPermissions(temp.fileName(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (!docfile::MoveFileReplace(QToNativePath(temp.fileName()), QToNativePath(target))) {
        Warn(printtext::PDF_FAILED + QToGbk(QStringLiteral("\n") + target));
        return false;
    }
    temp.setAutoRemove(false);
    return true;
}

void CPrintCommands::Warn(const std::string& gbk)
{
    QMessageBox::warning(m_pWindow, GbkToQ(printtext::WARNING), GbkToQ(gbk));
}
