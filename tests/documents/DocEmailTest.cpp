// E-mailing documents: the checks of the three operations, the PDF-or-HTML
// choice, the subject and message, the e-mail dialog they open, and a saved
// invoice sent as HTML and as PDF to a real SMTP server (aiosmtpd) over
// STARTTLS with AUTH LOGIN.
#include "QlGTest.h"
#include "DocTestSupport.h"
#include "NetTestSupport.h"
#include "QlTestPdf.h"

#include "ui/QlMsgDialog.h"
#include "core/QlTempFile.h"
#include "documents/QlDocEmail.h"
#include "documents/QlDocOutput.h"
#include "documents/QlDocTexts.h"
#include "netmail/QlMail.h"
#include "resources/QlResNetmail.h"
#include "resources/QlResTrans.h"
#include "settings/QlSettings.h"

#include <stdlib.h>
#include <string.h>
#include <map>

namespace {

int Email(DocFormKind kind, HWND form, int flag = 0)
{
    switch (kind) {
    case DOC_SERVICE:
        return QlInvEmail(form, flag, 0);
    case DOC_PRODUCT:
        return QlInvEmail(form, flag, 1);
    case DOC_QUOTE:
        return QlQuoteEmail(form, 1);
    case DOC_CREDIT:
        return QlCreditEmail(form);
    }
    return -1;
}

// The bytes of a file (Windows path); empty when it cannot be read.
std::string ReadWhole(const std::string &path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

// The e-mail dialog's fields as it opens, and the attachment it was handed
// (which lives only as long as the mail needs it); then Close.
std::vector<std::function<bool(HWND)>> ReadAndClose(MailDialogSeen &seen, std::string *attached = NULL)
{
    return {[&seen, attached](HWND d) {
                seen = ReadMailDialog(d);
                if (attached) *attached = ReadWhole(seen.attachment);
                return true;
            },
            MailClick(IDB_MAIL_CLOSE)};
}

// The attachment's path: its own temporary folder of the program's, and the
// file's name in it.
void ExpectMailFolder(const std::string &attachment, const std::string &file, std::string *folderOut = NULL)
{
    char folder[MAX_PATH];
    EXPECT_TRUE(QlTempFolderOf(attachment.c_str(), folder, sizeof folder)) << attachment;
    EXPECT_EQ(std::string(folder) + "\\" + file, attachment);
    if (folderOut) *folderOut = folder;
}

bool Exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class DocEmailTest : public DocTest {
protected:
    void SendSavedInvoice(int choice, const std::string &file);
};

// Saves the product invoice as an attachment of the choice (0 PDF, 1 HTML)
// and sends it to aiosmtpd over STARTTLS with AUTH LOGIN; the attachment
// received is the file written, byte for byte.
void DocEmailTest::SendSavedInvoice(int choice, const std::string &file)
{
    const NetCerts &certs = NetTestCerts();
    ASSERT_FALSE(certs.nativeDir.empty());
    NetFolder mailbox;
    NetPeer server;
    int port = server.startListening({kNetPython, NetPeerScript("smtp_aio.py"), "--mode", "starttls", "--cert",
                                      certs.native("good.pem"), "--key", certs.native("good.key"), "--out",
                                      mailbox.native, "--user", "quillory", "--password", "pa$$word"},
                                     15000, true);
    ASSERT_GT(port, 0);
    MailTrustFile trust(certs.native("ca.pem"));
    QlSettingsRec &cfg = QlSettings.cfg;
    strcpy(cfg.smtpServer, "localhost");
    cfg.smtpPort = (uint16_t)port;
    cfg.useSsl = 1;
    cfg.smtpAuth = 1;
    strcpy(cfg.smtpUser, "quillory");
    strcpy(cfg.smtpPassword, "pa$$word");
    Options(1);
    Fill(DOC_PRODUCT);
    // A file of that name the user saved earlier stays as it is.
    const std::string users = "the user's own copy";
    ASSERT_TRUE(NetWriteFile(folder + "\\" + file, users));

    std::string status;
    COLORREF colour = 0;
    std::string attachment, attached;
    {
        MailSteps steps({[&](HWND d) {
                             SetDlgItemTextA(d, IDE_MAIL_CC2, "office@quillory.test");
                             attachment = DlgText(d, IDE_MAIL_ATTACHMENT);
                             attached = ReadWhole(attachment);
                             return true;
                         },
                         MailClick(IDB_MAIL_SEND), MailWaitStatus("Email has been sent."),
                         [&](HWND d) {
                             status = DlgText(d, IDT_MAIL_STATUS);
                             colour = MailStatusColour(d);
                             return true;
                         },
                         MailClick(IDB_MAIL_CLOSE)},
                        60000);
        gMailChoice = choice;
        EXPECT_EQ(0, QlInvEmail(form, 0, 1));
    }
    EXPECT_EQ("Email has been sent.", status);
    EXPECT_EQ(QL_COLOUR_DONE, colour);
    std::string mailFolder;
    ExpectMailFolder(attachment, file, &mailFolder);
    EXPECT_FALSE(Exists(mailFolder)) << "the attachment's folder goes with the mail";
    EXPECT_EQ(users, FileBytes(file));
    EXPECT_FALSE(FileExists("jpglogo.jpg"));

    EXPECT_EQ("office@quillory.test\nbuyer@quillory.test\noffice@quillory.test\n",
              NetReadFile(mailbox.nativeFile("msg-1.env")));
    std::map<std::string, std::string> mail;
    NetPeer check;
    ASSERT_TRUE(check.start({kNetPython, NetPeerScript("check_mail.py"), mailbox.nativeFile("msg-1.eml")}));
    for (std::string line; !(line = check.readLine(20000)).empty();) {
        size_t eq = line.find('=');
        if (eq != std::string::npos) mail[line.substr(0, eq)] = line.substr(eq + 1);
    }
    EXPECT_EQ("Quillory Ltd Invoice 123", mail["subject"]);
    EXPECT_EQ("'Dear Customer,\\n\\nPlease find attached the invoice from Quillory Ltd for requested products\\n"
              "or services\\n\\n---\\nQuillory Ltd\\nTel: 01 555 0199'",
              mail["body"]);
    EXPECT_EQ(file, mail["attachment-filename"]);
    EXPECT_EQ(choice == 0 ? "application/pdf" : "text/html", mail["attachment-type"]);
    // The file received is the file that was written.
    ASSERT_TRUE(NetWriteFile(mailbox.win + "\\attached", attached));
    std::string native = mailbox.nativeFile("attached");
    EXPECT_EQ(NetSha256Of(native), mail["attachment-bytes"]);
    EXPECT_EQ(std::to_string(attached.size()), mail["attachment-size"]);
    EXPECT_EQ("0", mail["defects"]);
    if (choice == 0) {
        // The file received is a whole PDF document.
        PdfInfo info;
        EXPECT_TRUE(QlTestPdfInfo(native, &info));
        EXPECT_EQ(1, info.pages);
    }
}

TEST_F(DocEmailTest, TheFormIsCheckedBeforeAnythingIsWritten)
{
    struct Case {
        const char *name;
        DocFormKind kind;
        int flag;
        const char *acref;
        const char *gross;
        bool noLines;
        const char *caption, *text;
    } cases[] = {
        {"invoice without account", DOC_SERVICE, 0, "", "215.25", false, "Missing Account Number",
         "Please Select Customer Account Number"},
        {"invoice of an unknown account", DOC_SERVICE, 0, "NO999", "215.25", false, "Error",
         "Invalid account reference"},
        {"an account like a statement", DOC_SERVICE, 0, "J' or", "215.25", false, "Error",
         "Invalid account reference"},
        {"invoice of nothing", DOC_PRODUCT, 0, "JO001", "0.00", false, "Cannot email invoice", "Zero gross amount"},
        {"invoice of nothing, credit wording", DOC_PRODUCT, 1, "JO001", "0.00", false, "Cannot email credit note",
         "Zero gross amount"},
        {"invoice without lines", DOC_SERVICE, 0, "JO001", "215.25", true, "Cannot email document", "No form items"},
        {"credit note of nothing", DOC_CREDIT, 0, "JO001", "0.00", false, "Cannot email credit note",
         "Zero gross amount"},
        {"credit note without lines", DOC_CREDIT, 0, "JO001", "30.75", true, "Cannot email document",
         "No form items"},
        {"quotation without account", DOC_QUOTE, 0, "", "215.25", false, "Missing Account Number",
         "Please Select Customer Account Number"},
        {"quotation of an unknown account", DOC_QUOTE, 0, "NO999", "215.25", false, "Missing Account Number",
         "Please Select Customer Account Number"},
        {"quotation of nothing", DOC_QUOTE, 0, "JO001", "0.00", false, "Error", "No form items"},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        Fill(k.kind);
        Set(IDT_DOC_ACREF, k.acref);
        Set(IDT_DOC_GROSS, k.gross);
        if (k.noLines) SetLines({});
        gMailShown.clear();
        gMailChoice = 1;
        EXPECT_EQ(1, Email(k.kind, form, k.flag));
        ASSERT_EQ(1u, gMailShown.size());
        EXPECT_EQ(k.caption, gMailShown[0].caption);
        EXPECT_EQ(k.text, gMailShown[0].text);
        EXPECT_EQ(QL_COLOUR_WARNING, gMailShown[0].colour);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA("*.htm", &found);
        EXPECT_EQ(INVALID_HANDLE_VALUE, search) << "nothing written";
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
    }

    // A quotation is not checked for lines: the choice comes.
    Fill(DOC_QUOTE);
    SetLines({});
    gMailShown.clear();
    gMailChoice = -1;
    EXPECT_EQ(0, Email(DOC_QUOTE, form));
    ASSERT_EQ(1u, gMailShown.size());
    EXPECT_EQ("Email sending options", gMailShown[0].caption);
}

TEST_F(DocEmailTest, TheAttachmentIsAPdfOrAnHtmlFile)
{
    Fill(DOC_SERVICE);
    // Cancel: silence, nothing written.
    gMailChoice = -1;
    EXPECT_EQ(0, Email(DOC_SERVICE, form));
    ASSERT_EQ(1u, gMailShown.size());
    EXPECT_EQ("Email sending options", gMailShown[0].caption);

    // PDF: the file is written under its default name and attached.
    struct PdfCase {
        DocFormKind kind;
        const char *file;
    } pdfs[] = {{DOC_SERVICE, "INVOICE123.pdf"}, {DOC_QUOTE, "QUOTATION45.pdf"}, {DOC_CREDIT, "CREDIT NOTE7.pdf"}};
    for (const PdfCase &k : pdfs) {
        Fill(k.kind);
        gMailShown.clear();
        gMailChoice = 0;
        MailDialogSeen seen;
        std::string attached;
        {
            MailSteps steps(ReadAndClose(seen, &attached), 10000);
            EXPECT_EQ(0, Email(k.kind, form));
        }
        ASSERT_EQ(1u, gMailShown.size()) << "only the choice";
        ASSERT_TRUE(seen.opened);
        std::string mailFolder;
        ExpectMailFolder(seen.attachment, k.file, &mailFolder);
        EXPECT_FALSE(Exists(mailFolder)) << "closed without a send, the folder goes";
        EXPECT_FALSE(FileExists(k.file)) << "nothing in the working folder";
        ASSERT_TRUE(NetWriteFile(folder + "\\attached.pdf", attached));
        PdfInfo info;
        EXPECT_TRUE(QlTestPdfInfo(DbTestNativePath(folder + "\\attached.pdf"), &info));
        EXPECT_EQ(1, info.pages);
    }

    // PDF under a name that cannot be written.
    Fill(DOC_SERVICE);
    Set(IDT_DOC_TITLE, "IN/VOICE");
    gMailShown.clear();
    gMailChoice = 0;
    EXPECT_EQ(1, Email(DOC_SERVICE, form));
    ASSERT_EQ(2u, gMailShown.size());
    EXPECT_EQ("Error", gMailShown[1].caption);
    EXPECT_EQ("Failed to create PDF file", gMailShown[1].text);

    // HTML under a name the writer refuses.
    Fill(DOC_SERVICE);
    Set(IDT_DOC_TITLE, "IN/VOICE");
    gMailShown.clear();
    gMailChoice = 1;
    EXPECT_EQ(1, Email(DOC_SERVICE, form));
    ASSERT_EQ(2u, gMailShown.size());
    EXPECT_EQ("Error", gMailShown[1].caption);
    EXPECT_EQ("Failed to create HTML file", gMailShown[1].text);
}

TEST_F(DocEmailTest, SubjectAndMessageOfEachDocument)
{
    char subject[128], message[512];
    QlDocMailCompose(QL_DOC_MAIL_INVOICE, "123", subject, sizeof subject, message, sizeof message);
    EXPECT_STREQ("Quillory Ltd Invoice 123", subject);
    EXPECT_STREQ("Dear Customer,\r\n"
                 "\r\n"
                 "Please find attached the invoice from Quillory Ltd for requested products\r\n"
                 "or services\r\n"
                 "\r\n"
                 "---\r\n"
                 "Quillory Ltd\r\n"
                 "Tel: 01 555 0199",
                 message);
    QlDocMailCompose(QL_DOC_MAIL_CREDIT, "7", subject, sizeof subject, message, sizeof message);
    EXPECT_STREQ("Quillory Ltd Credit Note 7", subject);
    EXPECT_STREQ("Dear Customer,\r\n\r\nPlease find attached the credit note from Quillory Ltd for requested "
                 "products\r\nor services\r\n\r\n\r\n\r\n---\r\nQuillory Ltd\r\nTel: 01 555 0199",
                 message);
    QlSettings.cfg.telephone[0] = '\0';
    QlDocMailCompose(QL_DOC_MAIL_QUOTE, "45", subject, sizeof subject, message, sizeof message);
    EXPECT_STREQ("Quillory Ltd QUOTATION 45", subject);
    EXPECT_STREQ("Dear Customer,\r\n\r\nPlease find attached the quotation from Quillory Ltd for requested "
                 "products\r\nor services\r\n\r\n\r\n---\r\nQuillory Ltd\r\n",
                 message);
    QlSettings.cfg.language = 1;
    QlDocMailCompose(QL_DOC_MAIL_INVOICE, "123", subject, sizeof subject, message, sizeof message);
    EXPECT_STREQ("Quillory Ltd Rechnung 123", subject);
}

TEST_F(DocEmailTest, TheDialogOpensWithTheCustomersAddressAndTheFile)
{
    struct Case {
        DocFormKind kind;
        const char *title, *subject, *file;
    } cases[] = {
        {DOC_SERVICE, "Email Invoice to customer", "Quillory Ltd Invoice 123", "INVOICE123.htm"},
        {DOC_PRODUCT, "Email Invoice to customer", "Quillory Ltd Invoice 123", "INVOICE123.htm"},
        {DOC_QUOTE, "Email Quotation to customer", "Quillory Ltd QUOTATION 45", "QUOTATION45.htm"},
        {DOC_CREDIT, "Email Credit note to customer", "Quillory Ltd Credit Note 7", "CREDIT NOTE7.htm"},
    };
    Options(1);
    for (const Case &k : cases) {
        SCOPED_TRACE(k.title);
        Fill(k.kind);
        MailDialogSeen seen;
        std::string html;
        {
            MailSteps steps(ReadAndClose(seen, &html), 10000);
            EXPECT_EQ(0, Email(k.kind, form));
        }
        ASSERT_TRUE(seen.opened);
        EXPECT_EQ(k.title, seen.title);
        EXPECT_EQ("buyer@quillory.test", seen.to);
        EXPECT_EQ(k.subject, seen.subject);
        ExpectMailFolder(seen.attachment, k.file);
        EXPECT_EQ(0u, seen.message.find("Dear Customer,\r\n"));
        // The file is the writer's, whole.
        EXPECT_EQ(0u, html.find("<html>"));
        EXPECT_NE(std::string::npos, html.find("</html>\r\n"));
        // Only an invoice has the order number and the bottom lines.
        bool invoice = k.kind == DOC_SERVICE || k.kind == DOC_PRODUCT;
        EXPECT_EQ(invoice, html.find("Order Number:") != std::string::npos);
        EXPECT_EQ(invoice, html.find("Payment within 30 days") != std::string::npos);
    }

    // A customer without an address: the dialog opens with an empty To.
    strcpy(customer.wemail, "");
    char err[256] = "";
    ASSERT_EQ(1, QlCustUpdate(&customer, err)) << err;
    Fill(DOC_SERVICE);
    MailDialogSeen seen;
    {
        MailSteps steps(ReadAndClose(seen), 10000);
        Email(DOC_SERVICE, form);
    }
    EXPECT_TRUE(seen.opened);
    EXPECT_EQ("", seen.to);
}

TEST_F(DocEmailTest, ASubjectTooLongIsRefusedAndLeavesNoFile)
{
    Fill(DOC_SERVICE);
    strcpy(QlSettings.cfg.companyName, "Quillory Plumbing and Heating Supplies");
    Set(IDT_DOC_NUMBER, "123456789012345678901234567890123456789");
    gMailChoice = 1;
    EXPECT_EQ(1, Email(DOC_SERVICE, form));
    ASSERT_EQ(2u, gMailShown.size());
    EXPECT_EQ("Invalid Subject", gMailShown[1].caption);
    EXPECT_EQ("Subject text too long", gMailShown[1].text);
    EXPECT_FALSE(FileExists("INVOICE123456789012345678901234567890123456789.htm"));
}

TEST_F(DocEmailTest, ASavedInvoiceGoesAsHtmlToARealServerOverVerifiedTls)
{
    SendSavedInvoice(1, "INVOICE123.htm");
}

TEST_F(DocEmailTest, ASavedInvoiceGoesAsPdfToARealServerOverVerifiedTls)
{
    SendSavedInvoice(0, "INVOICE123.pdf");
}

}  // namespace

#include "LangRecordCheck.h"

TEST(DocTexts, EveryLanguageHasEveryTextWithItsConversions)
{
    ExpectCompleteLangRecords(QlDocTextTable, sizeof QlDocTextTable[0], QlDocTextFields, QlDocTextFieldCount);
}
