// GoogleTest under winelib: gtest must not see _WIN32, or it takes the
// Windows code paths against glibc.  Include this before windows.h.
#pragma once

#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
