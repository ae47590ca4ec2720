// The print style of the current company: what printouts and PDF files show
// of the company and the print options they follow, from the settings and
// the current language.  Printers fill it once at their start and pass it
// to the print stack's print, grid and PDF helpers (print/).
#pragma once

#include "print/QlPrint.h"

void QlDocPrintStyle(QlPrintStyleRec *style);
