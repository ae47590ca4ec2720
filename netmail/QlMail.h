// What the main window hands to the mail sender: its timer and its events.
#pragma once

#include <windows.h>

// Timer 2 of the main window (100 ms) while a mail is being sent: advances
// the SMTP client's sessions (QlSmtpPump); does nothing when no mail is on its way.
void QlMailTimerTick(void);
// A mail event posted to the main window (WM_USER+8): the event code (1-10)
// and a heap status text, which this function owns from the call on: it
// shows it in the open e-mail dialog and frees it.
void QlMailShowEvent(int event, char *text);
