#include "QlGTest.h"
#include "core/QlDList.h"

#include <string.h>

TEST(DList, RemovingTheMiddleKeepsBothLinks)
{
    QlDListRec list;
    QlDListInit(&list);
    QlDListNodeRec *a = QlDListAppendCopy(&list, "aaaa", 4);
    QlDListNodeRec *b = QlDListAppendCopy(&list, "bbbb", 4);
    QlDListNodeRec *c = QlDListAppendCopy(&list, "cccc", 4);
    ASSERT_TRUE(a && b && c);
    EXPECT_STREQ("bbbb", (const char *)b->data);   // the copy is terminated
    QlDListRemove(&list, b);
    EXPECT_EQ(a, list.first);
    EXPECT_EQ(c, list.last);
    EXPECT_EQ(c, a->next);
    EXPECT_EQ(a, c->prev);
    EXPECT_EQ(nullptr, a->prev);
    EXPECT_EQ(nullptr, c->next);
    QlDListFree(&list);
    EXPECT_EQ(nullptr, list.first);
    EXPECT_EQ(nullptr, list.last);
}

TEST(DList, EndsAndEmptyList)
{
    QlDListRec list;
    QlDListInit(&list);
    EXPECT_EQ(nullptr, QlDListAppendCopy(&list, "x", 0));
    EXPECT_EQ(nullptr, QlDListAppendCopy(&list, nullptr, 3));
    EXPECT_EQ(nullptr, list.first);
    QlDListFree(&list);   // freeing an empty list is harmless
    EXPECT_EQ(nullptr, list.first);

    QlDListNodeRec *only = QlDListAppendCopy(&list, "one", 3);
    QlDListRemove(&list, only);
    EXPECT_EQ(nullptr, list.first);
    EXPECT_EQ(nullptr, list.last);

    QlDListAppendCopy(&list, "first", 5);
    QlDListNodeRec *last = QlDListAppendCopy(&list, "last", 4);
    QlDListRemove(&list, list.first);
    EXPECT_EQ(last, list.first);
    EXPECT_EQ(nullptr, last->prev);
    QlDListNodeRec *popped = QlDListPopFirst(&list);
    EXPECT_EQ(last, popped);
    EXPECT_EQ(nullptr, list.first);
    EXPECT_EQ(nullptr, list.last);
    QlDListFreeNode(popped);
}

static int g_visited;
static void Visit(QlDListNodeRec *node, int index)
{
    g_visited += index + node->length;
}

TEST(DList, FindPrefixStringsValuesAndVisits)
{
    QlDListRec list;
    QlDListInit(&list);
    QlDListAppendCopy(&list, "C001record-one", 14);
    QlDListNodeRec *two = QlDListAppendCopy(&list, "C002record-two", 14);
    QlDListAppendCopy(&list, "C002record-three", 16);
    QlDListAppendCopy(&list, "C0", 2);   // shorter than the prefix: never matched
    EXPECT_EQ(two, QlDListFindPrefix(&list, "C002", 4));
    EXPECT_EQ(nullptr, QlDListFindPrefix(&list, "C003", 4));
    EXPECT_EQ(nullptr, QlDListFindPrefix(&list, "C002", 0));

    QlDListNodeSetStr1(two, "hello world", 5);
    QlDListNodeSetStr1(two, "other", 5);   // set once
    EXPECT_STREQ("hello", two->str1);
    QlDListNodeSetStr2(two, "x", 1);
    EXPECT_STREQ("x", two->str2);

    EXPECT_EQ(nullptr, QlDListAppendValue(&list, 0));
    QlDListNodeRec *value = QlDListAppendValue(&list, 42);
    ASSERT_NE(nullptr, value);
    EXPECT_EQ(42, (intptr_t)value->data);
    QlDListAppendCopy(value->sub, "sub", 3);   // freed with its node

    g_visited = 0;
    QlDListForEach(&list, Visit);
    EXPECT_EQ((0 + 1 + 2 + 3 + 4) + (14 + 14 + 16 + 2 + 0), g_visited);
    EXPECT_EQ(list.first, QlDListGetNext(&list));
    EXPECT_EQ(list.last, QlDListGetPrev(&list));
    EXPECT_EQ(nullptr, QlDListGetNext(nullptr));
    QlDListFree(&list);
}
