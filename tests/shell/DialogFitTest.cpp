// Every dialog template, in every language, with the program's fonts: no
// static, button, check box, radio button or group box shows a text wider
// (or, wrapped, taller) than its control.
//
// The templates carry the English texts; the windows label their controls
// from the language records.  A control whose template text is the English
// text of a record's field is measured with that field's text of each
// language (with every such field when several share the English text); the
// others are measured with the template's own text.
#include "QlGTest.h"

#include "catalogue/QlCatTexts.h"
#include "customers/QlCustTexts.h"
#include "docmodel/QlTransTexts.h"
#include "docmodel/QlViewTexts.h"
#include "documents/QlDocTexts.h"
#include "netmail/QlMailTexts.h"
#include "purchasing/QlPurchDocTexts.h"
#include "purchasing/QlPurchTexts.h"
#include "reports/QlRepTexts.h"
#include "reports/QlSalesGraphTexts.h"
#include "settings/QlLangTables.h"
#include "shell/QlShellTexts.h"
#include "transactions/QlPaneTexts.h"

#include <windows.h>
#include <commctrl.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// One text record of the nine languages and its fields.
struct Record {
    const char *name;
    const void *table;   // the record of language 0; the others follow
    size_t size;
    const QlLangFieldInfo *fields;
    int fieldCount;
};

#define QL_RECORD(table, fields, count) {#table, table, sizeof table[0], fields, count}
const Record kRecords[] = {
    QL_RECORD(QlLangTextTable, QlLangTextFields, QlLangTextFieldCount),
    QL_RECORD(QlLangMenuTable, QlLangMenuFields, QlLangMenuFieldCount),
    QL_RECORD(QlShellTextTable, QlShellTextFields, QlShellTextFieldCount),
    QL_RECORD(QlCustTextTable, QlCustTextFields, QlCustTextFieldCount),
    QL_RECORD(QlTransTextTable, QlTransTextFields, QlTransTextFieldCount),
    QL_RECORD(QlViewTextTable, QlViewTextFields, QlViewTextFieldCount),
    QL_RECORD(QlMailTextTable, QlMailTextFields, QlMailTextFieldCount),
    QL_RECORD(QlPaneTextTable, QlPaneTextFields, QlPaneTextFieldCount),
    QL_RECORD(QlRepTextTable, QlRepTextFields, QlRepTextFieldCount),
    QL_RECORD(QlSalesTextTable, QlSalesTextFields, QlSalesTextFieldCount),
    QL_RECORD(QlCatTextTable, QlCatTextFields, QlCatTextFieldCount),
    QL_RECORD(QlDocTextTable, QlDocTextFields, QlDocTextFieldCount),
    QL_RECORD(QlPurchDocTextTable, QlPurchDocTextFields, QlPurchDocTextFieldCount),
    QL_RECORD(QlPurchTextTable, QlPurchTextFields, QlPurchTextFieldCount),
};

// A text as a control shows it apart from its access key and trailing blanks.
std::string Plain(const char *text)
{
    std::string plain;
    for (const char *p = text; *p; p++)
        if (*p != '&') plain += *p;
    while (!plain.empty() && plain.back() == ' ') plain.pop_back();
    return plain;
}

// The English text of every field, with its text in each language.
class Translations {
public:
    Translations()
    {
        for (const Record &r : kRecords)
            for (int f = 0; f < r.fieldCount; f++) {
                const QlLangFieldInfo &field = r.fields[f];
                for (size_t i = 0; i < field.count; i++) {
                    const char *english = Text(r, field, i, 0);
                    if (!english[0]) continue;
                    std::vector<std::string> all;
                    for (int lang = 0; lang < QL_LANG_COUNT; lang++) all.push_back(Text(r, field, i, lang));
                    byEnglish_[Plain(english)].insert(all);
                }
            }
    }
    // The texts of the language that a control labelled text in English may
    // show; the text itself, once, when no field has it.
    std::set<std::string> In(const std::string &text, int lang) const
    {
        std::set<std::string> texts;
        auto found = byEnglish_.find(Plain(text.c_str()));
        if (found == byEnglish_.end()) {
            if (lang == 0) texts.insert(text);
            return texts;
        }
        for (const auto &all : found->second) texts.insert(all[lang]);
        return texts;
    }

private:
    static const char *Text(const Record &r, const QlLangFieldInfo &field, size_t item, int lang)
    {
        return (const char *)r.table + r.size * lang + field.offset + field.stride * item;
    }
    std::map<std::string, std::set<std::vector<std::string>>> byEnglish_;
};

enum Kind { STATIC_TEXT, PUSH_BUTTON, CHECK_BOX, GROUP_BOX, OTHER };

Kind KindOf(HWND control)
{
    char cls[32] = "";
    GetClassNameA(control, cls, sizeof cls);
    LONG style = GetWindowLongA(control, GWL_STYLE);
    if (!lstrcmpiA(cls, "Static")) {
        switch (style & SS_TYPEMASK) {
        case SS_LEFT: case SS_CENTER: case SS_RIGHT: case SS_SIMPLE: case SS_LEFTNOWORDWRAP: return STATIC_TEXT;
        default: return OTHER;
        }
    }
    if (!lstrcmpiA(cls, "Button")) {
        switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON: case BS_DEFPUSHBUTTON: return style & (BS_BITMAP | BS_ICON) ? OTHER : PUSH_BUTTON;
        case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE:
        case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON: return CHECK_BOX;
        case BS_GROUPBOX: return GROUP_BOX;
        default: return OTHER;
        }
    }
    return OTHER;
}

