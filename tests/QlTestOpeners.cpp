// Test programs that open one module's windows from another (ql_add_test's
// OPENERS) fill in the doors between the modules before their first test, as
// the program does at start-up.
#include "shell/QlOpenerSetup.h"

namespace {

struct OpenersFilled {
    OpenersFilled() { QlShellSetOpeners(); }
} openersFilled;

}  // namespace
