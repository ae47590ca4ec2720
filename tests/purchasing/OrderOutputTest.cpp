// The purchase order printed, as PDF and by e-mail, read from a stored order
// window: pages of ten lines, page numbers and the continuation line, the
// total on the last page, the refusals, the file name and the mail.
#include "QlGTest.h"
#include "PurchDocsTestSupport.h"

#include "QlTestPdf.h"
#include "QlTestPrint.h"

#include "ui/QlAppState.h"
#include "ui/QlMsgDialog.h"
#include "core/QlPlatform.h"
#include "ui/QlSeams.h"
#include "core/QlTempFile.h"
#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "purchasing/QlPurchDocs.h"
#include "purchasing/QlPurchOpen.h"
#include "purchasing/QlSuppCurrent.h"
#include "resources/QlResNetmail.h"
#include "resources/QlResPurchDocs.h"
#include "resources/QlResTrans.h"
#include "settings/QlSettings.h"

#include <commctrl.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

int printDialogs;
BOOL WINAPI NoPrinter(LPPRINTDLGA)
{
    printDialogs++;
    return FALSE;
}

std::string offered, offeredTitle;
BOOL WINAPI CancelSave(LPOPENFILENAMEA ofn)
{
    offered = ofn->lpstrFile;
    offeredTitle = ofn->lpstrTitle;
    return FALSE;
}

class OrderOutputTest : public PurchTest {
protected:
    void SetUp() override
    {
        PurchTest::SetUp();
        strcpy(QlSettings.cfg.companyName, "Acme");
        strcpy(QlSettings.cfg.contactName, "Jo Bloggs");
        QlSettings.cfg.telephone[0] = '\0';
        QlSettings.cfg.printLogo = 0;
        QlSettings.cfg.printBarcode = 0;
    }
    // A stored order of n lines (order number 15 and up) in its window.
    HWND OpenStored(int lines, const char *description = nullptr)
    {
        QlTransRec rec = {};
        rec.iKey = 15;
        rec.type = 5;
        rec.supp_rowid = supplier;
        DbTestSet(rec.acref, "SU001");
        DbTestSet(rec.date, "9/12/2026");
        char gross[20];
        snprintf(gross, sizeof gross, "%d.00", lines * 3);
        DbTestSet(rec.gross, gross);
        DbTestSet(rec.gross_bal, "0.00");
        rec.num_sub_items = (uint32_t)lines;
        EXPECT_EQ(1, QlTransAdd(&rec, err)) << err;
        for (int i = 0; i < lines; i++) {
            QlOrderRec line = {};
            line.iSupplierRowId = supplier;
            line.iTxRowId = rec.iKey;
            snprintf(line.supplier_code, sizeof line.supplier_code, "SC-%02d", i + 1);
            if (description)
                snprintf(line.description, sizeof line.description, "%s", description);
            else
                snprintf(line.description, sizeof line.description, "Fitting number %d", i + 1);
            line.iQty = 2;
            DbTestSet(line.uprice, "1.50");
            DbTestSet(line.total, "3.00");
            EXPECT_EQ(1, QlOrderAdd(&line, err)) << err;
        }
        form = QlOrderOpen(&rec);
        return form;
    }
    void Print(MetafilePrinter &printer)
    {
        QlOrderPrintJob job;
        QlOrderPrintJobInit(&job, form);
        ASSERT_EQ(1, QlOrderPrintDraw(printer.target(), &job));
        printer.finish();
    }
    std::string Pdf(int ask = 0)
    {
        char path[256] = "";
        int status = -1;
        EXPECT_EQ(1, QlOrderSavePdf(form, path, ask, &status));
        EXPECT_EQ(0, status);
        char native[MAX_PATH * 4] = "";
        EXPECT_EQ(1, QlPathToNative(path, native, sizeof native));
        return native;
    }
};