// Why the text does not fit the control as the control draws it; "" when it
// fits.
std::string Misfit(HWND control, Kind kind, const std::string &text)
{
    RECT client;
    GetClientRect(control, &client);
    int width = client.right, height = client.bottom;
    LONG style = GetWindowLongA(control, GWL_STYLE);
    HDC dc = GetDC(control);
    HFONT font = (HFONT)SendMessageA(control, WM_GETFONT, 0, 0);
    HGDIOBJ old = SelectObject(dc, font ? (HGDIOBJ)font : GetStockObject(SYSTEM_FONT));
    UINT format = DT_CALCRECT | DT_EXPANDTABS;
    int room = width;
    bool wraps = false;
    switch (kind) {
    case STATIC_TEXT:
        if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
        wraps = (style & SS_TYPEMASK) != SS_SIMPLE && (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP;
        break;
    case PUSH_BUTTON:
        room = width - 6;   // the frame and the focus rectangle
        wraps = (style & BS_MULTILINE) != 0;
        break;
    case CHECK_BOX: {
        int zero = 0;
        GetCharWidthA(dc, '0', '0', &zero);
        room = width - (12 * GetDeviceCaps(dc, LOGPIXELSX) / 96 + 1) - zero / 2;   // the box and its gap
        wraps = (style & BS_MULTILINE) != 0;
        break;
    }
    case GROUP_BOX: room = width - 14; break;   // the frame's corners on either side
    default: break;
    }
    if (wraps) format |= DT_WORDBREAK;
    else format |= DT_SINGLELINE;
    RECT need = {0, 0, room > 0 ? room : 1, 0};
    DrawTextA(dc, text.c_str(), -1, &need, format);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    std::ostringstream why;
    if (need.right > room || (wraps && need.bottom > height)) {
        // What one line of the text needs, in dialog units as well.
        RECT line = {0, 0, 1, 0};
        HDC measure = GetDC(control);
        HGDIOBJ kept = SelectObject(measure, font ? (HGDIOBJ)font : GetStockObject(SYSTEM_FONT));
        DrawTextA(measure, text.c_str(), -1, &line, (format & ~DT_WORDBREAK) | DT_SINGLELINE);
        SelectObject(measure, kept);
        ReleaseDC(control, measure);
        RECT units = {0, 0, 4, 8};
        MapDialogRect(GetParent(control), &units);
        int missing = line.right - room;
        int dialogUnits = units.right > 0 ? (missing * 4 + units.right - 1) / units.right : missing;
        why << "in one line " << line.right << " pixels in " << room << ": " << dialogUnits << " dialog units short";
    }
    return why.str();
}

INT_PTR CALLBACK PlainProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

BOOL CALLBACK CollectTemplate(HMODULE, LPCSTR, LPSTR name, LONG_PTR param)
{
    if (IS_INTRESOURCE(name)) ((std::vector<int> *)param)->push_back((int)(INT_PTR)name);
    return TRUE;
}

struct Control {
    HWND window;
    Kind kind;
    std::string english;
};

BOOL CALLBACK CollectControl(HWND child, LPARAM param)
{
    Kind kind = KindOf(child);
    char text[600] = "";
    GetWindowTextA(child, text, sizeof text);
    if (kind != OTHER && text[0]) ((std::vector<Control> *)param)->push_back({child, kind, text});
    return TRUE;
}

}  // namespace

TEST(DialogFit, EveryLabelOfEveryTemplateFitsInEveryLanguage)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES |
                                                ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    std::vector<int> templates;
    EnumResourceNamesA(GetModuleHandleA(NULL), (LPCSTR)RT_DIALOG, CollectTemplate, (LONG_PTR)&templates);
    ASSERT_GT(templates.size(), 40u);
    Translations translations;
    HWND host = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1200, 900, NULL, NULL, NULL, NULL);
    ASSERT_NE(nullptr, host);
    std::ostringstream misfits;
    int measured = 0;
    for (int id : templates) {
        HWND dialog = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(id), host, PlainProc, 0);
        EXPECT_NE(nullptr, dialog) << "template " << id;
        if (!dialog) continue;
        std::vector<Control> controls;
        EnumChildWindows(dialog, CollectControl, (LPARAM)&controls);
        for (const Control &c : controls)
            for (int lang = 0; lang < QL_LANG_COUNT; lang++)
                for (const std::string &text : translations.In(c.english, lang)) {
                    measured++;
                    std::string why = Misfit(c.window, c.kind, text);
                    if (!why.empty())
                        misfits << "template " << id << ", control " << GetDlgCtrlID(c.window) << ", "
                                << QlLanguageNameTable[lang] << ": \"" << text << "\" " << why << "\n";
                }
        DestroyWindow(dialog);
    }
    DestroyWindow(host);
    EXPECT_GT(measured, 1000);
    EXPECT_EQ("", misfits.str());
}
