// The damaged-file corpus (HostileFiles.h) through every way a picture file
// enters the program: the picture library's check, the library itself as the
// screen and the printed logo load it, the settings page's check of a chosen
// logo, and the PDF logo.  Nothing crashes or hangs, memory stays bounded, a
// refused file reaches no decoder, and the PDF still saves whole.
#include "QlGTest.h"
#include "HostileFiles.h"
#include "PictureFixtures.h"
#include "QlTestPdf.h"
#include "QlTestPrint.h"
#include "print/QlPdf.h"
#include "print/QlPicture.h"
#include "picture/GlimmetCheck.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

double Seconds(void)
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

// The processor time the program has used: what a decoder costs, whatever
// else the machine is doing.
double ProcessorSeconds(void)
{
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return (double)(k.QuadPart + u.QuadPart) / 1e7;
}

}  // namespace

TEST(HostileCorpus, EveryEntryPointRefusesOrDecodesWithinBounds)
{
    const std::string dir = QlTestMakeFolder("qlhostile");
    ASSERT_FALSE(dir.empty());
    ASSERT_EQ(1, QlPictureLibLoad());
    const std::vector<QlHostileFile> corpus = QlHostileCorpus(3);
    ASSERT_GT(corpus.size(), 80u);
    // The peak of resident memory can be measured from a known start.
    ASSERT_TRUE(QlHostilePeakReset());
    ASSERT_GT(QlHostilePeakKb(), 0);

    HPDF_Doc doc = HPDF_New(NULL, NULL);
    ASSERT_NE(nullptr, doc);
    HPDF_Font font = HPDF_GetFont(doc, "Helvetica", "WinAnsiEncoding");
    const float W = 595.276f, H = 841.89f, u = H * 25.4f / 297;
    int drawn = 0, refused = 0;
    for (const QlHostileFile &file : corpus) {
        SCOPED_TRACE(file.name);
        const std::string path = dir + "\\" + file.name;
        ASSERT_TRUE(QlTestWriteFile(path, file.bytes.data(), file.bytes.size()));
        HPDF_Page page = HPDF_AddPage(doc);
        HPDF_Page_SetSize(page, HPDF_PAGE_SIZE_A4, HPDF_PAGE_PORTRAIT);
        HPDF_Page_SetFontAndSize(page, font, 9);

        QlHostilePeakReset();
        const long before = QlHostilePeakKb();
        const double start = Seconds(), startCpu = ProcessorSeconds();
        GlimmetPictureInfo info;
        const int whole = GlimmetPictureCheck(file.bytes.data(), file.bytes.size(), &info);
        if (file.verdict != QL_HOSTILE_ANY) {
            EXPECT_EQ(file.verdict == QL_HOSTILE_PASSES, whole == 1);
        }
        EXPECT_EQ(whole, QlPictureFileChecks(path.c_str()));   // the settings page's check of a chosen logo
        QlPictureSizeRec size = {};
        HBITMAP copy = QlPictureLoadCopy(path.c_str(), &size);   // the screen's and the printed logo's way
        const int placed = QlPdfDrawLogo(doc, page, path.c_str(), u, H - u, W, H, u);
        const double elapsed = Seconds() - start, cpu = ProcessorSeconds() - startCpu;
        const long grown = QlHostilePeakKb() - before;
        if (copy) DeleteObject(copy);

        if (!whole) {
            refused++;
            EXPECT_EQ(nullptr, copy);
            EXPECT_EQ(0, placed);
        } else if (file.verdict == QL_HOSTILE_PASSES) {
            EXPECT_NE(nullptr, copy);
            if (copy) {
                EXPECT_EQ((int)info.width, size.width);
            }
        }
        drawn += placed;
        EXPECT_EQ(HPDF_OK, HPDF_GetError(doc));
        // Bounds, not speed: a decoder left to a damaged header ran for
        // minutes or took gigabytes; a camera photo's size (6000 x 4000)
        // takes eight to twelve seconds and under 300 MB here, through all of
        // them (two full decodes, a copy and a conversion).  The processor
        // time is bounded, which a busy machine does not change; the time on
        // the clock only far below the watchdog's limit.
        EXPECT_LT(cpu, 30.0);
        EXPECT_LT(elapsed, 150.0);
        EXPECT_LT(grown, 400L * 1024);
        char line[160];
        snprintf(line, sizeof line, "%s: %s, %.0f ms, +%ld MB", file.name.c_str(), whole ? "taken" : "refused",
                 elapsed * 1000, grown / 1024);
        HPDF_Page_BeginText(page);
        HPDF_Page_TextOut(page, u, u, line);
        HPDF_Page_EndText(page);
    }
    EXPECT_GT(refused, 40);
    EXPECT_GT(drawn, 10);

    // Kept with the other artefacts: a page a file, saying what became of it.
    const std::string pdf = QlTestArtifactDir() + "/hostile-corpus.pdf";
    ASSERT_EQ(HPDF_OK, HPDF_SaveToFile(doc, pdf.c_str()));
    HPDF_Free(doc);
    std::string report;
    EXPECT_TRUE(QlTestPdfCheck(pdf, &report)) << report;
    QlPictureLibFree();
    QlTestRemoveFolder(dir);
}