TEST_F(OrderOutputTest, TenLinesPrintOnOnePageWithoutPageNumbers)
{
    OpenStored(10);
    MetafilePrinter printer;
    Print(printer);
    ASSERT_EQ(1u, printer.pageCount());
    EmfRecords page = printer.records(0);
    EXPECT_TRUE(page.hasText("PURCHASE ORDER"));
    EXPECT_TRUE(page.hasText("Order Number:"));
    EXPECT_TRUE(page.hasText("15"));
    EXPECT_TRUE(page.hasText("9/12/2026"));
    EXPECT_TRUE(page.hasText("SU001"));
    EXPECT_TRUE(page.hasText("Pipes & Co"));
    EXPECT_TRUE(page.hasText("BR4 9XY"));
    EXPECT_TRUE(page.hasText("Fitting number 10"));
    EXPECT_TRUE(page.hasText("Supplier Code"));
    EXPECT_TRUE(page.hasText("Total (Euro)"));
    EXPECT_TRUE(page.hasText("30.00"));
    EXPECT_EQ(std::string::npos, page.allText().find("Page 1"));
    EXPECT_EQ(std::string::npos, page.allText().find("Continued"));
    // The right-hand columns are right-aligned at their column's right edge.
    const EmfText *total = page.findText("30.00");
    const EmfText *label = page.findText("Total (Euro)");
    ASSERT_TRUE(total && label);
    EXPECT_GT(total->x, label->x);
    EXPECT_EQ(page.fonts.size(), (size_t)page.fontsDeleted);
    printer.savePng(0, QlTestArtifactDir() + "/purchase-order-print.png");
}

TEST_F(OrderOutputTest, ElevenLinesGoOnTwoNumberedPagesWithTheTotalOnTheLast)
{
    OpenStored(11);
    MetafilePrinter printer;
    Print(printer);
    ASSERT_EQ(2u, printer.pageCount());
    EmfRecords first = printer.records(0), second = printer.records(1);
    EXPECT_TRUE(first.hasText("Page 1 of 2"));
    EXPECT_TRUE(second.hasText("Page 2 of 2"));
    EXPECT_TRUE(first.hasText("* Continued on next page *"));
    EXPECT_FALSE(second.hasText("* Continued on next page *"));
    EXPECT_TRUE(first.hasText("Fitting number 10"));
    EXPECT_FALSE(first.hasText("Fitting number 11"));
    EXPECT_TRUE(second.hasText("Fitting number 11"));
    EXPECT_FALSE(first.hasText("33.00"));
    EXPECT_TRUE(second.hasText("33.00"));
    EXPECT_FALSE(second.hasText("PURCHASE ORDER"));
    printer.savePng(1, QlTestArtifactDir() + "/purchase-order-print-2.png");
}

TEST_F(OrderOutputTest, PrintingRefusesAnOrderWithoutLinesOrAccount)
{
    OpenStored(1);
    QlSeamPrintDialog = NoPrinter;
    printDialogs = 0;
    SetField(form, IDT_DOC_ACREF, "");
    EXPECT_EQ(0, QlOrderPrint(form));
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Missing Account Number", messages[0].caption);
    EXPECT_EQ("Please Select Customer Account Number", messages[0].text);
    SendDlgItemMessageA(form, IDL_DOC_LINES, LVM_DELETEALLITEMS, 0, 0);
    EXPECT_EQ(0, QlOrderPrint(form));
    ASSERT_EQ(2u, messages.size());
    EXPECT_EQ("No form items", messages[1].text);
    EXPECT_EQ(0, printDialogs);
    // With both, the print dialog comes; cancelling it ends the print silently.
    QlUiClosePane(form);
    form = QlOrderOpen(&QlOrderHeader);
    EXPECT_EQ(0, QlOrderPrint(form));
    EXPECT_EQ(1, printDialogs);
    EXPECT_EQ(2u, messages.size());
}

