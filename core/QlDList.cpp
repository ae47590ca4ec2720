#include "QlDList.h"

#include <stddef.h>
#include <stdlib.h>
#include <string.h>

static_assert(offsetof(QlDListRec, first) == offsetof(QlDListNodeRec, next), "first word");
static_assert(offsetof(QlDListRec, last) == offsetof(QlDListNodeRec, prev), "second word");

QlDListRec *QlDListInit(QlDListRec *list)
{
    if (list) list->first = list->last = NULL;
    return list;
}

static QlDListNodeRec *NewNode(void)
{
    QlDListNodeRec *node = (QlDListNodeRec *)calloc(1, sizeof *node);
    if (!node) return NULL;
    node->sub = (QlDListRec *)calloc(1, sizeof *node->sub);
    if (!node->sub) {
        free(node);
        return NULL;
    }
    return node;
}

QlDListNodeRec *QlDListAppendCopy(QlDListRec *list, const void *data, int length)
{
    if (!list || !data || length <= 0) return NULL;
    QlDListNodeRec *node = NewNode();
    if (!node) return NULL;
    node->data = calloc((size_t)length + 1, 1);
    if (!node->data) {
        QlDListFreeNode(node);
        return NULL;
    }
    memcpy(node->data, data, (size_t)length);
    node->length = length;
    QlDListAppendNode(list, node);
    return node;
}

QlDListNodeRec *QlDListAppendValue(QlDListRec *list, intptr_t value)
{
    if (!list || value == 0) return NULL;
    QlDListNodeRec *node = NewNode();
    if (!node) return NULL;
    node->data = (void *)value;
    node->length = 0;
    QlDListAppendNode(list, node);
    return node;
}

void QlDListAppendNode(QlDListRec *list, QlDListNodeRec *node)
{
    if (!list || !node) return;
    node->next = NULL;
    node->prev = list->last;
    if (list->last)
        list->last->next = node;
    else
        list->first = node;
    list->last = node;
}

QlDListNodeRec *QlDListPopFirst(QlDListRec *list)
{
    if (!list || !list->first) return NULL;
    QlDListNodeRec *node = list->first;
    list->first = node->next;
    if (list->first)
        list->first->prev = NULL;
    else
        list->last = NULL;
    node->next = node->prev = NULL;
    return node;
}

void QlDListRemove(QlDListRec *list, QlDListNodeRec *node)
{
    if (!list || !node || !list->first || !list->last) return;
    if (list->first == node && list->last == node) {
        list->first = list->last = NULL;
    } else if (list->first == node) {
        list->first = node->next;
        if (list->first) list->first->prev = NULL;
    } else if (list->last == node) {
        list->last = node->prev;
        if (list->last) list->last->next = NULL;
    } else {
        if (node->prev) node->prev->next = node->next;
        if (node->next) node->next->prev = node->prev;
    }
    node->next = node->prev = NULL;
    QlDListFreeNode(node);
}

void QlDListFreeNode(QlDListNodeRec *node)
{
    if (!node) return;
    if (node->length > 0) free(node->data);   // a value node holds no heap copy
    free(node->str1);
    free(node->str2);
    if (node->sub) {
        QlDListFree(node->sub);
        free(node->sub);
    }
    free(node);
}

void QlDListFree(QlDListRec *list)
{
    if (!list) return;
    QlDListNodeRec *node = list->first;
    while (node) {
        QlDListNodeRec *next = node->next;
        QlDListFreeNode(node);
        node = next;
    }
    list->first = list->last = NULL;
}

void QlDListForEach(QlDListRec *list, QlDListVisitFn fn)
{
    if (!list || !fn) return;
    int index = 0;
    for (QlDListNodeRec *node = list->first; node; node = node->next) fn(node, index++);
}

QlDListNodeRec *QlDListFindPrefix(QlDListRec *list, const void *bytes, int n)
{
    if (!list || !bytes || n <= 0) return NULL;
    for (QlDListNodeRec *node = list->first; node; node = node->next) {
        if (node->length >= n && memcmp(node->data, bytes, (size_t)n) == 0) return node;
    }
    return NULL;
}

static void SetStr(char **slot, const char *data, int length)
{
    if (*slot || !data || length <= 0) return;
    char *copy = (char *)malloc((size_t)length + 1);
    if (!copy) return;
    memcpy(copy, data, (size_t)length);
    copy[length] = '\0';
    *slot = copy;
}

void QlDListNodeSetStr1(QlDListNodeRec *node, const char *data, int length)
{
    if (node) SetStr(&node->str1, data, length);
}

void QlDListNodeSetStr2(QlDListNodeRec *node, const char *data, int length)
{
    if (node) SetStr(&node->str2, data, length);
}

void *QlDListGetNext(const void *listOrNode)
{
    if (!listOrNode) return NULL;
    return ((const QlDListNodeRec *)listOrNode)->next;
}

void *QlDListGetNextRaw(const void *listOrNode)
{
    return ((const QlDListNodeRec *)listOrNode)->next;
}

void *QlDListGetPrev(const void *listOrNode)
{
    if (!listOrNode) return NULL;
    return ((const QlDListNodeRec *)listOrNode)->prev;
}
