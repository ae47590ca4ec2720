// Which certificates the mail client trusts, against the socket layer's own
// TLS server on loopback (so that the Windows build runs them too): a CA that
// is not in the system's store is refused unless SSL_CERT_FILE names it, and
// in the Windows build nothing placed in the folder that OpenSSL's DLL was
// built for (a cert.pem, an openssl.cnf) changes what the client does, and
// that folder is one that only an administrator can write.
// Winsock before anything of the C library or windows.h (and without the
// min and max macros, which the C++ library would trip over).
#define NOMINMAX
#include <winsock2.h>

#include "QlGTest.h"

#include "NetTestSupport.h"
#include "netmail/ZrSock.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

struct AcceptState {
    volatile LONG accepted;
    ZrSockSlotRec *slot;
};
AcceptState gTrustAccept;

int OnTrustAccept(int user, int event, ZrSockSlotRec *slot, int port, const char *peer)
{
    if (event == ZR_ACCEPT_INCOMING) return 1;
    if (event == ZR_ACCEPT_DONE) {
        gTrustAccept.slot = slot;
        InterlockedIncrement(&gTrustAccept.accepted);
    }
    return 0;
}

// The text OpenSSL_version gives for one of its folders (OPENSSL_DIR 4,
// OPENSSL_ENGINES_DIR 5, OPENSSL_MODULES_DIR 8: NAME: "folder"), from the
// crypto DLL the program ships; its quoted part.
std::string LibraryFolder(int which)
{
    HMODULE crypto = GetModuleHandleA("libcrypto-3-x64.dll");
    if (!crypto) crypto = LoadLibraryA("libcrypto-3-x64.dll");
    if (!crypto) return "(libcrypto-3-x64.dll not loaded)";
    typedef const char *(*VersionFn)(int);
    VersionFn version = (VersionFn)(void *)GetProcAddress(crypto, "OpenSSL_version");
    if (!version) return "(no OpenSSL_version)";
    std::string text = version(which);
    size_t open = text.find('"'), close = text.rfind('"');
    if (open == std::string::npos || close <= open) return text;
    return text.substr(open + 1, close - open - 1);
}

// The environment variable name=value for the test, put back afterwards.
class EnvGuard {
public:
    EnvGuard(const char *name, const char *value) : name_(name)
    {
        const char *old = getenv(name);
        had_ = old != NULL;
        if (had_) old_ = old;
        QlTestSetEnv(name, value);
    }
    ~EnvGuard() { QlTestSetEnv(name_.c_str(), had_ ? old_.c_str() : NULL); }

private:
    std::string name_, old_;
    bool had_ = false;
};

// A file written for the test and removed afterwards.
struct PlantedFile {
    std::string path;
    bool written = false;
    PlantedFile(const std::string &p, const std::string &bytes) : path(p) { written = NetWriteFile(p, bytes); }
    ~PlantedFile() { DeleteFileA(path.c_str()); }
};

class TlsTrust : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(NetTestCerts().winDir.empty()) << "test certificates"; }
    void TearDown() override
    {
        if (ZrSockIsInitialised()) ZrSockCleanup();
    }

    struct Outcome {
        bool handshake = false;
        int encrypted = 0;
        std::string cipher;
        int verified = -1;
        std::string reason;
    };

    // The layer's client against its own server, which shows the test
    // certificate good.pem (localhost, issued by the test CA): the
    // handshake, then the client's check of the server's chain and name.
    Outcome Connect()
    {
        Outcome out;
        int tls = 1;
        if (!ZrSockIsInitialised() && ZrSockInit(&tls) != 1) {
            ADD_FAILURE() << "the socket layer did not start";
            return out;
        }
        gTrustAccept = AcceptState();
        ZrSockSlotRec *listening = NULL;
        EXPECT_EQ(1, ZrSockTcpListen(0, 1, OnTrustAccept, &listening));
        uint32_t address = 0;
        uint16_t port = 0;
        EXPECT_EQ(1, ZrSockGetLocalAddr(listening, &address, &port));
        ZrSockSlotRec *client = NULL;
        EXPECT_EQ(1, ZrSockTcpConnect("127.0.0.1", port, &client));
        if (!client || !WaitConnected(client) || !WaitAccepted()) {
            ADD_FAILURE() << "no connection on loopback";
            return out;
        }
        const NetCerts &certs = NetTestCerts();
        const std::string cert = certs.windows("good.pem"), key = certs.windows("good.key");
        ZrSockSecureParamRec server;
        memset(&server, 0, sizeof(server));
        server.method = 3;
        server.serverRole = 1;
        server.certFile = cert.c_str();
        server.keyFile = key.c_str();
        EXPECT_EQ(1, ZrSockTcpSwitchToSecureMode(gTrustAccept.slot, &server));
        ZrSockSecureParamRec p;
        memset(&p, 0, sizeof(p));
        p.method = 3;
        p.serverName = "localhost";
        EXPECT_EQ(1, ZrSockTcpSwitchToSecureMode(client, &p));
        char text[256] = "";
        for (int i = 0; i < 5000 && !out.handshake; i++) {
            int done = 0;
            if (ZrSockGetSecureInfo(client, &done, &out.encrypted, text) == 1 && done) out.handshake = true;
            else Sleep(2);
        }
        out.cipher = text;
        if (out.handshake) {
            char reason[256] = "";
            out.verified = ZrSockVerifyCert(client, "localhost", reason);
            out.reason = reason;
        }
        ZrSockClose(client);
        ZrSockClose(gTrustAccept.slot);
        ZrSockClose(listening);
        return out;
    }

    static bool WaitConnected(ZrSockSlotRec *slot)
    {
        char buffer[2048];
        for (int i = 0; i < 5000; i++) {
            int kind, length;
            if (ZrSockTcpPoll(slot, &kind, buffer, &length) == 1) return kind == ZR_EV_CONNECTED;
            Sleep(1);
        }
        return false;
    }
    static bool WaitAccepted()
    {
        for (int i = 0; i < 5000 && InterlockedCompareExchange(&gTrustAccept.accepted, 0, 0) == 0; i++) Sleep(2);
        return gTrustAccept.accepted > 0;
    }
};

}  // namespace