TEST_F(OrderOutputTest, ThePdfIsNamedAfterTheOrderAndWrittenEvenWithoutAnAccount)
{
    OpenStored(11);
    SetField(form, IDT_DOC_ACREF, "");
    char path[256] = "";
    ASSERT_EQ(1, QlOrderSavePdf(form, path, 0, NULL));
    EXPECT_STREQ("order15.pdf", path);
    std::string pdf = Pdf();
    PdfInfo info;
    ASSERT_TRUE(QlTestPdfInfo(pdf, &info));
    EXPECT_EQ(2, info.pages);
    EXPECT_TRUE(QlTestPdfCheck(pdf));
    std::string first = QlTestPdfText(pdf, 1), second = QlTestPdfText(pdf, 2);
    EXPECT_NE(std::string::npos, first.find("PURCHASE ORDER"));
    EXPECT_NE(std::string::npos, first.find("Pipes & Co"));
    EXPECT_NE(std::string::npos, first.find("Page 1 of 2"));
    EXPECT_NE(std::string::npos, first.find("* Continued on next page *"));
    EXPECT_NE(std::string::npos, first.find("Fitting number 10"));
    EXPECT_NE(std::string::npos, second.find("Fitting number 11"));
    EXPECT_NE(std::string::npos, second.find("33.00"));
    EXPECT_EQ(std::string::npos, first.find("33.00"));
    EXPECT_EQ(std::string::npos, second.find("Continued"));
    QlTestPdfToPng(pdf, 1, 110, QlTestArtifactDir() + "/purchase-order-pdf.png");
}

TEST_F(OrderOutputTest, TheSaveDialogOffersTheOrdersNameAndCancelWritesNothing)
{
    OpenStored(2);
    QlSeamGetSaveFileName = CancelSave;
    char path[256] = "";
    int status = 0;
    EXPECT_EQ(0, QlOrderSavePdf(form, path, 1, &status));
    EXPECT_EQ("order15.pdf", offered);
    EXPECT_EQ("Save order to PDF file", offeredTitle);
    EXPECT_EQ(1, status);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("order15.pdf"));
    // The window's PDF command says nothing more after a cancel.
    HWND toolbar = FindWindowExA(form, NULL, TOOLBARCLASSNAMEA, NULL);
    SendMessageA(form, WM_COMMAND, MAKEWPARAM(QL_ORDER_CMD_PDF, BN_CLICKED), (LPARAM)toolbar);
    EXPECT_TRUE(messages.empty());
    // Without lines there is no file and one message.
    SendDlgItemMessageA(form, IDL_DOC_LINES, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(form, WM_COMMAND, MAKEWPARAM(QL_ORDER_CMD_PDF, BN_CLICKED), (LPARAM)toolbar);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("No form items", messages[0].text);
}

TEST_F(OrderOutputTest, TheMailCarriesThePdfToTheSupplier)
{
    OpenStored(2);
    char subject[128], message[512];
    QlOrderMailCompose("15", subject, sizeof subject, message, sizeof message);
    EXPECT_STREQ("Acme Order 15", subject);
    EXPECT_STREQ("Dear Supplier,\r\n\r\nPlease find attached our product order.\r\n\r\nJo Bloggs\r\n---\r\nAcme\r\n",
                 message);
    strcpy(QlSettings.cfg.telephone, "0123 456");
    QlOrderMailCompose("15", subject, sizeof subject, message, sizeof message);
    EXPECT_NE(nullptr, strstr(message, "---\r\nAcme\r\nTel: 0123 456"));

    std::string to, attachment, caption;
    bool attachedWhole = false;
    DialogDriver driver({[&](HWND d) {
        to = DialogText(d, IDE_MAIL_TO);
        attachment = DialogText(d, IDE_MAIL_ATTACHMENT);
        char native[MAX_PATH * 4];
        attachedWhole = QlPathToNative(attachment.c_str(), native, sizeof native) && QlTestPdfCheck(native);
        char text[128] = "";
        GetWindowTextA(d, text, sizeof text);
        caption = text;
        EndDialog(d, 0);
    }});
    QlOrderEmail(form);
    ASSERT_EQ(1u, messages.size());   // the choice of attachment, answered PDF
    EXPECT_EQ("Email sending options", messages[0].caption);
    EXPECT_EQ("orders@pipes.test", to);
    // The attachment in a temporary folder of its own, gone with the dialog;
    // nothing in the working folder.
    char folder[MAX_PATH];
    EXPECT_TRUE(QlTempFolderOf(attachment.c_str(), folder, sizeof folder)) << attachment;
    EXPECT_EQ(std::string(folder) + "\\order15.pdf", attachment);
    EXPECT_TRUE(attachedWhole);
    EXPECT_EQ("Email order to supplier", caption);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("order15.pdf"));
}

