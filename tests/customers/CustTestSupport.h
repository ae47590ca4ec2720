// The customers module's tests: a company database in a temp folder, a main
// window to hold the module, the program's message dialogs answered by the
// test, and readers of the module's lists and form.
#pragma once

#include "DbTestSupport.h"

#include "ui/QlMsgDialog.h"

#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>

// One message the program showed (its own dialogs and system boxes alike).
struct ShownMessage {
    std::string caption;
    std::string text;
    COLORREF colour;
};

class CustTest : public DataStoreTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // An account with a fixed A/C ref, added through the data store; its key.
    int64_t AddCustomer(const char *acref, const char *company, const char *addr1 = "1 High Street");
    // A transaction of the account; its key.
    int64_t AddTrans(int64_t cust, uint32_t type, const char *grossBal);
    // A document of the account with its date, amount, balance and
    // description; its key.
    int64_t AddDoc(int64_t cust, uint32_t type, const char *date, const char *gross, const char *grossBal = "0.00",
                   const char *desc = "");

    // The module, opened on the main window.
    HWND Open();
    HWND Overview() const { return GetDlgItem(module, 1035); }
    HWND Names() const { return GetDlgItem(module, 1052); }
    // A tool-bar command, as the module's tool bar sends it.
    void Command(int id);
    void ColumnClick(int column);
    // Selects the row and clicks it.
    void Click(HWND list, int row);

    std::string Field(int id) const;
    // One column of every row, top to bottom.
    std::vector<std::string> Column(HWND list, int column) const;
    int Selected(HWND list) const;

    HWND main = NULL;
    HWND module = NULL;

public:
    // The messages shown since SetUp; the answer to the next questions.
    static std::vector<ShownMessage> messages;
    static int answer;
};

std::string Cell(HWND list, int row, int column);
// The bytes of a file (a native path); "<missing>" when it cannot be read.
std::string ReadNativeFile(const std::string &nativePath);
int RowCount(HWND list);
