// The suppliers screens' tests: the customers tests' company (a database in
// a temp folder, a main window, the program's messages recorded and answered)
// with suppliers, their purchase orders, and the suppliers window opened in
// the module slot.
#pragma once

#include "CustTestSupport.h"

#include <string>
#include <vector>

class SuppTest : public CustTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A supplier with a fixed A/C ref, added through the data store; its key.
    int64_t AddSupplier(const char *acref, const char *company, const char *addr1 = "1 Mill Lane");
    // A purchase order (trans type 5) of the supplier; its key.
    int64_t AddOrder(int64_t supp, const char *date, const char *desc, const char *gross, uint32_t type = 5);

    // The suppliers window, opened on the main window (also in `window`).
    HWND OpenWindow();
    HWND List() const;
    // A tool-bar command of the window or dialog, as its tool bar sends it.
    static void Toolbar(HWND dialog, int command);
    void ColumnClick(int column);
    // The row made the focused and selected one, as a click makes it.
    void Focus(int row);
    std::string Text(int id) const;

    HWND window = NULL;
};

