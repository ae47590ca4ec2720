// Declares the fields of a text record from the .def file named by
// QL_LANG_DEF; included inside the record's struct body (see QlLangGen.h).
// No include guard: it is included once per record type.
#ifndef QL_LANG_COUNT
#error "include settings/QlLangGen.h at file level first"
#endif

#define QL_TEXT(name, width, ...) char name[width];
#define QL_LIST(name, count, width) char name[count][width];
#define QL_ITEM(...)
#define QL_LIST_END(name)
#define QL_LETTERS(name, count) QlLetterTemplate name[count];
#define QL_LETTER(...)
#define QL_LETTERS_END(name)
#define QL_DLG(name, capacity) QlLangDlgText name[capacity];
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

// Every list holds exactly its number of items; a dialog list leaves room for
// its end mark.
#define QL_TEXT(name, width, ...)
#define QL_LIST(name, count, width) static_assert((count) == 0
#define QL_ITEM(...) +1
#define QL_LIST_END(name) , #name ": wrong number of items");
#define QL_LETTERS(name, count) static_assert((count) == 0
#define QL_LETTER(...) +1
#define QL_LETTERS_END(name) , #name ": wrong number of letters");
#define QL_DLG(name, capacity) static_assert((capacity) >= 1
#define QL_DLG_ITEM(id, ...) +1
#define QL_DLG_END(name) , #name ": no room for the end mark");
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
