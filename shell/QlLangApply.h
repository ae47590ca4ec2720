// Applying a user-interface language to the menu, the tool-bar and column
// tables, the printed headings, the panels and the forms' captions.
#pragma once

#include "ui/QlToolbar.h"
#include "settings/QlLangDlg.h"
#include "settings/QlSettings.h"

#include <windows.h>

// Applies language lang (0-8; anything else is English), in this order: the
// main menu; the main tool bar's labels and descriptions (re-creating the
// tool bar when recreateToolbar is set and it exists); the tool bars and
// list columns of the transactions, products and services windows; the
// report names and descriptions; the invoice-type list; the printed
// headings; the letter templates of the current settings that are still
// stock ones, only when replaceLetters is set (QlLangSwitchLetters: edited
// ones stay); the language panel's name; the forms' captions.
// Start-up and loading a company pass replaceLetters 0, so that a company's
// own letters stay; the language page passes 1 when the user chose another
// language.  QlVatUpdateLabels must run afterwards to put the tax name into
// the headings.
void QlLangApply(int lang, int recreateToolbar, int replaceLetters);

// The menu part: pop-up titles and item texts of the main window's menu.
void QlLangApplyMenus(int lang);
