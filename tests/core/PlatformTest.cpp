// The platform header: what the two builds do differently.
#include "QlGTest.h"
#include "QlTestPlatform.h"

#include "core/QlPlatform.h"

#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

TEST(Platform, PathsAndNumbers)
{
    char native[512];
    ASSERT_EQ(1, QlPathToNative("C:\\windows\\system.ini", native, sizeof native));
    if (QlTestHasUnix()) {
        // winelib: the Unix file behind the prefix's drive C:.
        EXPECT_NE(nullptr, strstr(native, "/windows/system.ini"));
        EXPECT_EQ(nullptr, strchr(native, '\\'));
    } else {
        // Windows: the path itself.
        EXPECT_STREQ("C:\\windows\\system.ini", native);
    }
    EXPECT_EQ(0, QlPathToNative("C:\\windows\\system.ini", native, 4));
    EXPECT_STREQ("", native);
    char text[32];
    snprintf(text, sizeof text, QL_I64, (int64_t)-9000000000LL);
    EXPECT_STREQ("-9000000000", text);
    EXPECT_EQ(-9000000000LL, QlAtoI64("  -9000000000xyz"));
    EXPECT_EQ(0, QlAtoI64(""));
}

// SQLite's paths are UTF-8 in both builds, whatever the C runtime takes.
TEST(Platform, PathsForSqliteAreUtf8)
{
    char out[1040];
    ASSERT_EQ(1, QlPathToNativeUtf8("Caf\xe9.db", out, sizeof out));   // in the current folder
    const std::string path = out;
    const std::string tail = "Caf\xc3\xa9.db";
    ASSERT_GE(path.size(), tail.size());
    EXPECT_EQ(tail, path.substr(path.size() - tail.size()));
    EXPECT_EQ(0, QlPathToNativeUtf8("quilry.db", out, 4));
    EXPECT_STREQ("", out);
}

// The trust anchors of the system's store for OpenSSL: on Windows each
// certificate of the "ROOT" store (DER, a SEQUENCE); under winelib none, as
// OpenSSL reads the Unix store itself.
TEST(Platform, RootCertificatesOfTheSystemStore)
{
    std::vector<std::string> certs;
    int count = QlPlatformEachRootCertificate(
        [](void *context, const unsigned char *der, size_t size) {
            ((std::vector<std::string> *)context)->push_back(std::string((const char *)der, size));
        },
        &certs);
    EXPECT_EQ((size_t)count, certs.size());
    if (QlTestHasUnix()) {
        EXPECT_EQ(0, count);
        return;
    }
    EXPECT_GT(count, 0);
    for (const std::string &der : certs) {
        ASSERT_GT(der.size(), 100u);
        EXPECT_EQ(0x30, (unsigned char)der[0]);
    }
}
