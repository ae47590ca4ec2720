// Windows for the toolkit's in-process tests: a frame that logs the commands
// it receives, a message pump, pixels of a bitmap, and a driver that answers
// the next modal dialog of this thread from a timer, so no test waits on one.
#pragma once

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

struct FrameLog {
    int commands;
    int lastCommandId;
    int lastCommandCode;
    HWND lastCommandControl;
    int docButtons;      // QL_WM_DOC_BUTTON messages
    int lastDocButton;
};
extern FrameLog gFrameLog;

// A visible top-level frame whose client area is width x height; its commands
// go to gFrameLog (cleared by this call).  Free it with DestroyWindow.
HWND TestFrame(int width, int height);
// A plain child window of the given client placement (no border), id given.
HWND TestChild(HWND parent, int id, int x, int y, int width, int height);
// Runs every message waiting in this thread's queue.
void PumpMessages(void);

// Placement in the parent's client coordinates.
RECT RectInParent(HWND window);
std::string WindowText(HWND window);

// The bitmap's pixels as 0x00RRGGBB, row by row from the top.
std::vector<DWORD> BitmapPixels(HBITMAP bitmap, int *width = nullptr, int *height = nullptr);
// A bitmap compatible with the screen, filled with one colour.
HBITMAP SolidBitmap(int width, int height, COLORREF colour);
// Bounding box of the bitmap's pixels that differ from the background.
struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
};
Box DrawnBox(HBITMAP bitmap, DWORD background);

// A stand-in for the main window's status panel while it lives (it is
// QlStatusPanelWnd): Posted() takes the texts QlStatusPost sent it since
// the last call, the last of them ("" when none).
class StatusPanel {
public:
    StatusPanel();
    ~StatusPanel();
    StatusPanel(const StatusPanel &) = delete;
    StatusPanel &operator=(const StatusPanel &) = delete;
    std::string Posted();

private:
    HWND panel_ = NULL;
    HWND saved_ = NULL;
};

// Answers the next modal dialog that this thread shows: each step runs once,
// from a timer, with the dialog; one step per tick.  When the steps are used
// up and the dialog is still open it is ended with 99 (and failed), so a
// test can never hang.
class DialogDriver {
public:
    explicit DialogDriver(std::vector<std::function<void(HWND)>> steps);
    ~DialogDriver();
    DialogDriver(const DialogDriver &) = delete;
    DialogDriver &operator=(const DialogDriver &) = delete;
    size_t stepsRun() const { return next; }

    std::vector<std::function<void(HWND)>> steps;
    size_t next = 0;
    int idleTicks = 0;
    UINT_PTR timer = 0;
};

// Steps for the driver.
void PressKey(HWND dialog, WPARAM key);         // a key to the dialog's focused control
void ClickButton(HWND dialog, int id);          // BM_CLICK
COLORREF StaticTextColour(HWND dialog, int id); // the colour the dialog gives the static
// Puts the text on the clipboard (CF_TEXT), as a user's copy does; true when
// it is there.  WM_PASTE to an edit then pastes it.
bool QlTestSetClipboardText(const char *text);
