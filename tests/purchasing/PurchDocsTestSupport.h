// The purchase documents' tests: the transactions tests' company and forms
// (FormTest), a supplier with its account, a stand-in for the suppliers
// window (a list 1397 whose focused row carries the supplier's row id in
// column 2), products to order, and pictures of windows on the screen.
#pragma once

#include "TransTestSupport.h"
#include "UiTestSupport.h"

#include "datastore/QlDbRecords.h"

#include <string>
#include <vector>

class PurchTest : public FormTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A supplier, added through the data store; its key.
    int64_t AddSupplier(const char *acref, const char *company, const char *email = "orders@pipes.test");
    // The stand-in suppliers window with the supplier's row focused (none
    // focused when key is 0).
    void FocusSupplier(int64_t key);
    // A product to order: code, supplier code, name, purchase price, barcode.
    int64_t AddStock(const char *code, const char *supplierCode, const char *name, int units, int hundredths,
                     const char *barcode);

    // Every cell of a row of the form's lines.
    std::vector<std::string> Row(int row) const;
    // Focuses and selects the row of the form's lines.
    void FocusRow(int row);

    HWND suppliers = NULL;
    int64_t supplier = 0;
    std::string savedDir, savedWorkDir;
};

// A picture of the window as the screen shows it, saved as PNG in the
// artifacts folder under name; false (with a failure) when it could not be
// taken, when it is mostly black, or when one of the painted children's
// parts of it is one flat colour.
bool SaveWindowPng(HWND window, const std::string &name, const std::vector<HWND> &painted = {});
