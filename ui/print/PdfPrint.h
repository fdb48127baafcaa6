// Printing a prepared job on a paged device (a printer or a PDF writer),
// and writing it as a PDF file that is either complete or not there at all.
#pragma once

#include <QPageLayout>
#include <string>

#include "core/print/PrintJob.h"

class CProgress;
class QPagedPaintDevice;
class QPaintDevice;

// A page of the given size and orientation with the margins of the
// reference printer: on A4 at 600 dots per inch the printable area is laid
// out at the reference page's scale.
QPageLayout PrintPageLayout(QPageSize::PageSizeId size = QPageSize::A4,
                            QPageLayout::Orientation orientation = QPageLayout::Portrait);
// The resolution of PDF prints.
const int PDF_DPI = 600;

// The number of pages of the job on a device.
int PrintPageCount(const SPrintJob& job, const QPaintDevice& device);

// Paints pages from..to (from 1) of the job on the device, one device page
// each, advancing the progress (when given) a page at a time. False when the
// user cancelled or the device refused to start.
bool PaintPrintJob(QPagedPaintDevice& device, const SPrintJob& job, int from, int to, CProgress* pProgress);

// Writes every page of the job into a PDF file at nativePath: the file is
// written under a temporary name in the same folder and renamed over the
// target only when complete. pages gets the page count. False on failure
// (reason holds the cause, GBK) or when the user cancelled (reason empty).
bool WritePrintPdf(const SPrintJob& job, const std::string& nativePath, const QPageLayout& layout, CProgress* pProgress,
                   int& pages, std::string& reason);
