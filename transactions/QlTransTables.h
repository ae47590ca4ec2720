// Static tables of the transactions window: its tool bar and list columns.
// The language application rewrites their labels and titles.
#pragma once

#include "ui/QlListView.h"
#include "ui/QlToolbar.h"

#define QL_TRANS_PANE_TOOLBAR_COUNT 7
extern QlToolbarItem QlTransPaneToolbarTable[QL_TRANS_PANE_TOOLBAR_COUNT];
// List 1103: seven titled columns and the hidden document row id.
extern QlListColumnTable QlTransPaneListColumnTable;
