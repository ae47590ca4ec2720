// Lists the fields of a text record type, as QlLangFieldInfo entries, from the
// .def file named by QL_LANG_DEF for the record type QL_LANG_REC; included
// inside the initializer of a QlLangFieldInfo array (see QlLangGen.h).
// No include guard: it is included once per field list.
#ifndef QL_LANG_COUNT
#error "include settings/QlLangGen.h at file level first"
#endif

#define QL_TEXT(name, width, ...) {#name, offsetof(QL_LANG_REC, name), (width), 1, (width)},
#define QL_LIST(name, count, width) {#name, offsetof(QL_LANG_REC, name), (width), (count), (width)},
#define QL_ITEM(...)
#define QL_LIST_END(name)
#define QL_LETTERS(name, count)                                                                    \
    {#name ".title", offsetof(QL_LANG_REC, name) + offsetof(QlLetterTemplate, title),             \
     sizeof(QlLetterTemplate::title), (count), sizeof(QlLetterTemplate)},                          \
    {#name ".body", offsetof(QL_LANG_REC, name) + offsetof(QlLetterTemplate, body),               \
     sizeof(QlLetterTemplate::body), (count), sizeof(QlLetterTemplate)},
#define QL_LETTER(...)
#define QL_LETTERS_END(name)
#define QL_DLG(name, capacity)                                                                     \
    {#name, offsetof(QL_LANG_REC, name) + offsetof(QlLangDlgText, text), sizeof(QlLangDlgText::text), \
     (capacity), sizeof(QlLangDlgText)},
#define QL_DLG_ITEM(id, ...)
#define QL_DLG_END(name)
#include QL_LANG_DEF
#undef QL_TEXT
#undef QL_LIST
#undef QL_ITEM
#undef QL_LIST_END
#undef QL_LETTERS
#undef QL_LETTER
#undef QL_LETTERS_END
#undef QL_DLG
#undef QL_DLG_ITEM
#undef QL_DLG_END
#undef QL_LANG_DEF
#undef QL_LANG_REC
