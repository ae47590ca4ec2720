// One invoice printed as a user prints it: through Wine's printer driver to
// a CUPS queue whose backend (Debian's cups-pdf) writes a PDF file, read
// back with pdftotext.  The test starts a cupsd of its own on a socket of
// its own (tests/documents/cups/qlcups.sh), runs the printing program
// (documents_cups_print) with CUPS_SERVER pointing at it in a Wine prefix of
// its own, waits for the file, and stops the servers and removes their files
// whatever happened.
#define NOMINMAX
#include "QlGTest.h"
#include "QlTestPdf.h"

#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include <string>

namespace {

std::string Env(const char *name)
{
    const char *value = getenv(name);
    return value ? value : "";
}

// Stops the server and the printing program's Wine server however the test
// ends, and removes their files.
struct CupsServer {
    std::string script, dir, wineserver;
    ~CupsServer()
    {
        if (dir.empty()) return;
        QlTestRun("WINEPREFIX='" + dir + "/wine' timeout 60 '" + wineserver + "' -k 2>&1");
        QlTestRun("sh '" + script + "' stop '" + dir + "' 2>&1");
    }
};

// The first file in the folder ending in .pdf, "" when none.
std::string FirstPdf(const std::string &dir)
{
    std::string out = QlTestRun("ls '" + dir + "' 2>/dev/null | grep '\\.pdf$' | head -n 1");
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out.empty() ? "" : dir + "/" + out;
}

TEST(DocCups, AnInvoicePrintsThroughWineToACupsPdfQueue)
{
    const std::string source = Env("QL_SOURCE_DIR"), bin = Env("QL_BIN_DIR"), wine = Env("QL_WINE64");
    ASSERT_FALSE(source.empty() || bin.empty() || wine.empty()) << "QL_SOURCE_DIR, QL_BIN_DIR, QL_WINE64";
    CupsServer server;
    server.script = source + "/tests/documents/cups/qlcups.sh";
    const std::string dir = "/tmp/qlcups-" + std::to_string(getpid());
    server.dir = dir;

    int status = -1;
    std::string started = QlTestRun("sh '" + server.script + "' start '" + dir + "' QLPDF 2>&1", &status);
    ASSERT_EQ(0, status) << started;
    ASSERT_NE(std::string::npos, started.find("READY")) << started;

    // The printing program runs in a Wine prefix of its own: Wine's spooler
    // reads the CUPS queues once in a Wine server's life, when winspool is
    // first loaded, and this test program's server has long done so without
    // this queue.  Every step is bounded by timeout.
    server.wineserver = wine.substr(0, wine.rfind('/') + 1) + "wineserver";
    const std::string env = "WINEPREFIX='" + dir + "/wine' WINEDEBUG=-all ";
    std::string booted = QlTestRun(env + "timeout 180 '" + wine + "' wineboot -i 2>&1", &status);
    ASSERT_EQ(0, status) << "wineboot of the printing program's prefix: " << booted;
    // The faces the program asks for, as in the test prefix.
    std::string fonts = QlTestRun(env + "timeout 60 '" + wine + "' reg import 'Z:" + source + "/tools/fonts.reg' 2>&1",
                                  &status);
    ASSERT_EQ(0, status) << "the font mapping of the printing program's prefix: " << fonts;
    std::string printed = QlTestRun(env + "CUPS_SERVER='" + dir + "/cups.sock' timeout 120 '" + wine + "' '" + bin +
                                        "/documents_cups_print.exe.so' QLPDF 2>&1",
                                    &status);
    ASSERT_EQ(0, status) << "the invoice was not printed: " << printed;
    ASSERT_NE(std::string::npos, printed.find("PRINTED 1 dialogs 1")) << printed;

    // The job goes through pstops, cups-pdf and Ghostscript: wait up to 60 s.
    std::string pdf;
    for (int i = 0; i < 600 && pdf.empty(); i++) {
        pdf = FirstPdf(dir + "/out");
        if (pdf.empty()) usleep(100 * 1000);
    }
    ASSERT_FALSE(pdf.empty()) << "no PDF from the queue in 60 s; jobs: "
                              << QlTestRun("CUPS_SERVER='" + dir + "/cups.sock' lpstat -W all -o 2>&1")
                              << "\nlog:\n" << QlTestRun("tail -n 30 '" + dir + "/log/error_log' 2>&1");
    // cups-pdf writes the file in place: wait until pdfinfo reads it whole.
    PdfInfo info;
    for (int i = 0; i < 100 && !QlTestPdfInfo(pdf, &info); i++) usleep(100 * 1000);
    ASSERT_TRUE(QlTestPdfInfo(pdf, &info)) << pdf;
    EXPECT_EQ(1, info.pages);
    EXPECT_NEAR(595, info.width, 2);
    EXPECT_NEAR(842, info.height, 2);
    const std::string text = QlTestPdfText(pdf);
    for (const char *expected : {"INVOICE", "Quillory Ltd", "Joe's Plumbing", "4711", "Consulting", "Travel", "170.00",
                                 "209.10", "Two Hundred Nine .10 Only", "Payment within 30 days"})
        EXPECT_NE(std::string::npos, text.find(expected)) << expected << " in:\n" << text;

    const std::string artifacts = Env("QL_ARTIFACT_DIR");
    if (!artifacts.empty()) {
        QlTestRun("mkdir -p '" + artifacts + "'");
        EXPECT_TRUE(QlTestPdfToPng(pdf, 1, 72, artifacts + "/cups-invoice-page1.png"));
        QlTestRun("cp '" + pdf + "' '" + artifacts + "/cups-invoice.pdf'");
    }
}

}  // namespace
