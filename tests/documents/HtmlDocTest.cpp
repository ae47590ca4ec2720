// HTML documents written from a filled form 140, compared byte for byte with
// files made from the document format's templates (tests/documents/golden);
// the texts put into the markup escaped; files replaced, refused names, a
// failed write or a file in use that leaves the file there as it was.
#include "QlGTest.h"
#include "DocTestSupport.h"
#include "QlTestPlatform.h"

#include "documents/QlDocOutput.h"
#include "documents/QlHtml.h"
#include "resources/QlResTrans.h"
#include "settings/QlSettings.h"

#include <string.h>
#include <string>
#include <vector>

namespace {

class HtmlDocTest : public DocTest {
protected:
    // Writes the form's document; the writer's result, the path in path_.
    int Write(DocFormKind kind, const char *number, int lineMode = -1, const char *folder = NULL)
    {
        memset(path_, 'x', sizeof path_);
        if (kind == DOC_CREDIT) return QlCreditWriteHtml(form, folder, path_, number, &customer);
        return QlInvWriteHtml(form, lineMode >= 0 ? lineMode : kind == DOC_SERVICE ? 0 : 1, folder, path_, number,
                              &customer, kind == DOC_QUOTE);
    }
    // The names of the working folder's files that match the pattern.
    std::vector<std::string> Files(const char *pattern)
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(pattern, &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do names.push_back(found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }
    char path_[QL_DOC_PATH_SIZE];
};

TEST_F(HtmlDocTest, DocumentsAreTheFilledTemplatesByteForByte)
{
    struct Case {
        const char *golden;
        DocFormKind kind;
        int options;
        const char *number;
        const char *file;
    } cases[] = {
        {"serv-plain.htm", DOC_SERVICE, 0, "123", "INVOICE123.htm"},
        {"serv-options.htm", DOC_SERVICE, 1, "123", "INVOICE123.htm"},
        {"prod-plain.htm", DOC_PRODUCT, 0, "123", "INVOICE123.htm"},
        {"prod-options.htm", DOC_PRODUCT, 1, "123", "INVOICE123.htm"},
        {"quote-options.htm", DOC_QUOTE, 1, "45", "QUOTATION45.htm"},
        {"credit-options.htm", DOC_CREDIT, 1, "7", "CREDIT NOTE7.htm"},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.golden);
        Fill(k.kind);
        Options(k.options);
        std::string expected = Golden(k.golden);
        ASSERT_FALSE(expected.empty());
        ASSERT_EQ(1, Write(k.kind, k.number));
        EXPECT_STREQ(k.file, path_);
        std::string written = FileBytes(k.file);
        EXPECT_EQ(expected.size(), written.size());
        if (written != expected) {
            size_t at = 0;
            while (at < written.size() && at < expected.size() && written[at] == expected[at]) at++;
            ADD_FAILURE() << "first difference at byte " << at << ":\n  written  "
                          << written.substr(at > 40 ? at - 40 : 0, 120) << "\n  expected "
                          << expected.substr(at > 40 ? at - 40 : 0, 120);
        }
        DeleteFileA(k.file);
    }
}

TEST_F(HtmlDocTest, InsertedTextsAreEscapedAndTheFrameIsNot)
{
    Fill(DOC_SERVICE);
    SetLines({{"<b>Bold</b> & \"quoted\"", "23.00", "0", "1.00", "0.00", "1.00", "0.23"}});
    strcpy(customer.company, "A&B <Tools>");
    strcpy(QlSettings.cfg.companyName, "Smith & Sons");
    Set(IDT_DOC_TO_LABEL, "BILL <TO>:");
    ASSERT_EQ(1, Write(DOC_SERVICE, "9"));
    std::string html = FileBytes("INVOICE9.htm");
    EXPECT_NE(std::string::npos, html.find("\r\n&lt;b&gt;Bold&lt;/b&gt; &amp; &quot;quoted&quot;</font></td>"));
    EXPECT_NE(std::string::npos, html.find(">A&amp;B &lt;Tools&gt;<BR>1 High Street"));
    EXPECT_NE(std::string::npos, html.find("Smith &amp; Sons<BR>\r\n"));
    EXPECT_NE(std::string::npos, html.find(">BILL &lt;TO&gt;:</font>"));
    EXPECT_EQ(std::string::npos, html.find("<b>Bold"));
    EXPECT_EQ(0u, html.find("<html>\r\n\r\n<head>"));
}

TEST_F(HtmlDocTest, AnExistingFileIsReplacedAndAnEmptyFormGivesHeadingsAndTotals)
{
    Fill(DOC_SERVICE);
    SetLines({});
    HANDLE old = CreateFileA("INVOICE123.htm", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    std::string junk(20000, 'j');
    DWORD written = 0;
    WriteFile(old, junk.data(), (DWORD)junk.size(), &written, NULL);
    CloseHandle(old);
    ASSERT_EQ(1, Write(DOC_SERVICE, "123"));
    std::string html = FileBytes("INVOICE123.htm");
    EXPECT_EQ(std::string::npos, html.find('j' + std::string(10, 'j')));
    EXPECT_EQ(html.size() - strlen("</body>\r\n\r\n</html>\r\n"), html.rfind("</body>"));
    // Heading row, then straight to the totals.
    size_t heading = html.find("id=\"AutoNumber4\"");
    ASSERT_NE(std::string::npos, heading);
    EXPECT_EQ(std::string::npos, html.find("valign=\"top\" align=\"right\"", heading));
    EXPECT_NE(std::string::npos, html.find("<b>Total</b>", heading));
}

TEST_F(HtmlDocTest, AnAttachmentGoesIntoTheFolderGiven)
{
    Fill(DOC_CREDIT);
    CreateDirectoryA("mail", NULL);
    ASSERT_EQ(1, Write(DOC_CREDIT, "7", -1, "mail"));
    EXPECT_STREQ("mail\\CREDIT NOTE7.htm", path_);
    EXPECT_TRUE(FileExists("mail\\CREDIT NOTE7.htm"));
    EXPECT_TRUE(Files("*.htm").empty()) << "nothing in the working folder";
    DeleteFileA("mail\\CREDIT NOTE7.htm");
    RemoveDirectoryA("mail");
}

TEST_F(HtmlDocTest, RefusedNamesAndLineModesCreateNoFile)
{
    Fill(DOC_SERVICE);
    EXPECT_EQ(0, Write(DOC_SERVICE, "123", 2));
    EXPECT_FALSE(FileExists("INVOICE123.htm"));
    struct {
        const char *title, *number;
    } names[] = {{"..\\INVOICE", "1"}, {"INVOICE", "1/2"}, {"C:", "1"}, {"IN?", "1"}};
    for (const auto &n : names) {
        SCOPED_TRACE(std::string(n.title) + n.number);
        Set(IDT_DOC_TITLE, n.title);
        EXPECT_EQ(0, Write(DOC_SERVICE, n.number));
        EXPECT_STREQ("", path_);
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("*.htm", &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

TEST_F(HtmlDocTest, AFailedWriteLeavesTheFileThereAsItWas)
{
    // Files of this process may not grow past 4 KB for the moment; the
    // document is longer.  The file of that name stays whole.
    Fill(DOC_PRODUCT);
    Options(1);
    const std::string before = "<html>the invoice as it was sent last week</html>\r\n";
    HANDLE old = CreateFileA("INVOICE123.htm", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD done = 0;
    WriteFile(old, before.data(), (DWORD)before.size(), &done, NULL);
    CloseHandle(old);
    {
        QlTestFileSizeLimit limit(4096);
        if (limit.ok()) {
            EXPECT_EQ(0, Write(DOC_PRODUCT, "123"));
        }
    }
    EXPECT_EQ(before, FileBytes("INVOICE123.htm"));
    EXPECT_TRUE(Files("*.tmp").empty()) << "no temporary file is left";

    // A file held by another handle without sharing (an e-mail reading it)
    // is left as it is.
    HANDLE reader = CreateFileA("INVOICE123.htm", GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    EXPECT_EQ(0, Write(DOC_PRODUCT, "123"));
    CloseHandle(reader);
    EXPECT_EQ(before, FileBytes("INVOICE123.htm"));
    EXPECT_TRUE(Files("*.tmp").empty());

    // A row writer reports its failed write too.
    HANDLE readOnly = CreateFileA("row.htm", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    CloseHandle(readOnly);
    readOnly = CreateFileA("row.htm", GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_FALSE(QlHtmlWriteTotalRow(readOnly, "Label", "Value"));
    EXPECT_EQ(0, QlHtmlWriteServRow(GetDlgItem(form, IDL_DOC_LINES), readOnly, 0));
    CloseHandle(readOnly);
}

}  // namespace
