// Mail is not part of the program yet: nothing is ever sent, and an event
// that arrives anyway is dropped (its text freed).
#include "netmail/QlMail.h"

#include <stdlib.h>

void QlMailTimerTick(void)
{
}

void QlMailShowEvent(int event, char *text)
{
    free(text);
}
