#include "QlLayout.h"

#include <string.h>

#include "QlListView.h"
#include "QlToolbar.h"
#include "QlUtil.h"
#include "QlWindow.h"

HWND QlMainToolbarWnd = NULL;
HWND QlLangPanelWnd = NULL;
QlUiDocLayoutRec QlUiDocLayout;
QlUiDocFitColumnsFn QlUiDocFitColumnsHook = NULL;

static RECT ParentClient(HWND window)
{
    RECT rc = {0, 0, 0, 0};
    GetClientRect(GetAncestor(window, GA_PARENT), &rc);
    return rc;
}

static int WindowHeight(HWND window)
{
    RECT rc;
    if (!window || !IsWindow(window) || !GetWindowRect(window, &rc)) return 0;
    return rc.bottom - rc.top;
}

void QlUiGetRectInParent(HWND window, int *width, int *height, int *top, int *left)
{
    RECT rc = {0, 0, 0, 0};
    if (window && GetWindowRect(window, &rc)) {
        HWND parent = GetAncestor(window, GA_PARENT);
        POINT corners[2] = {{rc.left, rc.top}, {rc.right, rc.bottom}};
        ScreenToClient(parent, &corners[0]);
        ScreenToClient(parent, &corners[1]);
        rc.left = corners[0].x;
        rc.top = corners[0].y;
        rc.right = corners[1].x;
        rc.bottom = corners[1].y;
    }
    if (width) *width = rc.right - rc.left;
    if (height) *height = rc.bottom - rc.top;
    if (top) *top = rc.top;
    if (left) *left = rc.left;
}

QlUiRectRec *QlUiSaveRectInParent(HWND window, QlUiRectRec *rec)
{
    QlUiGetRectInParent(window, &rec->width, &rec->height, &rec->top, &rec->left);
    return rec;
}

// Current placement of a window, for the helpers below.
struct Placement {
    int left, top, width, height;
};

static Placement PlacementOf(HWND window)
{
    Placement p;
    QlUiGetRectInParent(window, &p.width, &p.height, &p.top, &p.left);
    return p;
}

static BOOL Place(HWND window, const Placement &p)
{
    if (!window) return FALSE;
    return MoveWindow(window, p.left, p.top, p.width, p.height, TRUE);
}

BOOL QlUiMoveWindow(HWND window, int x, int y)
{
    Placement p = PlacementOf(window);
    p.left = x;
    p.top = y;
    return Place(window, p);
}

BOOL QlUiMoveItem(HWND dialog, int id, int x, int y)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? QlUiMoveWindow(item, x, y) : FALSE;
}

BOOL QlUiShiftItemX(HWND dialog, int id, int dx)
{
    HWND item = GetDlgItem(dialog, id);
    if (!item) return FALSE;
    Placement p = PlacementOf(item);
    p.left += dx;
    return Place(item, p);
}

BOOL QlUiMoveItemLeftOf(HWND dialog, int id, int otherId)
{
    HWND item = GetDlgItem(dialog, id);
    HWND other = GetDlgItem(dialog, otherId);
    if (!item || !other) return FALSE;
    Placement p = PlacementOf(item);
    Placement o = PlacementOf(other);
    p.left = o.left - p.width;
    p.top = o.top;
    return Place(item, p);
}

BOOL QlUiMoveToRight(HWND window, int margin)
{
    Placement p = PlacementOf(window);
    p.left = ParentClient(window).right - p.width - margin;
    return Place(window, p);
}

BOOL QlUiMoveItemToRight(HWND dialog, int id, int margin)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? QlUiMoveToRight(item, margin) : FALSE;
}

BOOL QlUiMoveToBottom(HWND window, int margin)
{
    Placement p = PlacementOf(window);
    p.top = ParentClient(window).bottom - p.height - margin;
    return Place(window, p);
}

BOOL QlUiMoveItemToBottom(HWND dialog, int id, int bottom, int margin)
{
    HWND item = GetDlgItem(dialog, id);
    if (!item) return FALSE;
    Placement p = PlacementOf(item);
    p.top = bottom - p.height - margin;
    return Place(item, p);
}

