// The language records.  Compiled to Windows-1252 (see CMakeLists.txt).
#include "settings/QlLangTables.h"

#include "resources/QlResMenu.h"
#include "settings/QlSettings.h"

#include <stdio.h>

const QlLangTextRec QlLangTextTable[QL_LANG_COUNT] = {
#define QL_LANG_DEF "settings/QlLangTexts.def"
#include "settings/QlLangData.h"
};

// The menu bar of each language, built while compiling from QlLangMenu.def:
// a text too long for its field, a missing translation or too many items is
// a compile error (the constant evaluation fails).
namespace {

struct MenuDef {
    int id;  // -1 for a pop-up title
    const char *text[QL_LANG_COUNT];
};

constexpr MenuDef kMenuDefs[] = {
#define QL_POPUP(...) {-1, {__VA_ARGS__}},
#define QL_MENU_ITEM(id, ...) {id, {__VA_ARGS__}},
#include "settings/QlLangMenu.def"
#undef QL_POPUP
#undef QL_MENU_ITEM
};

constexpr void CopyMenuText(char (&field)[QL_MENU_TEXT_WIDTH], const char *text)
{
    size_t i = 0;
    for (; text[i]; i++) field[i] = text[i];
    field[i] = '\0';
}

constexpr QlLangMenuBar BuildMenuBar(int lang)
{
    QlLangMenuBar bar{};
    int popup = -1;
    for (const MenuDef &def : kMenuDefs) {
        if (def.id < 0) {
            popup++;
            CopyMenuText(bar.titles[popup], def.text[lang]);
            continue;
        }
        QlLangPopup &p = bar.popups[popup];
        CopyMenuText(p.items[p.count], def.text[lang]);
        p.ids[p.count] = def.id;
        p.count++;
    }
    bar.popupCount = popup + 1;
    return bar;
}

constexpr QlLangMenuBar kMenuBars[QL_LANG_COUNT] = {
    BuildMenuBar(0), BuildMenuBar(1), BuildMenuBar(2), BuildMenuBar(3), BuildMenuBar(4),
    BuildMenuBar(5), BuildMenuBar(6), BuildMenuBar(7), BuildMenuBar(8)};

}  // namespace

const QlLangMenuRec QlLangMenuTable[QL_LANG_COUNT] = {
#define QL_LANG_RECORD_HEAD kMenuBars[QL_LANG_I],
#define QL_LANG_DEF "settings/QlLangMenuTexts.def"
#include "settings/QlLangData.h"
};

const QlLangFieldInfo QlLangTextFields[] = {
#define QL_LANG_DEF "settings/QlLangTexts.def"
#define QL_LANG_REC QlLangTextRec
#include "settings/QlLangFields.h"
};
const int QlLangTextFieldCount = (int)(sizeof QlLangTextFields / sizeof QlLangTextFields[0]);

#define QL_MENU_POPUP_FIELD(p)                                                                          \
    {"bar.popups[" #p "].items",                                                                        \
     offsetof(QlLangMenuRec, bar) + offsetof(QlLangMenuBar, popups) + (p) * sizeof(QlLangPopup) +      \
         offsetof(QlLangPopup, items),                                                                  \
     QL_MENU_TEXT_WIDTH, QL_MENU_ITEM_MAX, QL_MENU_TEXT_WIDTH}

const QlLangFieldInfo QlLangMenuFields[] = {
    {"bar.titles", offsetof(QlLangMenuRec, bar) + offsetof(QlLangMenuBar, titles), QL_MENU_TEXT_WIDTH,
     QL_MENU_POPUP_MAX, QL_MENU_TEXT_WIDTH},
    QL_MENU_POPUP_FIELD(0),
    QL_MENU_POPUP_FIELD(1),
    QL_MENU_POPUP_FIELD(2),
#define QL_LANG_DEF "settings/QlLangMenuTexts.def"
#define QL_LANG_REC QlLangMenuRec
#include "settings/QlLangFields.h"
};
const int QlLangMenuFieldCount = (int)(sizeof QlLangMenuFields / sizeof QlLangMenuFields[0]);

const char *QlLanguageNameTable[2 * QL_LANG_COUNT + 2] = {
    "English", "Deutsch", "Français", "Español", "Dansk", "Svenska", "Norsk", "Suomi", "Nederlands", NULL,
    "eng", "de", "fr", "es", "dk", "se", "no", "fi", "nl", NULL};

int QlLangIndex(int lang)
{
    return lang >= 0 && lang < QL_LANG_COUNT ? lang : QL_LANG_ENGLISH;
}

const QlLangTextRec *QlLangText(void)
{
    return &QlLangTextTable[QlLangIndex(QlSettings.cfg.language)];
}

void QlLangTaxNoLabel(char *out, int size)
{
    if (!out || size <= 0) return;
    char name[sizeof QlSettings.cfg.taxName];
    snprintf(name, sizeof name, "%.*s", (int)sizeof name - 1, QlSettings.cfg.taxName);
    snprintf(out, (size_t)size, QlLangText()->TaxNoLabel, name[0] ? name : "TAX");
}

const QlLangMenuRec *QlLangMenu(void)
{
    return &QlLangMenuTable[QlLangIndex(QlSettings.cfg.language)];
}
