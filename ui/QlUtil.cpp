#include "QlUtil.h"

#include <stdlib.h>
#include <string.h>

HWND QlStatusPanelWnd = NULL;

static const char kPrevProcProp[] = "PREVWNDPROC";

int QlSqlQuote(const char *src, char *dst, size_t dstSize)
{
    if (!dst || dstSize == 0) return 0;
    dst[0] = '\0';
    if (!src) return 1;
    size_t out = 0;
    for (const char *p = src; *p; p++) {
        size_t need = (*p == '\'') ? 2 : 1;
        if (out + need >= dstSize) {
            dst[0] = '\0';
            return 0;
        }
        dst[out++] = *p;
        if (*p == '\'') dst[out++] = '\'';
    }
    dst[out] = '\0';
    return 1;
}

void QlTrimBlanks(char *text)
{
    size_t start = strspn(text, " \t");
    size_t length = strlen(text + start);
    while (length > 0 && (text[start + length - 1] == ' ' || text[start + length - 1] == '\t')) length--;
    memmove(text, text + start, length);
    text[length] = '\0';
}

void QlCsvWriteField(FILE *stream, const char *text)
{
    fputc('"', stream);
    for (const char *p = text ? text : ""; *p; p++) {
        if (*p == '"') fputc('"', stream);
        fputc(*p, stream);
    }
    fputs("\",", stream);
}

int QlRingInit(QlRingRec *ring, int capacity)
{
    ring->write = ring->read = ring->count = 0;
    ring->slotCount = capacity + 1;
    ring->slots = capacity >= 0 ? (int32_t *)calloc((size_t)capacity + 1, sizeof(int32_t)) : NULL;
    return ring->slots != NULL;
}

QlRingRec *QlRingFree(QlRingRec *ring)
{
    ring->write = ring->read = ring->count = 0;
    free(ring->slots);
    ring->slots = NULL;
    return ring;
}

int QlRingPush(QlRingRec *ring, int32_t value)
{
    if (!ring->slots || ring->count >= ring->slotCount - 1) return 0;
    ring->slots[ring->write] = value;
    ring->write = (ring->write + 1) % ring->slotCount;
    ring->count++;
    return 1;
}

int QlRingPop(QlRingRec *ring, int32_t *value)
{
    if (!ring->slots || ring->count <= 0) return 0;
    *value = ring->slots[ring->read];
    ring->read = (ring->read + 1) % ring->slotCount;
    ring->count--;
    return 1;
}

void QlStatusPost(const char *text, COLORREF colour)
{
    if (!text || !QlStatusPanelWnd || !IsWindow(QlStatusPanelWnd)) return;
    size_t len = strlen(text) + 1;
    char *copy = (char *)malloc(len);
    if (!copy) return;
    memcpy(copy, text, len);
    if (!PostMessageA(QlStatusPanelWnd, QL_WM_STATUS_SHOW, (WPARAM)colour, (LPARAM)copy)) free(copy);
}

void QlUiSubclass(HWND window, WNDPROC procedure)
{
    if (!window || GetPropA(window, kPrevProcProp)) return;
    LONG_PTR prev = SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)procedure);
    SetPropA(window, kPrevProcProp, (HANDLE)prev);
}

void QlUiUnsubclass(HWND window)
{
    if (!window) return;
    HANDLE prev = GetPropA(window, kPrevProcProp);
    if (!prev) return;
    SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)prev);
    RemovePropA(window, kPrevProcProp);
}

LRESULT QlUiCallPrevious(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC prev = (WNDPROC)GetPropA(window, kPrevProcProp);
    if (!prev) return DefWindowProcA(window, msg, wParam, lParam);
    return CallWindowProcA(prev, window, msg, wParam, lParam);
}

LRESULT CALLBACK QlEditEnterWndProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
        SendMessageA(GetParent(edit), QL_WM_ENTER_KEY, 0, 0);
        return 0;
    }
    return QlUiCallPrevious(edit, msg, wParam, lParam);
}

void QlEditEnterAttach(HWND edit)
{
    QlUiSubclass(edit, QlEditEnterWndProc);
}

void QlEditEnterDetach(HWND edit)
{
    QlUiUnsubclass(edit);
}
