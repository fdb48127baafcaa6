#include "ui/print/PdfPrint.h"

#include <QFile>
#include <QFileInfo>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "core/document/Progress.h"
#include "core/print/PrintTexts.h"
#include "core/text/TextCodec.h"
#include "ui/print/PrintPainter.h"

QPageLayout PrintPageLayout(QPageSize::PageSizeId size, QPageLayout::Orientation orientation)
{
    // About 6 mm on every side, the unprintable border of the reference
    // printer. The PDF writer counts its page in whole points: on A4 at 600
    // dpi these margins leave 4683 x 6750 dots, the smallest area that is
    // not below the reference page of 4676 x 6744 (so the scale is 1).
    const QMarginsF margins(16, 16, 17, 16);
    return QPageLayout(QPageSize(size), orientation, margins, QPageLayout::Point);
}

int PrintPageCount(const SPrintJob& job, const QPaintDevice& device)
{
    const SPrintDevice dev = PrintDeviceOf(device);
    const CPrintFonts fonts(dev, &device);
    return CPrintLayout(job.m_Table, job.m_Settings, dev, fonts.Heights()).PageCount();
}

bool PaintPrintJob(QPagedPaintDevice& device, const SPrintJob& job, int from, int to, CProgress* pProgress)
{
    const SPrintDevice dev = PrintDeviceOf(device);
    const CPrintFonts fonts(dev, &device);
    const CPrintLayout layout(job.m_Table, job.m_Settings, dev, fonts.Heights());
    from = std::max(1, from);
    to = std::min(to, layout.PageCount());
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    if (pProgress) {
        pProgress->Open(printtext::PRINTING);
        pProgress->SetBounds(0, std::max(1, to - from + 1), 1);
        pProgress->SetMessage("");
    }
    bool bDone = true;
    for (int p = from; p <= to; ++p) {
        if (p > from)
            device.newPage();
        DrawPrintPage(painter, layout.Page(p), fonts);
        if (pProgress) {
            pProgress->Advance();
            pProgress->PumpPendingMessages(true);
            if (pProgress->IsCancelled()) {
                bDone = false;
                break;
            }
        }
    }
    painter.end();
    if (pProgress)
        pProgress->Close();
    return bDone;
}

bool WritePrintPdf(const SPrintJob& job, const std::string& nativePath, const QPageLayout& layout, CProgress* pProgress,
                   int& pages, std::string& reason)
{
    pages = 0;
    reason.clear();
    QSaveFile file(QFile::decodeName(QByteArray::fromStdString(nativePath)));
    if (!file.open(QIODevice::WriteOnly)) {
        reason = textcodec::Utf8ToGbk(CUtf8Text(file.errorString().toStdString()));
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(PDF_DPI);
        writer.setPageLayout(layout);
        writer.setCreator(QStringLiteral("Quantorix"));
        writer.setTitle(QFileInfo(QFile::decodeName(QByteArray::fromStdString(nativePath))).completeBaseName());
        pages = PrintPageCount(job, writer);
        if (!PaintPrintJob(writer, job, 1, pages, pProgress)) {
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        reason = textcodec::Utf8ToGbk(CUtf8Text(file.errorString().toStdString()));
        return false;
    }
    return true;
}
