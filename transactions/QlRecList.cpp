// The fixed-record flat-file list.

#include "transactions/QlRecList.h"

#include "core/QlDList.h"
#include "core/QlPlatform.h"

#include <stdio.h>
#include <string.h>

// What a node holds: the record as on disk, then its link to the node.
struct Entry {
    QlFlatRec rec;
    QlDListNodeRec *node;
};

static QlDListRec sList;
static int sCount;

int QlRecListAdd(const QlFlatRec *rec)
{
    if (!rec) return 0;
    Entry entry = {};
    entry.rec = *rec;
    entry.rec.link = 0;
    QlDListNodeRec *node = QlDListAppendCopy(&sList, &entry, (int)sizeof entry);
    if (!node) return 0;
    ((Entry *)node->data)->node = node;
    sCount++;
    return 1;
}

int QlRecListCount(void)
{
    return sCount;
}

void QlRecListClear(void)
{
    QlDListFree(&sList);
    sCount = 0;
}

static long FileSize(FILE *file)
{
    if (!file || fseek(file, 0, SEEK_END) != 0) return 0;
    long size = ftell(file);
    rewind(file);
    return size > 0 ? size : 0;
}

// Adds every whole record of the file; 0 when a read failed.
static int ReadRecords(FILE *file, long size)
{
    for (long left = size; left >= (long)sizeof(QlFlatRec); left -= (long)sizeof(QlFlatRec)) {
        QlFlatRec rec;
        if (fread(&rec, sizeof rec, 1, file) != 1 || !QlRecListAdd(&rec)) return 0;
    }
    return 1;
}

int QlRecListLoad(const char *primaryPath, const char *mirrorPath)
{
    QlRecListClear();
    FILE *primary = QlFileOpen(primaryPath, "r+b");
    if (!primary) primary = QlFileOpen(primaryPath, "w+b");
    if (!primary) return 0;
    FILE *mirror = mirrorPath ? QlFileOpen(mirrorPath, "r+b") : NULL;
    long primarySize = FileSize(primary);
    long mirrorSize = FileSize(mirror);
    int ok = primarySize >= (long)sizeof(QlFlatRec) || mirrorSize < (long)sizeof(QlFlatRec)
                 ? ReadRecords(primary, primarySize)
                 : ReadRecords(mirror, mirrorSize);
    fclose(primary);
    if (mirror) fclose(mirror);
    return ok;
}

static int WriteAll(FILE *file)
{
    for (QlDListNodeRec *node = sList.first; node; node = node->next) {
        QlFlatRec rec = ((const Entry *)node->data)->rec;
        rec.link = 0;
        if (fwrite(&rec, sizeof rec, 1, file) != 1) return 0;
    }
    return 1;
}

int QlRecListSave(const char *primaryPath, const char *mirrorPath)
{
    // The mirror is rewritten only once the primary holds every record: a
    // primary that cannot be opened or written leaves the mirror as it was.
    FILE *primary = QlFileOpen(primaryPath, "w+b");
    if (!primary) return 0;
    int ok = WriteAll(primary);
    if (fclose(primary) != 0) ok = 0;
    FILE *mirror = ok && mirrorPath ? QlFileOpen(mirrorPath, "w+b") : NULL;
    if (mirror) {
        if (!WriteAll(mirror)) ok = 0;
        if (fclose(mirror) != 0) ok = 0;
    }
    if (ok) QlRecListClear();
    return ok;
}

static int Find(int32_t key, int second, QlFlatRec **out)
{
    for (QlDListNodeRec *node = sList.first; node; node = node->next) {
        Entry *entry = (Entry *)node->data;
        if ((second ? entry->rec.key2 : entry->rec.key1) == key) {
            if (out) *out = &entry->rec;
            return 1;
        }
    }
    return 0;
}

int QlRecListFindByKey1(int32_t key, QlFlatRec **out)
{
    return Find(key, 0, out);
}

int QlRecListFindByKey2(int32_t key, QlFlatRec **out)
{
    return Find(key, 1, out);
}
