// The address label: command 9 of the customers module.  Dialog 199 shows
// the account's address and the fourteen positions of an A4 sheet of
// labels; Print puts the address, as the dialog shows it, on the label at
// the chosen position.

#include "customers/QlCustOutput.h"
#include "customers/QlCustOpeners.h"

#include "customers/QlCustTexts.h"

#include "ui/QlWindow.h"
#include "datastore/QlDbTables.h"
#include "resources/QlResIds.h"
#include "settings/QlLangDlg.h"

#include <stdio.h>
#include <string.h>

int QlCustLabelPosition;

// The job of the dialog's Print, printed once the dialog has closed.
static QlLabelJob sJob;

// The positions' buttons: 1257, then 1259 to 1271.
static int PositionId(int position)
{
    return position == 0 ? IDB_LABEL_FIRST : IDB_LABEL_FIRST + 1 + position;
}

static const int kAddressIds[4] = {IDE_LABEL_COMPANY, IDE_CUST_ADDR1, IDE_CUST_ADDR2, IDE_CUST_ADDR3};

// An A4 sheet of 2 x 7 labels of 99.1 x 38.1 mm, in hundredths of a
// millimetre from the paper's corner.
#define SHEET_LEFT 465
#define SHEET_TOP 1515
#define LABEL_WIDTH 9910
#define LABEL_HEIGHT 3810
#define COLUMN_PITCH 10160
#define TEXT_INSET 500

static int MmToDevice(int hundredths, int pixelsPerInch)
{
    return MulDiv(hundredths, pixelsPerInch, 2540);
}

RECT QlLabelRect(const QlPrintTarget *target, int position)
{
    int dpiX = GetDeviceCaps(target->dc, LOGPIXELSX), dpiY = GetDeviceCaps(target->dc, LOGPIXELSY);
    // The margin rectangle lies an inch inside the paper.
    int paperLeft = target->page.left - dpiX, paperTop = target->page.top - dpiY;
    if (position < 0 || position >= QL_LABEL_POSITIONS) position = 0;
    int left = SHEET_LEFT + (position % 2) * COLUMN_PITCH, top = SHEET_TOP + (position / 2) * LABEL_HEIGHT;
    RECT r;
    r.left = paperLeft + MmToDevice(left, dpiX);
    r.top = paperTop + MmToDevice(top, dpiY);
    r.right = paperLeft + MmToDevice(left + LABEL_WIDTH, dpiX);
    r.bottom = paperTop + MmToDevice(top + LABEL_HEIGHT, dpiY);
    return r;
}

int QlLabelDraw(QlPrintTarget *target, void *data)
{
    const QlLabelJob *job = (const QlLabelJob *)data;
    HDC dc = target->dc;
    HFONT font = QlCustPrintFont(dc, 10, 0);
    if (!font) return 0;
    HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const int h = QlCustPrintLineHeight(dc);

    RECT label = QlLabelRect(target, job->position);
    RECT line = label;
    line.left += MmToDevice(TEXT_INSET, GetDeviceCaps(dc, LOGPIXELSX));
    line.right -= MmToDevice(TEXT_INSET / 2, GetDeviceCaps(dc, LOGPIXELSX));
    line.top += MmToDevice(TEXT_INSET, GetDeviceCaps(dc, LOGPIXELSY));
    for (int i = 0; i < 4; i++) {
        line.bottom = line.top + h + 1;
        DrawTextA(dc, job->lines[i], -1, &line, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        line.top = line.bottom;
    }
    SelectObject(dc, previous);
    DeleteObject(font);
    return 1;
}

// ---------------------------------------------------------------------------
// Dialog 199

static BOOL OnInitDialog(HWND dialog, HWND module)
{
    const QlCustTextRec *text = QlCustText();
    QlUiCenterWindow(dialog);
    SetWindowTextA(dialog, text->LabelsCaption);
    SetDlgItemTextA(dialog, IDG_LABEL_GROUP, text->LabelsGroup);
    QlLangSetDlgTexts(dialog, NULL);   // the address labels of the customer form
    SetDlgItemTextA(dialog, IDB_LABEL_PRINT, text->LetterPrint);
    SetDlgItemTextA(dialog, IDB_LABEL_CLOSE, text->LetterClose);
    for (int i = 0; i < QL_LABEL_POSITIONS; i++) {
        char caption[40];
        snprintf(caption, sizeof caption, "%s %u", text->LabelWord, (unsigned)(i + 1));
        SetDlgItemTextA(dialog, PositionId(i), caption);
    }
    int remembered = QlCustLabelPosition >= 0 && QlCustLabelPosition < QL_LABEL_POSITIONS ? QlCustLabelPosition : 0;
    CheckRadioButton(dialog, PositionId(0), PositionId(QL_LABEL_POSITIONS - 1), PositionId(remembered));
    for (int id : kAddressIds) SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, 39, 0);

    char acref[6] = "", err[128];
    if (module) QlUiGetField(module, IDT_CUST_ACREF, acref);
    QlCustRec customer;
    if (acref[0] && QlCustGetByAcRef(acref, &customer, err)) {
        SetDlgItemTextA(dialog, IDE_LABEL_COMPANY, customer.company);
        SetDlgItemTextA(dialog, IDE_CUST_ADDR1, customer.addr1);
        SetDlgItemTextA(dialog, IDE_CUST_ADDR2, customer.addr2);
        SetDlgItemTextA(dialog, IDE_CUST_ADDR3, customer.addr3);
    }
    return TRUE;
}

static void OnPrint(HWND dialog)
{
    memset(&sJob, 0, sizeof sJob);
    for (int i = 0; i < QL_LABEL_POSITIONS; i++) {
        if (IsDlgButtonChecked(dialog, PositionId(i)) == BST_CHECKED) {
            QlCustLabelPosition = i;
            break;
        }
    }
    sJob.position = QlCustLabelPosition;
    for (int i = 0; i < 4; i++) QlUiGetField(dialog, kAddressIds[i], sJob.lines[i]);
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK QlCustLabelDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: return OnInitDialog(dialog, (HWND)lParam);
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDB_LABEL_PRINT: OnPrint(dialog); return TRUE;
        case IDCANCEL:
        case IDB_LABEL_CLOSE: EndDialog(dialog, 0); return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void QlCustOpenLabel(HWND module)
{
    char acref[6] = "";
    QlUiGetField(module, IDT_CUST_ACREF, acref);
    if (!acref[0]) return;
    if (DialogBoxParamA(QlUiInstance(), MAKEINTRESOURCEA(IDD_CUST_LABEL), module, QlCustLabelDlgProc, (LPARAM)module) !=
        1)
        return;
    QlPrintDocument(module, QlLabelDraw, &sJob);
}
