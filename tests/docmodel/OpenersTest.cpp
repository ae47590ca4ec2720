// The doors between the modules: the road from a stored transaction to its
// form picks the opener by type and line mode, and an empty door opens
// nothing.
#include "QlGTest.h"

#include "docmodel/QlOpeners.h"

#include <string.h>

namespace {

int gOpened = -1;

template <int N> HWND Open(const QlTransRec *)
{
    gOpened = N;
    return (HWND)(INT_PTR)(100 + N);
}

class OpenersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        memcpy(saved, QlTransOpenerTable, sizeof saved);
        const QlTransOpener table[QL_TRANS_OPENER_COUNT] = {
            {1, 0, Open<0>}, {1, 1, Open<1>}, {2, -1, Open<2>}, {3, -1, Open<3>},
            {4, -1, Open<4>}, {5, -1, Open<5>}, {6, -1, NULL},
        };
        memcpy(QlTransOpenerTable, table, sizeof table);
        gOpened = -1;
    }
    void TearDown() override { memcpy(QlTransOpenerTable, saved, sizeof saved); }
    QlTransOpener saved[QL_TRANS_OPENER_COUNT];
};

TEST_F(OpenersTest, AStoredTransactionOpensByItsTypeAndLineMode)
{
    struct Case {
        uint32_t type;
        uint32_t subType;
        int opened;   // -1: nothing
    };
    const Case cases[] = {
        {1, 0, 0},    // service invoice
        {1, 1, 1},    // product invoice
        {1, 7, 1},    // any other line mode counts as product lines
        {2, 1, 2},    // credit notes take any line mode
        {3, 0, 3}, {4, 1, 4}, {5, 0, 5},
        {6, 0, -1},   // a door left empty opens nothing
        {0, 0, -1}, {7, 0, -1},
    };
    for (const Case &c : cases) {
        QlTransRec rec = {};
        rec.type = c.type;
        rec.sub_type = c.subType;
        gOpened = -1;
        HWND form = QlTransOpenByType(&rec);
        EXPECT_EQ(c.opened, gOpened) << "type " << c.type << " sub-type " << c.subType;
        EXPECT_EQ(c.opened < 0 ? NULL : (HWND)(INT_PTR)(100 + c.opened), form) << "type " << c.type;
    }
    EXPECT_EQ(NULL, QlTransOpenByType(NULL));
}

}  // namespace
