// The one road from a stored transaction to the form that shows it, and the
// message pump of long list loads.  (The openers live with their forms; the
// shell fills in the tables.)

#include "docmodel/QlOpeners.h"

QlTransOpener QlTransOpenerTable[QL_TRANS_OPENER_COUNT];
QlModuleOpenersRec QlModuleOpeners;

HWND QlTransOpenByType(QlTransRec *rec)
{
    if (!rec) return NULL;
    int lineMode = rec->sub_type != 0;
    for (const QlTransOpener &opener : QlTransOpenerTable)
        if (opener.type == rec->type && (opener.lineMode < 0 || opener.lineMode == lineMode) && opener.open)
            return opener.open(rec);
    return NULL;
}

DWORD QlUiPumpIntervalMs = 10;

int QlUiPumpMessages(void)
{
    // A look into the queue is a round trip to the window server, dearer than
    // adding a row to a list; a load calls this for every row, thousands of
    // times a second.  Looking at most once every few milliseconds keeps the
    // program just as responsive and the load as fast as without the pump.
    static DWORD lastLook;
    DWORD now = GetTickCount();
    if (QlUiPumpIntervalMs && now - lastLook < QlUiPumpIntervalMs) return 0;
    lastLook = now;

    // The program has no accelerator table: every message is translated and
    // dispatched.  Passes that find no message would do nothing, so the pump
    // stops at the first one.
    for (int pass = 0; pass < 15; pass++) {
        MSG msg;
        if (!PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE) || msg.message == WM_QUIT) return 1;
        if (!PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) return 1;
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            return 1;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 1;
}
