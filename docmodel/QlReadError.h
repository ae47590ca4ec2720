// A read of the company's data that failed (a locked or damaged file, a
// refused statement): the user sees the store's text under the caption
// "Cannot read the company's data", never an empty list or "not found".
#pragma once

#include <windows.h>

void QlShowReadError(HWND owner, const char *err);
