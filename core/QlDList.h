// Doubly linked list of heap nodes, each owning a copy of a block of bytes.
#pragma once

#include <stdint.h>

struct QlDListNodeRec;

struct QlDListRec {
    QlDListNodeRec *first;
    QlDListNodeRec *last;
};

struct QlDListNodeRec {
    QlDListNodeRec *next;
    QlDListNodeRec *prev;
    void *data;          // heap copy plus one NUL byte; for a value node the value itself
    int length;          // bytes copied, NUL not counted
    char *str1;          // optional heap strings, set once
    char *str2;
    QlDListRec *sub;     // owned, empty list head
};

typedef void (*QlDListVisitFn)(QlDListNodeRec *node, int index);

QlDListRec *QlDListInit(QlDListRec *list);
QlDListNodeRec *QlDListAppendCopy(QlDListRec *list, const void *data, int length);
QlDListNodeRec *QlDListAppendValue(QlDListRec *list, intptr_t value);
void QlDListAppendNode(QlDListRec *list, QlDListNodeRec *node);
QlDListNodeRec *QlDListPopFirst(QlDListRec *list);
void QlDListRemove(QlDListRec *list, QlDListNodeRec *node);
void QlDListFreeNode(QlDListNodeRec *node);
void QlDListFree(QlDListRec *list);
void QlDListForEach(QlDListRec *list, QlDListVisitFn fn);
QlDListNodeRec *QlDListFindPrefix(QlDListRec *list, const void *bytes, int n);
void QlDListNodeSetStr1(QlDListNodeRec *node, const char *data, int length);
void QlDListNodeSetStr2(QlDListNodeRec *node, const char *data, int length);

// The first word of a list head (first) or of a node (next); GetPrev the second.
void *QlDListGetNext(const void *listOrNode);
void *QlDListGetNextRaw(const void *listOrNode);
void *QlDListGetPrev(const void *listOrNode);
