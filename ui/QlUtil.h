// Small utilities: SQL and CSV quoting, a FIFO of 32-bit values, the status
// line, and the Enter-key edit subclass.
#pragma once

#include <windows.h>
#include <stdint.h>
#include <stdio.h>

// Copies src into dst (dstSize bytes) with every single quote doubled and a
// terminator.  Returns 1 when the whole doubled text fitted; otherwise dst is
// left empty and 0 is returned: a text is never cut, least of all between the
// two quotes of a pair.
int QlSqlQuote(const char *src, char *dst, size_t dstSize);

// Writes "text", with inner double quotes doubled and a comma after it.
void QlCsvWriteField(FILE *stream, const char *text);

// Removes the blanks and tabs at both ends of a typed text in place: a name
// of blanks only becomes empty.
void QlTrimBlanks(char *text);

struct QlRingRec {
    int write;
    int read;
    int count;
    int32_t *slots;
    int slotCount;     // capacity + 1
};

int QlRingInit(QlRingRec *ring, int capacity);
QlRingRec *QlRingFree(QlRingRec *ring);
int QlRingPush(QlRingRec *ring, int32_t value);
int QlRingPop(QlRingRec *ring, int32_t *value);

// The status panel set by the shell while it exists; WM_USER+16 carries a
// colour and a heap copy of the text, which the panel owns.
#define QL_WM_STATUS_SHOW (WM_USER + 16)
#define QL_WM_STATUS_CLEAR (WM_USER + 17)
extern HWND QlStatusPanelWnd;
void QlStatusPost(const char *text, COLORREF colour);

// Subclassing a control: the previous window procedure is kept in the
// control's property "PREVWNDPROC" (a control already subclassed is left as
// it is); Unsubclass puts it back and removes the property; CallPrevious
// hands a message to it (DefWindowProc when there is none).
void QlUiSubclass(HWND window, WNDPROC procedure);
void QlUiUnsubclass(HWND window);
LRESULT QlUiCallPrevious(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// Enter in a subclassed edit sends WM_USER+4 to its parent.
#define QL_WM_ENTER_KEY (WM_USER + 4)
LRESULT CALLBACK QlEditEnterWndProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam);
void QlEditEnterAttach(HWND edit);
void QlEditEnterDetach(HWND edit);
