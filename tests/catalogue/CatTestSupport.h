// The products module's tests: the transactions tests' company (an account,
// English settings, the program's messages recorded), the products window
// opened on the test's main window, the scan sounds recorded, and the
// product dialogs created modeless so that a test can drive them by hand.
#pragma once

#include "TransTestSupport.h"

#include <string>
#include <vector>

class CatTest : public TransTest {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND OpenProducts();
    // The services window on the test's main window, held in window.
    HWND OpenServices();
    HWND List() const;
    // A click on a column header of the window's list, and a row of it made
    // the focused and selected one.
    void ColumnClick(int column);
    void Focus(int row);
    // A tool-bar command of the window (or dialog), as its tool bar sends it.
    static void Toolbar(HWND window, int command);
    // The product dialogs over the products window, modeless; 209 edits the row.
    HWND NewDialog();
    HWND EditDialog(int row);
    // A control's text, and setting one.
    static std::string Text(HWND dialog, int id);
    static void Set(HWND dialog, int id, const char *text);
    // The enabled product with the short code (all zero when there is none).
    QlProdRec Product(const char *code);
    // The short codes listed in prod_list, in order.
    static std::vector<std::string> MemCodes();

    HWND window = NULL;

public:
    static std::vector<std::string> sounds;
};
