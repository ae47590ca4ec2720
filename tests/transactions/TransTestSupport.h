// The transactions tests: a company database in a temp folder with
// accounts, products and services, English settings with the rates 0, 23
// and 13.5 %, the program's messages recorded, a main window to hold the
// forms, and documents posted from snapshots built by hand.
#pragma once

#include "CustTestSupport.h"

#include "settings/QlSettings.h"
#include "transactions/QlTransPost.h"

#include <string>
#include <vector>

class TransTest : public CustTest {
protected:
    void SetUp() override;
    void TearDown() override;

    int64_t AddProduct(const char *code, const char *barcode, const char *name, int units, int hundredths,
                       int stock);
    int64_t AddService(const char *descr, int units, int hundredths);
    int Stock(const char *code);
    // P001 "Copper pipe" at 12.50, 40 in stock, barcode 501234567890, and
    // P002 "Brass elbow" at 1.99, barcode 501234567891.
    void AddPipesAndElbows(int elbowStock);
    // The account's balance in cents.
    int64_t Balance();

    // A snapshot of a document for the account, with rows of cells.
    QlTransSnapshot Snapshot(int type, int lineMode, const char *acref, const char *gross,
                             const std::vector<std::vector<std::string>> &rows);
    // A product row as the product dialog writes it (price, quantity, tax
    // from the net at the rate).
    static std::vector<std::string> ProductRow(const char *code, const char *descr, int quantity, int64_t priceCents,
                                               int64_t rate);
    // Posts the snapshot; 1 on success with the new key in *key.
    int Post(QlTransSnapshot *snap, int type, int64_t *key = nullptr);

    // Every row of every table, as text: "the database as it was" (read on
    // the program's connection, so that writes still uncommitted count).
    std::string Dump();

    QlSettingsBlock savedSettings;
    int64_t customer = 0;
};

// The program's statement runner, failing the statement with the given
// number (counted from 0 since Arm) and counting every statement.
struct StatementFault {
    static int failAt;
    static int seen;
    static void Arm(int failAtStatement);
    static void Disarm();
    static int Hook(const char *sql);
};

// A document form in the module slot, driven as a user drives it: its
// texts, its list, its buttons and tool bar.  Questions are recorded with
// the label of their OK button.
class FormTest : public TransTest {
protected:
    void SetUp() override;

    std::string Text(int id) const;
    HWND Lines() const;
    // WM_COMMAND from one of the form's controls.
    void FormCommand(int id, int code = BN_CLICKED);
    // A command of the form's tool bar, as the bar sends it.
    void Toolbar(int command);
    int ToolbarButtons() const;
    void SelectRow(int row);

    // A document stored through the posting, with its tax and carriage
    // (carriage tax from "carriageTax"); its key.
    int64_t Store(int type, int lineMode, const char *gross, const std::vector<std::vector<std::string>> &rows,
                  const char *tax = "0.00", const char *carriage = "0.00", const char *carriageTax = "0.00",
                  const char *order = "");
    // The stored header of the document.
    QlTransRec Stored(int64_t key);

    HWND form = NULL;

public:
    static std::vector<std::string> okLabels;
};

// Dialog steps for DialogDriver.
void SetField(HWND dialog, int id, const char *text);
// Selects an entry of a combo and tells the dialog, as a user's choice does.
void Choose(HWND dialog, int comboId, int index);
std::string DialogText(HWND dialog, int id);
