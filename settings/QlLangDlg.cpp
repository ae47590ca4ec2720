#include "settings/QlLangDlg.h"

#include "ui/QlWindow.h"
#include "settings/QlCountries.h"
#include "settings/QlLangTables.h"

#include <string.h>

void QlLangCopyLabels(QlToolbarItem *items, int count, const char (*labels)[80])
{
    for (int i = 0; i < count; i++) {
        size_t len = strnlen(labels[i], sizeof items[i].text - 1);
        memcpy(items[i].text, labels[i], len);
        items[i].text[len] = '\0';
    }
}

void QlLangCopyLetters(int lang, QlSettingsRec *rec)
{
    memcpy(rec->letters, QlLangTextTable[QlLangIndex(lang)].Letters, sizeof rec->letters);
}

// The template as some language ships it (or empty): the company has not
// written it itself.
static int IsStockLetter(const QlLetterTemplate *letter, int slot)
{
    if (!letter->title[0] && !letter->body[0]) return 1;
    for (int lang = 0; lang < QL_LANG_COUNT; lang++) {
        const QlLetterTemplate *stock = &QlLangTextTable[lang].Letters[slot];
        if (strncmp(letter->title, stock->title, sizeof letter->title) == 0 &&
            strncmp(letter->body, stock->body, sizeof letter->body) == 0)
            return 1;
    }
    return 0;
}

int QlLangSwitchLetters(int lang, QlSettingsRec *rec)
{
    const QlLetterTemplate *stock = QlLangTextTable[QlLangIndex(lang)].Letters;
    int replaced = 0;
    for (int slot = 0; slot < QL_LETTER_COUNT; slot++) {
        if (!IsStockLetter(&rec->letters[slot], slot)) continue;
        memcpy(&rec->letters[slot], &stock[slot], sizeof rec->letters[slot]);
        replaced++;
    }
    return replaced;
}

void QlLangSetDlgTexts(HWND dialog, QlToolbarItem *table)
{
    const QlLangTextRec *text = QlLangText();
    const QlLangMenuRec *menu = QlLangMenu();
    if (table) QlLangCopyLabels(table, QL_CUST_TOOLBAR_COUNT, text->CustToolbar);
    const int capacity = (int)(sizeof menu->CustDlgTexts / sizeof menu->CustDlgTexts[0]);
    for (int i = 0; i < capacity && menu->CustDlgTexts[i].id != QL_LANG_DLG_END; i++)
        SetDlgItemTextA(dialog, menu->CustDlgTexts[i].id, menu->CustDlgTexts[i].text);
}

void QlLangFillCombos(HWND dialog, const QlSettingsRec *rec)
{
    int country = rec->country >= 0 && rec->country < QL_COUNTRY_COUNT ? rec->country : 0;
    QlUiComboFill(dialog, QlLanguageNameTable, QL_LANG_COMBO_ID, QlLangIndex(rec->language));
    QlUiComboFill(dialog, QlCountryNameTable, QL_COUNTRY_COMBO_ID, country);
}
