// The fixed-record flat-file list: records to a primary file and a mirror and
// back, look-up by either key, and what a missing or failing file does.
#include "QlGTest.h"
#include "QlTestFiles.h"

#include "core/QlPlatform.h"
#include "transactions/QlRecList.h"

#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

class RecListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QlRecListClear();
        folder = QlTestMakeFolder("reclist");
        ASSERT_FALSE(folder.empty());
        primary = folder + "\\records.dat";
        mirror = folder + "\\records.bak";
    }
    void TearDown() override
    {
        QlRecListClear();
        QlTestRemoveFolder(folder);
    }
    static QlFlatRec Rec(int32_t key1, int32_t key2, const char *content)
    {
        QlFlatRec rec = {};
        rec.key1 = key1;
        rec.key2 = key2;
        memcpy(rec.content, content, strnlen(content, sizeof rec.content));
        rec.link = 0xDEADBEEF;   // whatever the caller leaves there
        return rec;
    }
    std::vector<unsigned char> Bytes(const std::string &path)
    {
        std::vector<unsigned char> bytes;
        FILE *file = QlFileOpen(path.c_str(), "rb");
        if (!file) return bytes;
        int c;
        while ((c = fgetc(file)) != EOF) bytes.push_back((unsigned char)c);
        fclose(file);
        return bytes;
    }
    void Write(const std::string &path, const std::vector<unsigned char> &bytes)
    {
        FILE *file = QlFileOpen(path.c_str(), "wb");
        ASSERT_NE(nullptr, file);
        if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }
    static int Add(const QlFlatRec &rec) { return QlRecListAdd(&rec); }
    std::string Content(const QlFlatRec *rec) { return std::string((const char *)rec->content); }

    std::string folder, primary, mirror;
};

}  // namespace

TEST_F(RecListTest, SavedRecordsComeBackInOrderWithZerosForTheLink)
{
    ASSERT_EQ(1, Add(Rec(1, 100, "first")));
    ASSERT_EQ(1, Add(Rec(2, 200, "second")));
    ASSERT_EQ(1, Add(Rec(3, 300, "third")));
    EXPECT_EQ(0, QlRecListAdd(nullptr));
    ASSERT_EQ(1, QlRecListSave(primary.c_str(), mirror.c_str()));
    EXPECT_EQ(0, QlRecListCount());   // saving empties the list

    std::vector<unsigned char> bytes = Bytes(primary);
    ASSERT_EQ(132u, bytes.size());
    EXPECT_EQ(bytes, Bytes(mirror));
    for (int r = 0; r < 3; r++) {
        SCOPED_TRACE(r);
        const unsigned char *rec = bytes.data() + r * 44;
        EXPECT_EQ(r + 1, rec[0] | rec[1] << 8 | rec[2] << 16 | rec[3] << 24);   // little-endian
        EXPECT_EQ(0, memcmp(rec + 40, "\0\0\0\0", 4));
    }

    ASSERT_EQ(1, QlRecListLoad(primary.c_str(), mirror.c_str()));
    ASSERT_EQ(3, QlRecListCount());
    QlFlatRec *found = nullptr;
    ASSERT_EQ(1, QlRecListFindByKey1(2, &found));
    EXPECT_EQ("second", Content(found));
    EXPECT_EQ(0u, found->link);
    ASSERT_EQ(1, QlRecListFindByKey2(300, &found));
    EXPECT_EQ("third", Content(found));
    EXPECT_EQ(0, QlRecListFindByKey1(300, &found));
    EXPECT_EQ(0, QlRecListFindByKey2(3, &found));
}

TEST_F(RecListTest, FindGivesTheEarliestOfEqualKeysAndNothingOnAnEmptyList)
{
    QlFlatRec *found = nullptr;
    EXPECT_EQ(0, QlRecListFindByKey1(7, &found));
    ASSERT_EQ(1, Add(Rec(7, 1, "earlier")));
    ASSERT_EQ(1, Add(Rec(7, 1, "later")));
    ASSERT_EQ(1, QlRecListFindByKey1(7, &found));
    EXPECT_EQ("earlier", Content(found));
    ASSERT_EQ(1, QlRecListFindByKey2(1, &found));
    EXPECT_EQ("earlier", Content(found));
}

TEST_F(RecListTest, AnEmptyPrimaryIsReadFromTheMirror)
{
    ASSERT_EQ(1, Add(Rec(1, 10, "kept")));
    ASSERT_EQ(1, Add(Rec(2, 20, "copy")));
    ASSERT_EQ(1, QlRecListSave(primary.c_str(), mirror.c_str()));
    Write(primary, {});
    ASSERT_EQ(1, QlRecListLoad(primary.c_str(), mirror.c_str()));
    EXPECT_EQ(2, QlRecListCount());

    // A primary with records is read even when the mirror differs; a part
    // record at the end is left out.
    QlRecListClear();
    std::vector<unsigned char> one = Bytes(mirror);
    one.resize(44 + 10);
    Write(primary, one);
    ASSERT_EQ(1, QlRecListLoad(primary.c_str(), mirror.c_str()));
    EXPECT_EQ(1, QlRecListCount());

    // Neither file: the primary is made, empty.
    QlRecListClear();
    std::string fresh = folder + "\\fresh.dat";
    ASSERT_EQ(1, QlRecListLoad(fresh.c_str(), (folder + "\\none.bak").c_str()));
    EXPECT_EQ(0, QlRecListCount());
    EXPECT_TRUE(Bytes(fresh).empty());
    FILE *made = QlFileOpen(fresh.c_str(), "rb");
    EXPECT_NE(nullptr, made);
    if (made) fclose(made);
}

TEST_F(RecListTest, APrimaryThatCannotBeOpenedTouchesNothing)
{
    ASSERT_EQ(1, Add(Rec(1, 10, "old")));
    ASSERT_EQ(1, QlRecListSave(primary.c_str(), mirror.c_str()));
    std::vector<unsigned char> before = Bytes(mirror);
    ASSERT_EQ(44u, before.size());

    std::string unreachable = folder + "\\missing\\records.dat";
    ASSERT_EQ(1, Add(Rec(2, 20, "new")));
    EXPECT_EQ(0, QlRecListSave(unreachable.c_str(), mirror.c_str()));
    EXPECT_EQ(before, Bytes(mirror));   // the mirror was not truncated
    EXPECT_EQ(1, QlRecListCount());    // and the list is kept

    EXPECT_EQ(0, QlRecListLoad(unreachable.c_str(), mirror.c_str()));
    EXPECT_EQ(0, QlRecListCount());
}
