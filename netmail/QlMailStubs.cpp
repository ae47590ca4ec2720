// The main window's hand-over to the mail sender.  The e-mail dialog is not
// part of the program yet: the timer drives whatever sessions the SMTP client
// has open, and an event that arrives is dropped (its text freed).
#include "netmail/QlMail.h"
#include "netmail/QlSmtp.h"

#include <stdlib.h>

void QlMailTimerTick(void)
{
    QlSmtpPump();
}

void QlMailShowEvent(int event, char *text)
{
    free(text);
}
