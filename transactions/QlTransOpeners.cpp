// The openers of the transactions window and the payment form, which come
// with those screens (until then each leaves everything as it is), and the
// one road from a stored transaction to the form that shows it.  (The
// document forms' own openers live with them: QlTransEditor.cpp,
// QlCreditForm.cpp, QlInvView.cpp, QlQuoteForm.cpp.)

#include "transactions/QlTransOpeners.h"

#include "transactions/QlTransViews.h"

#include <stdlib.h>

HWND QlTransPaneCreate(HWND parent)
{
    return NULL;
}

HWND QlPayNew(HWND customersModule)
{
    return NULL;
}

HWND QlTransOpenByType(QlTransRec *rec)
{
    if (!rec) return NULL;
    switch (rec->type) {
    case 1: return rec->sub_type ? QlInvOpenProd(rec) : QlInvOpenServ(rec);
    case 2: return QlCreditOpen(rec);
    case 4: return QlQuoteOpenView(rec);
    }
    // Payments and purchase documents open with their own forms.
    return NULL;
}

DWORD QlUiPumpIntervalMs = 10;

void QlUiPumpMessages(void)
{
    // A look into the queue is a round trip to the window server, dearer than
    // adding a row to a list; a load calls this for every row, thousands of
    // times a second.  Looking at most once every few milliseconds keeps the
    // program just as responsive and the load as fast as without the pump.
    static DWORD lastLook;
    DWORD now = GetTickCount();
    if (QlUiPumpIntervalMs && now - lastLook < QlUiPumpIntervalMs) return;
    lastLook = now;

    // The program has no accelerator table: every message is translated and
    // dispatched.  Passes that find no message would do nothing, so the pump
    // stops at the first one.
    for (int pass = 0; pass < 15; pass++) {
        MSG msg;
        if (!PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE) || msg.message == WM_QUIT) return;
        if (!PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) return;
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