BOOL QlUiStretchRight(HWND window, int margin)
{
    Placement p = PlacementOf(window);
    p.width = ParentClient(window).right - p.left - margin;
    return Place(window, p);
}

BOOL QlUiStretchItemRight(HWND dialog, int id, int margin)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? QlUiStretchRight(item, margin) : FALSE;
}

BOOL QlUiStretchDown(HWND window, int margin)
{
    Placement p = PlacementOf(window);
    p.height = ParentClient(window).bottom - p.top - margin;
    return Place(window, p);
}

BOOL QlUiStretchItemDown(HWND dialog, int id, int margin)
{
    HWND item = GetDlgItem(dialog, id);
    return item ? QlUiStretchDown(item, margin) : FALSE;
}

BOOL QlUiDockBottom(HWND window, int mode, int margin)
{
    if (mode != 0 && mode != 1) return FALSE;
    Placement p = PlacementOf(window);
    RECT client = ParentClient(window);
    if (mode == 0) p.left = client.right - p.width;
    p.top = client.bottom - p.height;
    p.height -= margin;
    return Place(window, p);
}

BOOL QlUiFillBelowToolbar(HWND moduleWindow)
{
    int below = WindowHeight(QlMainToolbarWnd) + 3;
    RECT client = ParentClient(moduleWindow);
    Placement p = PlacementOf(moduleWindow);
    p.top = below;
    p.width = (client.right - client.left) - p.left;
    p.height = (client.bottom - client.top) - below - WindowHeight(QlLangPanelWnd);
    return Place(moduleWindow, p);
}

BOOL QlUiFitPane(HWND moduleWindow)
{
    HWND parent = GetAncestor(moduleWindow, GA_PARENT);
    RECT frame = {0, 0, 0, 0};
    GetWindowRect(parent, &frame);
    int toolbarHeight = WindowHeight(QlMainToolbarWnd);
    int bottom = ParentClient(moduleWindow).bottom;
    if (QlStatusPanelWnd && IsWindow(QlStatusPanelWnd)) QlUiGetRectInParent(QlStatusPanelWnd, NULL, NULL, &bottom, NULL);
    Placement p = {0, toolbarHeight, frame.right - frame.left, bottom - toolbarHeight};
    return Place(moduleWindow, p);
}

BOOL QlUiSetClientSize(HWND window, int cx, int cy)
{
    RECT frame, client;
    if (!GetWindowRect(window, &frame) || !GetClientRect(window, &client)) return FALSE;
    Placement p = PlacementOf(window);
    p.width = cx + (frame.right - frame.left) - (client.right - client.left);
    p.height = cy + (frame.bottom - frame.top) - (client.bottom - client.top);
    return Place(window, p);
}

// The document forms' control lists (template 140 and the order form).
static const int kDocSaved[] = {1185, 1154, 1184, 1155, 1158, 1156, 1160, 1157, 1159, 1149, 1148, 1150,
                                1151, 1147, 1162, 1187, 1163, 1164, 1165, 1166, 1167, 1168, 1170, 1175,
                                1176, 1177, 1195, 1181, 1182, 1178, 1180, 1183, 1188, 1179, 1161};
static const int kCreditSaved[] = {1185, 1154, 1184, 1155, 1158, 1156, 1160, 1157, 1159, 1149, 1148,
                                   1150, 1151, 1147, 1162, 1187, 1163, 1164, 1165, 1166, 1167, 1168,
                                   1170, 1175, 1176, 1177, 1195, 1181, 1182, 1178, 1180, 1161};
static const int kRightBlock[] = {1185, 1154, 1184, 1155, 1158, 1156, 1160, 1157, 1159,
                                  1162, 1187, 1163, 1164, 1165, 1166, 1167, 1168, 1170};
static const int kBottomRow[] = {1149, 1148, 1150, 1151, 1147};
static const int kDocTotals[] = {1162, 1187, 1163, 1164, 1165, 1166, 1167, 1168, 1170, 1175,
                                 1176, 1177, 1195, 1181, 1182, 1178, 1180, 1183, 1188, 1179};
static const int kCreditTotals[] = {1162, 1187, 1163, 1164, 1165, 1166, 1167, 1168, 1170,
                                    1175, 1176, 1177, 1195, 1181, 1182, 1178, 1180};
