// The document tests: a company database with the account JO001, the
// settings of a company with every detail set, the current directory in a
// temp folder (where the writers put their files), and a transaction form
// made from template 140 and filled by hand as a stored document's view
// shows it.
#pragma once

#include "DbTestSupport.h"
#include "MailTestSupport.h"

#include <windows.h>
#include <string>
#include <vector>

enum DocFormKind { DOC_SERVICE, DOC_PRODUCT, DOC_QUOTE, DOC_CREDIT };

class DocTest : public DataStoreTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Fills the form as the document's view would: labels, number, date,
    // order number, lines and totals (the fixture's values).
    void Fill(DocFormKind kind);
    void SetLines(const std::vector<std::vector<std::string>> &rows);
    void Set(int id, const char *text) { SetDlgItemTextA(form, id, text); }
    // The print options: discount column, carriage, order number, bottom lines.
    void Options(int on);

    // A file of the temp folder (the current directory), "" when missing.
    std::string FileBytes(const std::string &name) const;
    bool FileExists(const std::string &name) const;
    // A file of tests/documents/golden.
    static std::string Golden(const char *name);

    MailMainWindow main_;
    HWND form = NULL;
    QlCustRec customer = {};
    char previousDir[MAX_PATH] = "";
};

extern const std::vector<std::vector<std::string>> kServRows, kProdRows, kCreditRows;
