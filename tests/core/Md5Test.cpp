#include "QlGTest.h"
#include "core/QlMd5.h"

#include <stdio.h>
#include <string.h>

static std::string Hex(const unsigned char digest[16])
{
    char out[33];
    for (int i = 0; i < 16; i++) snprintf(out + 2 * i, 3, "%02x", digest[i]);
    return out;
}

TEST(Md5, Rfc1321TestSuite)
{
    struct Case {
        const char *input, *digest;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Case &c : cases) {
        QlMd5Ctx ctx;
        unsigned char digest[16];
        QlMd5Init(&ctx);
        QlMd5Update(&ctx, (const unsigned char *)c.input, (unsigned)strlen(c.input));
        QlMd5Final(digest, &ctx);
        EXPECT_EQ(c.digest, Hex(digest)) << c.input;

        // Fed one byte at a time through the program-wide context.
        QlMd5GlobalInit();
        for (const char *p = c.input; *p; p++) QlMd5GlobalUpdate((const unsigned char *)p, 1);
        QlMd5GlobalFinal(digest);
        EXPECT_EQ(c.digest, Hex(digest)) << c.input;
    }
}

TEST(Md5, FinalClearsTheContext)
{
    QlMd5Ctx ctx;
    unsigned char digest[16];
    QlMd5Init(&ctx);
    QlMd5Update(&ctx, (const unsigned char *)"abc", 3);
    QlMd5Final(digest, &ctx);
    const unsigned char *bytes = (const unsigned char *)&ctx;
    for (size_t i = 0; i < sizeof ctx; i++) ASSERT_EQ(0, bytes[i]);
}
