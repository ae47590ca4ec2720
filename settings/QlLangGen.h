// Records of translated texts, generated from one list of fields.
//
// A text record holds fixed-width, zero-terminated texts (Windows-1252 bytes);
// there is one record per user-interface language, in the order of
// QL_LANG_COUNT (English, German, French, Spanish, Danish, Swedish, Norwegian,
// Finnish, Dutch).  Its fields are listed once, in a .def file, each line
// carrying the field's name, its width and all nine translations:
//
//   QL_TEXT(Name, width, en, de, fr, es, da, sv, no, fi, nl)    char Name[width]
//   QL_LIST(Name, count, width)                                char Name[count][width]
//     QL_ITEM(en, de, fr, es, da, sv, no, fi, nl)              exactly count of them
//   QL_LIST_END(Name)
//   QL_LETTERS(Name, count)                                    QlLetterTemplate Name[count]
//     QL_LETTER((title, body), ... nine (title, body) pairs)   exactly count of them
//   QL_LETTERS_END(Name)
//   QL_DLG(Name, capacity)                                     QlLangDlgText Name[capacity]
//     QL_DLG_ITEM(controlId, en, ..., nl)                      ended by id 0xFFFF
//   QL_DLG_END(Name)
//
// The record type is declared, after including this header at file level, with
//
//   struct QlFooTextRec {
//   #define QL_LANG_DEF "folder/QlFooTexts.def"
//   #include "settings/QlLangStruct.h"
//   };
//
// and the nine records, in one source file compiled to Windows-1252 (see
// shell/CMakeLists.txt), with
//
//   const QlFooTextRec QlFooTexts[QL_LANG_COUNT] = {
//   #define QL_LANG_DEF "folder/QlFooTexts.def"
//   #include "settings/QlLangData.h"
//   };
//
// A text longer than its field (the terminator must fit too), a missing or
// extra translation, or a list with the wrong number of items does not
// compile.  settings/QlLangFields.h lists the fields for tests and tools.
#pragma once

#include <stddef.h>
#include <stdint.h>

#define QL_LANG_COUNT 9

// A letter template, the layout of the settings file's letters.
struct QlLetterTemplate {
    char title[128];
    char body[512];
};

// One {control id, text} entry of a dialog's text list; the list ends with
// the id QL_LANG_DLG_END.
struct QlLangDlgText {
    int32_t id;
    char text[40];
};
#define QL_LANG_DLG_END 0xFFFF

// Where a field of a text record lies: count texts of width bytes, stride
// bytes apart, the first at offset.
struct QlLangFieldInfo {
    const char *name;
    size_t offset;
    size_t width;
    size_t count;
    size_t stride;
};

// Helpers of the generating headers.
#define QL_LANG_CAT(a, b) QL_LANG_CAT_(a, b)
#define QL_LANG_CAT_(a, b) a##b
#define QL_LANG_APPLY(macro, args) macro args
#define QL_LANG_PAIR(a, b) {a, b}
#define QL_LANG_PICK_AT(i, ...) QL_LANG_CAT(QL_LANG_PICK_, i)(__VA_ARGS__)
#define QL_LANG_PICK_0(a0, a1, a2, a3, a4, a5, a6, a7, a8) a0
#define QL_LANG_PICK_1(a0, a1, a2, a3, a4, a5, a6, a7, a8) a1
#define QL_LANG_PICK_2(a0, a1, a2, a3, a4, a5, a6, a7, a8) a2
#define QL_LANG_PICK_3(a0, a1, a2, a3, a4, a5, a6, a7, a8) a3
#define QL_LANG_PICK_4(a0, a1, a2, a3, a4, a5, a6, a7, a8) a4
#define QL_LANG_PICK_5(a0, a1, a2, a3, a4, a5, a6, a7, a8) a5
#define QL_LANG_PICK_6(a0, a1, a2, a3, a4, a5, a6, a7, a8) a6
#define QL_LANG_PICK_7(a0, a1, a2, a3, a4, a5, a6, a7, a8) a7
#define QL_LANG_PICK_8(a0, a1, a2, a3, a4, a5, a6, a7, a8) a8
