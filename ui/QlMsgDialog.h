// The program's own message, question and choice dialogs: the text centred in
// a caller-chosen colour on white.  All are modal and block the caller.
//
// Every dialog is run through QlSeamMsgDialog (QlSeams.h), which tests point
// at answers of their own.  A dialog that cannot be shown answers 0: a
// question that was never seen is never taken as a yes.
#pragma once

#include <windows.h>

// Text colours used by the callers.
#define QL_COLOUR_WARNING ((COLORREF)13311)  // 0x0033FF: errors, warnings, refusals and every question
#define QL_COLOUR_DONE ((COLORREF)0x006600)  // reports of success

// One request, carried to the dialog procedure through DialogBoxParamA's
// lParam.  The texts are borrowed for the length of the call.
struct QlMsgRequest {
    int dialogId;            // IDD_MSG_BOX, IDD_MSG_BOX_LARGE, IDD_MSG_BOX_TALL, IDD_MSG_ASK, IDD_MSG_CHOICE
    const char *caption;     // title; NULL leaves it empty
    const char *text;        // message or question (the choice dialog has none)
    COLORREF colour;
    const char *firstText;   // choice dialog: labels of the two radio buttons; question: the OK label
    const char *secondText;
    int choice;              // choice dialog: in the initial choice (0 first, else second), out the one taken
    int disableFirst;
    int disableSecond;
};

// Message with one OK button on dialog 163 / 194 (two or three lines) / 195
// (long texts).  Only OK or Enter closes it.  Returns 1, or 0 when the dialog
// could not be shown.
int QlMsgBox(HWND parent, const char *caption, const char *text, COLORREF colour);
int QlMsgBoxLarge(HWND parent, const char *caption, const char *text, COLORREF colour);
int QlMsgBoxTall(HWND parent, const char *caption, const char *text, COLORREF colour);

// OK / Cancel question on dialog 179, buttons labelled in the current
// language; the focus starts on Cancel.  Returns 1 for OK, 0 for Cancel,
// Escape, the close box, or a dialog that could not be shown.
int QlMsgAskOkCancel(HWND parent, const char *caption, const char *question, COLORREF colour);

// The same with the OK button labelled okLabel (NULL: the language's OK);
// the label travels in request->firstText.
int QlMsgAskOkCancelLabel(HWND parent, const char *caption, const char *question, COLORREF colour,
                          const char *okLabel);

// "Confirmation" / "Warning: All entered data will be lost.\nProceed to close
// form?" in the warning colour.  Returns 1 only when the user confirmed.
int QlMsgAskCloseForm(HWND parent);

// Choice between two radio buttons on dialog 215: initialChoice 0 checks the
// first, any other value the second; either may be disabled.  Returns 1 when
// OK was pressed and writes the checked choice (0 or 1) to *choiceOut; 0 on
// Cancel or when the dialog could not be shown, leaving *choiceOut unchanged.
// Escape does nothing.
int QlMsgAskChoice(HWND parent, const char *caption, const char *firstText, const char *secondText, int initialChoice,
                   int *choiceOut, int disableFirst, int disableSecond);

// The real dialog run: DialogBoxParamA with the template and procedure of
// request->dialogId; returns the dialog's result (-1 or 0 when it could not
// be created).  The default of QlSeamMsgDialog.
INT_PTR QlMsgDialogRun(HWND parent, QlMsgRequest *request);

// Dialog procedures (dialogs 163 and 194; 195; 179; 215).
INT_PTR CALLBACK QlMsgBoxDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlMsgBoxDlgProc2(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlMsgAskDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK QlMsgChoiceDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
