// GoogleTest.  Under winelib gtest is Debian's Linux library: it must not see
// _WIN32, or it takes the Windows code paths against glibc.  In the Windows
// build it is a Windows library and sees what the compiler defines.  Include
// this before windows.h.
#pragma once

#ifdef __WINE__
#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
#else
#include <gtest/gtest.h>
#endif