TEST_F(OrderOutputTest, TheMailIsRefusedWithoutSupplierOrLines)
{
    OpenStored(1);
    QlSuppCurrent.iKey = 999;
    QlOrderEmail(form);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Supplier not found in database", messages[0].text);
    QlSuppCurrent.iKey = supplier;
    SetField(form, IDT_ORDER_TOTAL, "0.00");
    QlOrderEmail(form);
    EXPECT_EQ("No form items", messages.back().text);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("order15.pdf"));
}

const char kLongDescription[] = "KIDS' SAFETY GOGGLES (EN166) WITH ANTI-FOG COATING AND ADJUSTABLE ELASTIC STRAP";

TEST_F(OrderOutputTest, LongDescriptionsArePrintedAndWrittenWholeInRowsThatGrow)
{
    OpenStored(10, kLongDescription);
    MetafilePrinter printer;
    Print(printer);
    int seen = 0;
    for (size_t p = 0; p < printer.pageCount(); p++) {
        EmfRecords page = printer.records(p);
        for (size_t i = 0; i < page.texts.size(); i++) {
            if (page.texts[i].text.rfind("KIDS'", 0) != 0) continue;
            EmfRecords rest = page;
            rest.texts.erase(rest.texts.begin(), rest.texts.begin() + (long)i);
            EXPECT_EQ("", QlTestCellTextProblem(rest, kLongDescription)) << "page " << p + 1;
            seen++;
        }
        if (printer.pageCount() > 1) {
            EXPECT_TRUE(page.hasText("Page " + std::to_string(p + 1) + " of " + std::to_string(printer.pageCount())));
        }
        printer.savePng(p, QlTestArtifactDir() + "/purchase-order-long-page" + std::to_string(p + 1) + ".png");
    }
    EXPECT_EQ(10, seen);
    EXPECT_TRUE(printer.records(printer.pageCount() - 1).hasText("30.00"));

    QL_TEST_REQUIRE_UNIX();
    const std::string pdf = Pdf();
    PdfInfo info;
    ASSERT_TRUE(QlTestPdfInfo(pdf, &info));
    const std::vector<PdfWord> words = QlTestPdfWords(pdf);
    const std::vector<PdfShape> shapes = QlTestPdfShapes(pdf);
    seen = 0;
    for (int p = 1; p <= info.pages; p++) {
        for (const PdfWord &w : words) {
            if (w.page != p || w.text != "KIDS'") continue;
            std::vector<PdfWord> from;
            for (const PdfWord &o : words)
                if (o.page == p && o.y1 <= w.y1 + 0.5) from.push_back(o);
            EXPECT_EQ("", QlTestPdfCellTextProblem(from, shapes, p, kLongDescription)) << "page " << p;
            seen++;
        }
        QlTestPdfToPng(pdf, p, 110, QlTestArtifactDir() + "/purchase-order-long-pdf-page" + std::to_string(p) + ".png");
    }
    EXPECT_EQ(10, seen);
    EXPECT_NE(std::string::npos, QlTestPdfText(pdf, info.pages).find("30.00"));
}

}  // namespace
