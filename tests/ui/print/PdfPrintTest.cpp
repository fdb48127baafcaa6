// The PDF device and the writing of whole PDF files.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPdfWriter>

#include "core/document/Progress.h"
#include "core/print/PrintTexts.h"
#include "ui/print/PdfPrint.h"
#include "ui/print/PrintPainter.h"

namespace {

SPrintJob Job(int rows)
{
    SPrintJob job;
    job.m_Table.m_Lines.resize(rows);
    for (int i = 0; i < rows; ++i)
        job.m_Table.m_Lines[i].m_t[3] = "1+" + std::to_string(i);
    job.m_Table.m_nCount = rows;
    job.m_Settings.m_strSeatSign[2] = "31";
    return job;
}

std::string ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

}  // namespace

TEST(PdfPrint, A4IsTheReferenceDevice)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(PDF_DPI);
    writer.setPageLayout(PrintPageLayout());
    const SPrintDevice dev = PrintDeviceOf(writer);
    EXPECT_EQ(dev.m_nDpiX, 600);
    const int widths[4] = {12, 14, 48, 8};
    const SPrintGeometry g = PrintGeometry(dev, SPrintFontHeights(), widths);
    EXPECT_EQ(g.m_sx, 1.0f) << dev.m_nWidth;
    EXPECT_EQ(g.m_sy, 1.0f) << dev.m_nHeight;
    // The face is there and its line heights are those of the sizes asked.
    const CPrintFonts fonts(dev, &writer);
    EXPECT_EQ(fonts.Font(PRINTFONT_BODY).family(), CPrintFonts::Family());
    EXPECT_GE(fonts.Heights().m_nBody, 91);
    EXPECT_LT(fonts.Heights().m_nBody, 130);
    EXPECT_GT(fonts.Heights().m_nTitle, fonts.Heights().m_nBody);
}

TEST(PdfPrint, FileIsWholeOrNotThere)
{
    const QString dir = QDir::tempPath() + QStringLiteral("/qtx_pdfprint_%1").arg(QCoreApplication::applicationPid());
    QDir().mkpath(dir);
    const QString path = dir + QStringLiteral("/out.pdf");
    QFile::remove(path);
    const SPrintJob job = Job(200);
    int pages = 0;
    std::string reason;
    ASSERT_TRUE(WritePrintPdf(job, path.toStdString(), PrintPageLayout(), nullptr, pages, reason));
    EXPECT_GT(pages, 5);
    const std::string first = ReadFile(path);
    EXPECT_EQ(first.compare(0, 5, "%PDF-"), 0);

    // Cancelled on the third page: the earlier file stays as it was and no
    // temporary file is left behind.
    CRecordingProgress progress;
    progress.m_nCancelAtPump = 3;
    EXPECT_FALSE(WritePrintPdf(Job(300), path.toStdString(), PrintPageLayout(), &progress, pages, reason));
    EXPECT_TRUE(reason.empty());
    EXPECT_EQ(progress.m_Opened, std::vector<std::string>{printtext::PRINTING});
    EXPECT_EQ(ReadFile(path), first);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("out.pdf")});

    EXPECT_FALSE(WritePrintPdf(job, (dir + "/missing/x.pdf").toStdString(), PrintPageLayout(), nullptr, pages, reason));
    EXPECT_FALSE(reason.empty());
    QDir(dir).removeRecursively();
}

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
