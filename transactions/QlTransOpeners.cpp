// The openers of the transactions window, the quotation and payment forms
// and the stored documents.  They come with those screens; until then each
// opener leaves everything as it is and frees what it is handed.  (The
// invoice and credit-note openers live with their forms, QlTransEditor.cpp.)

#include "transactions/QlTransOpeners.h"

#include <stdlib.h>

HWND QlTransPaneCreate(HWND parent)
{
    return NULL;
}

HWND QlQuoteOpenNew(const char *acref, QlQuotePrefill *prefill)
{
    free(prefill);
    return NULL;
}

HWND QlPayNew(HWND customersModule)
{
    return NULL;
}

HWND QlTransOpenByType(QlTransRec *rec)
{
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
