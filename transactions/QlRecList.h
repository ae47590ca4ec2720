// A list of fixed 44-byte records kept in memory and on disk in two flat
// files, a primary and a mirror copy, with look-up by either of two 32-bit
// keys.
//
// On disk a record is its 44 bytes, one after another, with no header.  The
// last four bytes are the record's link to its list node in memory; a
// pointer does not fit there, so the link is kept beside the record in
// memory and the file holds zeros in its place.
#pragma once

#include <stddef.h>
#include <stdint.h>

#pragma pack(push, 1)
struct QlFlatRec {
    int32_t key1;
    int32_t key2;
    uint8_t content[32];   // not interpreted here
    uint32_t link;         // zero on disk and in the records handed out
};
#pragma pack(pop)
static_assert(sizeof(QlFlatRec) == 44, "a flat record is 44 bytes");
static_assert(offsetof(QlFlatRec, key2) == 4, "the second key follows the first");
static_assert(offsetof(QlFlatRec, link) == 40, "the link is the last four bytes");

// Appends a copy of the record; 1, or 0 for a null record or when memory ran
// out.
int QlRecListAdd(const QlFlatRec *rec);
// The number of records in the list.
int QlRecListCount(void);
// Empties the list and reads it from the primary file, or from the mirror
// when the primary is empty or missing and the mirror holds records; a
// missing primary is created empty.  A trailing part record is left out.  1,
// or 0 when the primary can neither be opened nor created or a read fails
// (the list then holds what was read before the failure).
int QlRecListLoad(const char *primaryPath, const char *mirrorPath);
// Writes every record, in list order, to both files (truncating them) and
// empties the list.  The mirror is rewritten only after the primary was
// written whole; a mirror that cannot be opened is left out.  1, or 0 when
// the primary cannot be opened or a write or close fails: the list is then
// kept whole, so that nothing is lost.
int QlRecListSave(const char *primaryPath, const char *mirrorPath);
// The first record whose first (second) key equals key: 1 and *out pointing
// to it (valid until the list changes), or 0.
int QlRecListFindByKey1(int32_t key, QlFlatRec **out);
int QlRecListFindByKey2(int32_t key, QlFlatRec **out);
// Frees every record.
void QlRecListClear(void);
