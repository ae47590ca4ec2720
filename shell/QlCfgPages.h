// The settings window's pages: what they share (placement in the tab
// control, the Save / Close tool bar, closing the window, fields copied
// between edits and the settings record by table), the page procedures, and
// the operations of each page that tests and the other pages call.
#pragma once

#include "settings/QlSettings.h"

#include <windows.h>
#include <stddef.h>

// Posted by a page to the settings window (its parent's parent): close.
#define QL_WM_CFG_CLOSE (WM_USER + 5)

// The pages in tab order.
enum QlCfgPage {
    QL_CFG_PAGE_LANGUAGE,
    QL_CFG_PAGE_COMPANY,
    QL_CFG_PAGE_INVOICES,
    QL_CFG_PAGE_TAX,
    QL_CFG_PAGE_MAIL,
    QL_CFG_PAGE_LETTERS,
    QL_CFG_PAGE_COUNT
};

// The settings window's procedure (dialog 202).
INT_PTR CALLBACK QlCfgDlgProc(HWND container, UINT msg, WPARAM wParam, LPARAM lParam);
// Shows page index (0-5) in the container: nothing when it is the open page,
// else the open page goes and the new one is created in the tab control
// (its tab selected).  Other indexes do nothing.
void QlCfgShowPage(HWND container, int index);
// The open settings window and its open page (NULL when none), and that
// page's index (-1 when none).
HWND QlCfgWindow(void);
HWND QlCfgPageWindow(void);
int QlCfgPageIndex(void);
// Labels the six tabs and the heading again in the current language.
void QlCfgRelabelTabs(HWND container);

// The page tool bar: " Save " (command 0) and " Close " (command 1) along
// the page's bottom, labelled in the current language.  One exists at a
// time; creating it destroys the previous one.
enum { QL_CFG_CMD_SAVE, QL_CFG_CMD_CLOSE };
HWND QlCfgPageToolbarCreate(HWND page);
void QlCfgPageToolbarDestroy(void);
HWND QlCfgPageToolbar(void);

// Every page's start: fills the tab control's display area and gets its
// tool bar.
void QlCfgPageInit(HWND page);
// Every page's commands 0 and 1: Save runs save (when given) and closes the
// settings window, Close closes it without storing anything.  1 when the
// command was one of them.  A save that refused what was typed (after its
// message) sets QlCfgSaveRefused: the window then stays open with it.
int QlCfgPageCommand(HWND page, int id, int code, void (*save)(HWND page));
extern int QlCfgSaveRefused;
// Writes the settings file; tells the user when it could not be written.
void QlCfgSaveFile(HWND page);

// A text field of the settings record edited by a control: the record's
// bytes at offset, width bytes with the terminator; the edit takes at most
// limit characters.
struct QlCfgTextField {
    int id;
    size_t offset;
    size_t width;
    int limit;
};
#define QL_CFG_FIELD(id, field, limit) {(id), offsetof(QlSettingsRec, field), sizeof(QlSettingsRec::field), (limit)}
// Limits the edits and shows the record's texts in them.
void QlCfgFillFields(HWND page, const QlCfgTextField *fields, int count, const QlSettingsRec *rec);
// Reads the edits back into the record, each cut to its field.
void QlCfgStoreFields(HWND page, const QlCfgTextField *fields, int count, QlSettingsRec *rec);
// A decimal number of at most maxDigits digits and nothing else; 1 with the
// value, 0 for anything else (the empty text included).
int QlCfgParseNumber(const char *text, int maxDigits, unsigned *value);
// The same for a control's text.
int QlCfgReadNumber(HWND page, int id, int maxDigits, unsigned *value);

// Language page (227).
INT_PTR CALLBACK QlCfgLangPageDlgProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
// Takes the language and country of the combos into the settings: the
// language index; when the country changed, the country with its tax name,
// currency and business-number label (the company's own rate texts stay).
// 0 when no language or no country is selected.
int QlCfgLangPageApply(HWND page);

// Company page (203).
INT_PTR CALLBACK QlCfgCompanyPageDlgProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
void QlCfgCompanyPageSave(HWND page);

// Invoice appearance page (204) and its cell-margin dialog (351).
INT_PTR CALLBACK QlCfgInvoicePageDlgProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
void QlCfgInvoicePageFill(HWND page);
void QlCfgInvoicePageSave(HWND page);
void QlCfgLogoBrowse(HWND page);
// The preview's picture (a bitmap of the page's own), NULL when none.
HBITMAP QlCfgLogoPreview(void);
LRESULT CALLBACK QlCfgLogoPreviewProc(HWND preview, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlCfgCellMarginDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// The dialog's values, in and out.
extern int QlCfgMarginTop;
extern int QlCfgMarginRight;

// Tax and currency page (205).
INT_PTR CALLBACK QlCfgTaxPageDlgProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
void QlCfgTaxPageFill(HWND page);
void QlCfgTaxPageSaveNames(HWND page);
void QlCfgTaxBuildRates(HWND page);
// Appends a row of the rate list: the item text, column 1 = text1, column 2
// = text2, column 3 = "%", and the item data; the row's index, -1 on failure.
int QlVatListAddRow(HWND list, const char *item, const char *text1, const char *text2, LPARAM data);
// The page's list of the rates in force (1461): one row a rate, "B", "20",
// ".00", "%", its index as item data.
void QlCfgTaxFillRateList(HWND page);
// The index of the first currency of QlCurrencyTable whose code is the
// code's first three characters; 1 with *index, else 0.
int QlCfgFindCurrency(const char *code, int *index);

// E-mail and letters pages (210, 222).
INT_PTR CALLBACK QlCfgMailPageDlgProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
void QlCfgMailPageFill(HWND page);
void QlCfgMailPageSave(HWND page);
INT_PTR CALLBACK QlCfgLettersPageDlgProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
void QlCfgLettersPageSave(HWND page);