static_assert(ARRAYSIZE(kDocSaved) == QL_DOC_LAYOUT_SAVED, "saved list fits the layout record");

enum { kTitleId = 1184, kGrossId = 1170, kLinesId = 1161 };

static void ShiftItem(HWND form, int id, int dx, int dy)
{
    HWND item = GetDlgItem(form, id);
    if (!item) return;
    Placement p = PlacementOf(item);
    p.left += dx;
    p.top += dy;
    Place(item, p);
}

static int OwnedBy(HWND toolbar, HWND form)
{
    return toolbar && IsWindow(toolbar) && GetParent(toolbar) == form;
}

// Re-creates the form's bottom tool bar from its table so that it lies along
// the new bottom edge; the new bar, or NULL when the form has none.
static HWND RecreateBottomToolbar(HWND form)
{
    HWND *slot;
    QlToolbarItem *table;
    int count;
    if (OwnedBy(QlSaveCloseToolbar, form)) {
        slot = &QlSaveCloseToolbar;
        table = QlSaveCloseToolbarTable;
        count = ARRAYSIZE(QlSaveCloseToolbarTable);
    } else if (OwnedBy(QlDocViewToolbar, form)) {
        slot = &QlDocViewToolbar;
        table = QlDocViewToolbarTable;
        count = ARRAYSIZE(QlDocViewToolbarTable);
    } else if (OwnedBy(QlFormOwnToolbar, form) && QlFormOwnToolbarItems) {
        slot = &QlFormOwnToolbar;
        table = QlFormOwnToolbarItems;
        count = QlFormOwnToolbarCount;
    } else {
        return NULL;
    }
    QlToolbarDestroy(*slot, table, count);
    *slot = QlToolbarCreate(QlUiInstance(), form, table, count, 1, 0);
    return *slot;
}

static void LayoutDocument(HWND form, const int *saved, int savedCount, const int *totals, int totalsCount)
{
    QlUiDocLayoutRec *keep = &QlUiDocLayout;
    memset(keep, 0, sizeof *keep);
    QlUiSaveRectInParent(form, &keep->form);
    for (int i = 0; i < savedCount; i++) {
        keep->saved[i].id = saved[i];
        HWND item = GetDlgItem(form, saved[i]);
        if (item) QlUiSaveRectInParent(item, &keep->saved[i]);
    }

    QlUiFillBelowToolbar(form);

    HWND title = GetDlgItem(form, kTitleId);
    if (title) {
        RECT client;
        GetClientRect(form, &client);
        Placement t = PlacementOf(title);
        int dx = client.right - t.width - t.left - 3;
        for (int id : kRightBlock) ShiftItem(form, id, dx, 0);
    }

    for (int id : kBottomRow) {
        HWND item = GetDlgItem(form, id);
        if (item) QlUiDockBottom(item, 1, 0);
    }

    HWND toolbar = RecreateBottomToolbar(form);
    HWND gross = GetDlgItem(form, kGrossId);
    int dy = 0;
    if (toolbar && gross) {
        Placement bar = PlacementOf(toolbar);
        Placement g = PlacementOf(gross);
        dy = bar.top - g.height - g.top - 15;
        for (int i = 0; i < totalsCount; i++) ShiftItem(form, totals[i], 0, dy);
    }
    keep->dy = dy;

    QlUiStretchItemRight(form, kLinesId, 0);
    HWND lines = GetDlgItem(form, kLinesId);
    if (lines && dy) {
        Placement p = PlacementOf(lines);
        p.height += dy;
        Place(lines, p);
    }
}

void QlUiLayoutDocEditor(HWND form, int argument)
{
    LayoutDocument(form, kDocSaved, ARRAYSIZE(kDocSaved), kDocTotals, ARRAYSIZE(kDocTotals));
    if (QlUiDocFitColumnsHook) QlUiDocFitColumnsHook(form, argument);
}

void QlUiLayoutCreditEditor(HWND form, int argument)
{
    LayoutDocument(form, kCreditSaved, ARRAYSIZE(kCreditSaved), kCreditTotals, ARRAYSIZE(kCreditTotals));
    QlListFitFirstColumn(form);
}
