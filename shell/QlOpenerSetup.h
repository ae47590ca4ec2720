// The shell fills in the doors between the modules (docmodel/QlOpeners.h):
// the only place that knows every module's openers.
#pragma once

// Fills QlTransOpenerTable and QlModuleOpeners; the program does it at
// start-up (QlMainStart), a test program that opens one module's windows
// from another before its first test.  Calling it again changes nothing.
void QlShellSetOpeners(void);
