// Defines the nine records of a text record type from the .def file named by
// QL_LANG_DEF; included inside the initializer of the record array (see
// QlLangGen.h).  QL_LANG_RECORD_HEAD, when defined, is put before the fields
// of each record (it may use QL_LANG_I, the language index).
// No include guard: it is included once per record array.
#ifndef QL_LANG_COUNT
#error "include settings/QlLangGen.h at file level first"
#endif

#ifndef QL_LANG_RECORD_HEAD
#define QL_LANG_RECORD_HEAD
#endif

#define QL_LANG_PICK(...) QL_LANG_PICK_AT(QL_LANG_I, __VA_ARGS__)
#define QL_TEXT(name, width, ...) QL_LANG_PICK(__VA_ARGS__),
#define QL_LIST(name, count, width) {
#define QL_ITEM(...) QL_LANG_PICK(__VA_ARGS__),
#define QL_LIST_END(name) },
#define QL_LETTERS(name, count) {
#define QL_LETTER(...) QL_LANG_APPLY(QL_LANG_PAIR, QL_LANG_PICK(__VA_ARGS__)),
#define QL_LETTERS_END(name) },
#define QL_DLG(name, capacity) {
#define QL_DLG_ITEM(id, ...) {id, QL_LANG_PICK(__VA_ARGS__)},
#define QL_DLG_END(name) {QL_LANG_DLG_END, ""}},

#define QL_LANG_I 0
{QL_LANG_RECORD_HEAD
#include QL_LANG_DEF
},
#undef QL_LANG_I
#define QL_LANG_I 1
{QL_LANG_RECORD_HEAD
#include QL_LANG_DEF
},
#undef QL_LANG_I
#define QL_LANG_I 2
{QL_LANG_RECORD_HEAD
#include QL_LANG_DEF
},
#undef QL_LANG_I
#define QL_LANG_I 3
{QL_LANG_RECORD_HEAD
#include QL_LANG_DEF
},
#undef QL_LANG_I
#define QL_LANG_I 4
{QL_LANG_RECORD_HEAD
#include QL_LANG_DEF
},
#undef QL_LANG_I
#define QL_LANG_I 5
{QL_LANG_RECORD_HEAD
#include QL_LANG_DEF
},
#undef QL_LANG_I
#define QL_LANG_I 6
{QL_LANG_RECORD_HEAD
#include QL_LANG_DEF
},
#undef QL_LANG_I
#define QL_LANG_I 7
{QL_LANG_RECORD_HEAD
#include QL_LANG_DEF
},
#undef QL_LANG_I
#define QL_LANG_I 8
{QL_LANG_RECORD_HEAD
#include QL_LANG_DEF
},
#undef QL_LANG_I

#undef QL_LANG_PICK
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
#undef QL_LANG_RECORD_HEAD
#undef QL_LANG_DEF