// First of the suite: OpenSSL reads its configuration (if ever) when the
// library starts in the process, which is in this test, after the files are
// planted, when the suite runs by itself as the Windows build's CI runs it
// (tools/test-windows.sh).  The
// folder is the DLL's own; under Wine any process may write there, so the
// test plants what an attacker on a machine whose drive has no such folder
// would: the test CA as cert.pem and a configuration that holds TLS to 1.0.
TEST_F(TlsTrust, NothingPlantedInTheLibrarysFolderIsTrustedOrObeyed)
{
    if (QlTestHasUnix()) GTEST_SKIP() << "the Windows build's OpenSSL DLL (Debian's folder belongs to root)";
    std::string folder = LibraryFolder(4);
    for (char &c : folder)
        if (c == '/') c = '\\';
    for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
        CreateDirectoryA(folder.substr(0, at).c_str(), NULL);
    CreateDirectoryA(folder.c_str(), NULL);
    PlantedFile ca(folder + "\\cert.pem", NetReadFile(NetTestCerts().native("ca.pem")));
    PlantedFile config(folder + "\\openssl.cnf",
                       "openssl_conf = planted\r\n[planted]\r\nssl_conf = planted_ssl\r\n"
                       "[planted_ssl]\r\nsystem_default = planted_tls\r\n"
                       "[planted_tls]\r\nMaxProtocol = TLSv1\r\nCipherString = DEFAULT@SECLEVEL=0\r\n");
    ASSERT_TRUE(ca.written && config.written) << folder;
    EnvGuard conf("OPENSSL_CONF", config.path.c_str());
    EnvGuard certFile("SSL_CERT_FILE", NULL);

    Outcome o = Connect();
    ASSERT_TRUE(o.handshake);
    EXPECT_EQ(1, o.encrypted);
    EXPECT_NE(std::string::npos, o.cipher.find("TLSv1.3")) << "the planted configuration was obeyed: " << o.cipher;
    EXPECT_EQ(0, o.verified) << "the planted cert.pem was trusted";
    EXPECT_NE(std::string::npos, o.reason.find("x509 rc=20")) << o.reason;
    RemoveDirectoryA(folder.c_str());
}

TEST_F(TlsTrust, ACaOutsideTheSystemStoreIsRefusedUnlessSslCertFileNamesIt)
{
    {
        EnvGuard none("SSL_CERT_FILE", NULL);
        Outcome o = Connect();
        ASSERT_TRUE(o.handshake);
        EXPECT_EQ(0, o.verified);
        EXPECT_NE(std::string::npos, o.reason.find("x509 rc=20")) << o.reason;
    }
    {
        EnvGuard named("SSL_CERT_FILE", NetTestCerts().native("ca.pem").c_str());
        Outcome o = Connect();
        ASSERT_TRUE(o.handshake);
        EXPECT_EQ(1, o.verified) << o.reason;
    }
    {
        EnvGuard missing("SSL_CERT_FILE", NetTestCerts().native("no-such-file.pem").c_str());
        Outcome o = Connect();
        ASSERT_TRUE(o.handshake) << "a file that cannot be read adds nothing";
        EXPECT_EQ(0, o.verified);
    }
}

// The folders compiled into the Windows build's crypto DLL, where OpenSSL
// would look for openssl.cnf, cert.pem, engines and modules: absolute
// Windows paths under Program Files, never the build machine's folders (a
// Unix path names a folder on the program's own drive, which any user can
// make).
TEST_F(TlsTrust, TheCryptoLibrarysFoldersAreUnderProgramFiles)
{
    if (QlTestHasUnix()) GTEST_SKIP() << "the Windows build's OpenSSL DLL";
    char programFiles[MAX_PATH] = "";
    ASSERT_GT(GetEnvironmentVariableA("ProgramFiles", programFiles, sizeof programFiles), 0u);
    std::string base = std::string(programFiles) + "\\";
    for (int which : {4, 5, 8}) {
        std::string folder = LibraryFolder(which);
        SCOPED_TRACE(folder);
        for (char &c : folder)
            if (c == '/') c = '\\';
        ASSERT_GT(folder.size(), base.size());
        EXPECT_TRUE(isalpha((unsigned char)folder[0]) && folder[1] == ':' && folder[2] == '\\') << "a drive's folder";
        EXPECT_EQ(0, lstrcmpiA(folder.substr(0, base.size()).c_str(), base.c_str())) << "under " << base;
        EXPECT_EQ(std::string::npos, folder.find("cache")) << "a build folder";
    }
}
