// The socket layer on loopback, against listening sockets of the test's
// own (Winsock, non-blocking where it matters).
// Winsock before anything of the C library or windows.h (and without the
// min and max macros, which the C++ library would trip over).
#define NOMINMAX
#include <winsock2.h>

#include "QlGTest.h"

#include "NetTestSupport.h"
#include "netmail/ZrSockInternal.h"

#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

class SockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WSADATA data;
        ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
        int tls = 0;
        ASSERT_EQ(1, ZrSockInit(&tls));
    }
    void TearDown() override
    {
        ZrSockCleanup();
        for (SOCKET s : sockets_) closesocket(s);
        WSACleanup();
    }

    // A listening socket on 127.0.0.1; its port.
    int Listen(SOCKET *out = NULL)
    {
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in a;
        memset(&a, 0, sizeof(a));
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = inet_addr("127.0.0.1");
        bind(s, (sockaddr *)&a, sizeof(a));
        listen(s, 128);
        int size = sizeof(a);
        getsockname(s, (sockaddr *)&a, &size);
        sockets_.push_back(s);
        if (out) *out = s;
        return ntohs(a.sin_port);
    }

    // A port where nothing listens.
    int FreePort()
    {
        SOCKET s;
        int port = Listen(&s);
        closesocket(s);
        sockets_.pop_back();
        return port;
    }

    SOCKET Accept(SOCKET listener)
    {
        SOCKET s = accept(listener, NULL, NULL);
        sockets_.push_back(s);
        return s;
    }

    // Polls until an event of the kind comes; the data items on the way are
    // appended to data.  False after timeoutMs.
    bool WaitFor(ZrSockSlotRec *slot, int wanted, std::string *data = NULL, int timeoutMs = 10000)
    {
        DWORD start = GetTickCount();
        char buffer[2048];
        while ((int)(GetTickCount() - start) < timeoutMs) {
            int kind = -1, length = 0;
            int result = ZrSockTcpPoll(slot, &kind, buffer, &length);
            if (result == 1) {
                if (kind == ZR_EV_DATA && data) data->append(buffer, (size_t)length);
                if (kind == wanted) return true;
            } else {
                Sleep(2);
            }
        }
        return false;
    }

    std::vector<SOCKET> sockets_;
};

}  // namespace

TEST_F(SockTest, ConnectSendReceiveAndClose)
{
    SOCKET listener;
    int port = Listen(&listener);
    ZrSockSlotRec *slot = NULL;
    ASSERT_EQ(1, ZrSockTcpConnect("127.0.0.1", (uint16_t)port, &slot));
    ASSERT_TRUE(WaitFor(slot, ZR_EV_CONNECTED));
    EXPECT_EQ(ZR_SLOT_CONNECTED, ZrSockSlotState(slot));
    SOCKET peer = Accept(listener);

    int queued = 0;
    ASSERT_EQ(1, ZrSockTcpSend(slot, "hello peer", 10, &queued));
    EXPECT_EQ(10, queued);
    char got[16] = {0};
    int n = 0;
    for (int i = 0; i < 500 && n < 10; i++) {
        int r = recv(peer, got + n, 10 - n, 0);
        if (r > 0) n += r;
    }
    EXPECT_EQ("hello peer", std::string(got, (size_t)n));

    send(peer, "220 ready\r\n", 11, 0);
    std::string data;
    closesocket(peer);
    ASSERT_TRUE(WaitFor(slot, ZR_EV_CLOSED, &data)) << "the peer's end of stream";
    EXPECT_EQ("220 ready\r\n", data);
    EXPECT_EQ(ZR_SLOT_CLOSED, ZrSockSlotState(slot));
    EXPECT_EQ(17, ZrSockTcpSend(slot, "x", 1, &queued));

    // A closed slot leaves the wait: the receive thread does not spin on it.
    ZrSockStatsRec before, after;
    ZrSockGetStats(&before);
    Sleep(200);
    ZrSockGetStats(&after);
    EXPECT_LT(after.receivePasses - before.receivePasses, 1000u);

    EXPECT_EQ(1, ZrSockClose(slot));
    EXPECT_EQ(16, ZrSockClose(slot));
    EXPECT_EQ(16, ZrSockTcpPoll(slot, &n, got, &n));
}

TEST_F(SockTest, RefusedPortEndsClosedAndKeepsItsEvents)
{
    ZrSockSlotRec *slot = NULL;
    ASSERT_EQ(1, ZrSockTcpConnect("127.0.0.1", (uint16_t)FreePort(), &slot));
    ASSERT_TRUE(WaitFor(slot, ZR_EV_CLOSED));
    EXPECT_EQ(ZR_SLOT_CLOSED, ZrSockSlotState(slot));
    int queued = 0;
    EXPECT_EQ(17, ZrSockTcpSend(slot, "x", 1, &queued));
    EXPECT_EQ(1, ZrSockClose(slot));
}

TEST_F(SockTest, SixtyFourSlotsThenNoneAndTheFreedOneAgain)
{
    int port = Listen();
    std::vector<ZrSockSlotRec *> slots;
    for (int i = 0; i < 64; i++) {
        ZrSockSlotRec *slot = NULL;
        ASSERT_EQ(1, ZrSockTcpConnect("127.0.0.1", (uint16_t)port, &slot)) << "slot " << i;
        slots.push_back(slot);
    }
    ZrSockSlotRec *none = (ZrSockSlotRec *)0x1;
    EXPECT_EQ(15, ZrSockTcpConnect("127.0.0.1", (uint16_t)port, &none));
    EXPECT_EQ((ZrSockSlotRec *)0x1, none) << "the out slot is written only on success";
    ASSERT_EQ(1, ZrSockClose(slots[5]));
    ZrSockSlotRec *again = NULL;
    ASSERT_EQ(1, ZrSockTcpConnect("127.0.0.1", (uint16_t)port, &again));
    EXPECT_EQ(slots[5], again) << "the first free slot";
    ZrSockStatsRec stats;
    ZrSockGetStats(&stats);
    EXPECT_EQ(64u, stats.slotsInUse);
}

TEST_F(SockTest, PollOnEmptyLeavesOutValuesAndArgumentsAreChecked)
{
    int port = Listen();
    ZrSockSlotRec *slot = NULL;
    ASSERT_EQ(1, ZrSockTcpConnect("127.0.0.1", (uint16_t)port, &slot));
    ASSERT_TRUE(WaitFor(slot, ZR_EV_CONNECTED));
    int kind = 77, length = 77;
    char buffer[2048];
    EXPECT_EQ(18, ZrSockTcpPoll(slot, &kind, buffer, &length));
    EXPECT_EQ(77, kind);
    EXPECT_EQ(77, length);
    int queued = 0;
    EXPECT_EQ(3, ZrSockTcpSend(slot, "x", 0, &queued));
    EXPECT_EQ(3, ZrSockTcpSend(NULL, "x", 1, &queued));
    EXPECT_EQ(3, ZrSockTcpConnect("1.2.3", 25, &slot));
    EXPECT_EQ(2, [] { int tls = 0; return ZrSockInit(&tls); }());
}

TEST_F(SockTest, LargeSendsArriveWholeAndInOrder)
{
    SOCKET listener;
    int port = Listen(&listener);
    ZrSockSlotRec *slot = NULL;
    ASSERT_EQ(1, ZrSockTcpConnect("127.0.0.1", (uint16_t)port, &slot));
    ASSERT_TRUE(WaitFor(slot, ZR_EV_CONNECTED));
    SOCKET peer = Accept(listener);

    std::string payload(200000, '\0');
    for (size_t i = 0; i < payload.size(); i++) payload[i] = (char)(i * 7 + i / 2048);
    int queued = 0;
    ASSERT_EQ(1, ZrSockTcpSend(slot, payload.data(), 20000, &queued));
    EXPECT_GT(queued, 0);
    EXPECT_LE(queued, 9 * 2048) << "a slot queues at most nine items";

    std::string received;
    size_t offset = (size_t)queued;
    u_long nonBlocking = 1;
    ioctlsocket(peer, FIONBIO, &nonBlocking);
    DWORD start = GetTickCount();
    char buffer[65536];
    while (received.size() < payload.size() && GetTickCount() - start < 20000) {
        if (offset < payload.size()) {
            int part = (int)(payload.size() - offset < 20000 ? payload.size() - offset : 20000);
            int result = ZrSockTcpSend(slot, payload.data() + offset, part, &queued);
            if (result == 1) offset += (size_t)queued;
            else EXPECT_EQ(12, result);
        }
        int got = recv(peer, buffer, sizeof(buffer), 0);
        if (got > 0) received.append(buffer, (size_t)got);
        else Sleep(1);
    }
    ASSERT_EQ(payload.size(), received.size());
    EXPECT_TRUE(payload == received);
}

TEST_F(SockTest, AFullReceiveQueueLosesNeitherDataNorTheClosedEvent)
{
    SOCKET listener;
    int port = Listen(&listener);
    ZrSockSlotRec *slot = NULL;
    ASSERT_EQ(1, ZrSockTcpConnect("127.0.0.1", (uint16_t)port, &slot));
    ASSERT_TRUE(WaitFor(slot, ZR_EV_CONNECTED));
    SOCKET peer = Accept(listener);
    std::string sent(60000, 'a');
    for (size_t i = 0; i < sent.size(); i++) sent[i] = (char)('a' + i % 26);
    size_t offset = 0;
    while (offset < sent.size()) {
        int n = send(peer, sent.data() + offset, (int)(sent.size() - offset), 0);
        ASSERT_GT(n, 0);
        offset += (size_t)n;
    }
    closesocket(peer);
    Sleep(300);   // the queue fills (nine items) long before the caller polls
    std::string data;
    ASSERT_TRUE(WaitFor(slot, ZR_EV_CLOSED, &data));
    EXPECT_EQ(sent.size(), data.size());
    EXPECT_TRUE(sent == data);
}

TEST_F(SockTest, ACloseSendsWhatIsQueuedBeforeTheSocketCloses)
{
    SOCKET listener;
    int port = Listen(&listener);
    ZrSockSlotRec *slot = NULL;
    ASSERT_EQ(1, ZrSockTcpConnect("127.0.0.1", (uint16_t)port, &slot));
    ASSERT_TRUE(WaitFor(slot, ZR_EV_CONNECTED));
    SOCKET peer = Accept(listener);

    // A full send queue, closed at once: the send thread has had no time.
    std::string payload(9 * 2048, '\0');
    for (size_t i = 0; i < payload.size(); i++) payload[i] = (char)(i * 13 + i / 2048);
    int queued = 0;
    ASSERT_EQ(1, ZrSockTcpSend(slot, payload.data(), (int)payload.size(), &queued));
    ASSERT_EQ((int)payload.size(), queued);
    EXPECT_EQ(1, ZrSockClose(slot));

    std::string received;
    char buffer[4096];
    u_long nonBlocking = 1;
    ioctlsocket(peer, FIONBIO, &nonBlocking);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000;) {
        int got = recv(peer, buffer, sizeof(buffer), 0);
        if (got == 0) break;   // the end of the stream, after everything
        if (got > 0) received.append(buffer, (size_t)got);
        else if (WSAGetLastError() == WSAEWOULDBLOCK) Sleep(1);
        else break;
    }
    EXPECT_EQ(payload.size(), received.size());
    EXPECT_TRUE(payload == received);
}

// A cleanup whose worker threads do not stop (a thread of the test holds
// the layer's lock, so their passes cannot go on) keeps the state they use;
// an initialisation is refused until they have ended, then works.
TEST_F(SockTest, AWorkerThatDidNotStopKeepsTheStateUntilItEnds)
{
    struct StopWait {
        DWORD saved = gZrSockStopWaitMs;
        StopWait() { gZrSockStopWaitMs = 200; }
        ~StopWait() { gZrSockStopWaitMs = saved; }
    } shortStops;
    struct Holder {
        HANDLE holding = CreateEventA(NULL, TRUE, FALSE, NULL);
        HANDLE release = CreateEventA(NULL, TRUE, FALSE, NULL);
        HANDLE thread = NULL;
        static DWORD WINAPI Hold(void *parameter)
        {
            Holder *h = (Holder *)parameter;
            ZrOsLockEnter(&gZrSock.lock);
            SetEvent(h->holding);
            WaitForSingleObject(h->release, INFINITE);
            ZrOsLockLeave(&gZrSock.lock);
            return 0;
        }
        void end()
        {
            SetEvent(release);
            if (thread) WaitForSingleObject(thread, 10000);
        }
        ~Holder()
        {
            end();
            if (thread) CloseHandle(thread);
            CloseHandle(holding);
            CloseHandle(release);
        }
    } holder;
    holder.thread = CreateThread(NULL, 0, Holder::Hold, &holder, 0, NULL);
    ASSERT_TRUE(holder.thread);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(holder.holding, 10000));

    ZrSockCleanup();
    EXPECT_EQ(0, ZrSockIsInitialised());
    int tls = 0;
    EXPECT_EQ(ZR_SOCK_THREAD_FAILED, ZrSockInit(&tls)) << "refused while a worker of the last run lives";
    EXPECT_EQ(0, ZrSockIsInitialised());

    holder.end();
    ASSERT_EQ(1, ZrSockInit(&tls)) << "once the workers have ended";
    SOCKET listener;
    int port = Listen(&listener);
    ZrSockSlotRec *slot = NULL;
    ASSERT_EQ(1, ZrSockTcpConnect("127.0.0.1", (uint16_t)port, &slot));
    EXPECT_TRUE(WaitFor(slot, ZR_EV_CONNECTED)) << "the new workers run";
    EXPECT_EQ(1, ZrSockClose(slot));
}

TEST(SockLayer, HostNamesAndDottedAddresses)
{
    int tls = 0;
    char out[16] = "untouched";
    EXPECT_EQ(4, ZrSockResolveHost("localhost", out)) << "before the layer starts";
    ASSERT_EQ(1, ZrSockInit(&tls));
    struct Case {
        const char *text;
        int dotted;
    } cases[] = {
        {"10.0.0.1", 1}, {"255.255.255.255", 1}, {"0.0.0.0", 1}, {"1.2.3", 0}, {"256.1.1.1", 0},
        {"1.2.3.999", 0}, {"1..2.3", 0}, {"1.2.3.4.", 0}, {"001.002.003.004", 1}, {"1.2.3.4.5", 0},
        {"1234.1.1.1", 0}, {"a.b.c.d", 0},
    };
    for (const Case &c : cases) EXPECT_EQ(c.dotted, ZrSockIsDottedIp(c.text)) << c.text;
    EXPECT_EQ(1, ZrSockResolveHost("10.0.0.1", out));
    EXPECT_STREQ("10.0.0.1", out);
    EXPECT_EQ(1, ZrSockResolveHost("localhost", out));
    EXPECT_STREQ("127.0.0.1", out);
    EXPECT_EQ(3, ZrSockResolveHost("", out));
    char host[65] = "";
    EXPECT_EQ(1, ZrSockGetHostName(host, sizeof(host)));
    EXPECT_GT(strlen(host), 0u);
    ZrSockCleanup();
    ZrSockCleanup();   // a second clean-up does nothing
    ZrSockSlotRec *slot = NULL;
    EXPECT_EQ(4, ZrSockTcpConnect("127.0.0.1", 25, &slot));
}

namespace {

// What a listening slot's callback saw; it keeps a connection unless told
// to refuse, giving it the user value 42.
struct AcceptLog {
    volatile LONG incoming = 0;
    volatile LONG accepted = 0;
    int port = 0;
    char peer[32] = "";
    int user = 0;
    ZrSockSlotRec *slot = NULL;
    volatile LONG refuse = 0;
};
AcceptLog gAccept;

int OnAccept(int user, int event, ZrSockSlotRec *slot, int port, const char *peer)
{
    if (event == ZR_ACCEPT_INCOMING) {
        EXPECT_EQ(7, user) << "the listening slot's user value";
        EXPECT_EQ(NULL, slot);
        gAccept.port = port;
        snprintf(gAccept.peer, sizeof(gAccept.peer), "%s", peer ? peer : "");
        InterlockedIncrement(&gAccept.incoming);
        return gAccept.refuse ? 0 : 42;
    }
    if (event == ZR_ACCEPT_DONE) {
        gAccept.user = user;
        gAccept.slot = slot;
        InterlockedIncrement(&gAccept.accepted);
    }
    return 0;
}

bool WaitUntil(volatile LONG *counter, LONG value, int timeoutMs = 10000)
{
    DWORD start = GetTickCount();
    while (InterlockedCompareExchange(counter, 0, 0) < value) {
        if ((int)(GetTickCount() - start) > timeoutMs) return false;
        Sleep(2);
    }
    return true;
}

}  // namespace

TEST_F(SockTest, ListeningAcceptsTheLayersOwnClient)
{
    gAccept = AcceptLog();
    ZrSockSlotRec *listening = NULL;
    EXPECT_EQ(3, ZrSockTcpListen(0, 7, NULL, &listening));
    ASSERT_EQ(1, ZrSockTcpListen(0, 7, OnAccept, &listening));
    EXPECT_EQ(ZR_SLOT_LISTENING, ZrSockSlotState(listening));
    uint32_t address = 0;
    uint16_t port = 0;
    ASSERT_EQ(1, ZrSockGetLocalAddr(listening, &address, &port));
    ASSERT_NE(0, port);

    // A connection of the layer's own: accepted, with a slot of its own that
    // carries data both ways.
    ZrSockSlotRec *client = NULL;
    ASSERT_EQ(1, ZrSockTcpConnect("127.0.0.1", port, &client));
    ASSERT_TRUE(WaitFor(client, ZR_EV_CONNECTED));
    ASSERT_TRUE(WaitUntil(&gAccept.accepted, 1));
    EXPECT_STREQ("127.0.0.1", gAccept.peer);
    uint32_t clientAddress = 0;
    uint16_t clientPort = 0;
    ASSERT_EQ(1, ZrSockGetLocalAddr(client, &clientAddress, &clientPort));
    EXPECT_EQ(clientPort, gAccept.port) << "the peer's port in host order";
    EXPECT_EQ(42, gAccept.user);
    ZrSockSlotRec *server = gAccept.slot;
    ASSERT_NE(nullptr, server);
    EXPECT_EQ(ZR_SLOT_CONNECTED, ZrSockSlotState(server));
    int queued = 0;
    ASSERT_EQ(1, ZrSockTcpSend(client, "hello", 5, &queued));
    std::string data;
    DWORD start = GetTickCount();
    char buffer[2048];
    while (data.size() < 5 && GetTickCount() - start < 10000) {
        int kind = -1, length = 0;
        if (ZrSockTcpPoll(server, &kind, buffer, &length) == 1 && kind == ZR_EV_DATA) data.append(buffer, length);
        else Sleep(2);
    }
    EXPECT_EQ("hello", data);
    ASSERT_EQ(1, ZrSockTcpSend(server, "world", 5, &queued));
    data.clear();
    ASSERT_TRUE(WaitFor(client, ZR_EV_DATA, &data));
    EXPECT_EQ("world", data);
    ASSERT_EQ(1, ZrSockClose(server));
    EXPECT_TRUE(WaitFor(client, ZR_EV_CLOSED));
    EXPECT_EQ(1, ZrSockClose(client));

    // A connection the callback refuses is closed at once.
    gAccept.refuse = 1;
    ASSERT_EQ(1, ZrSockTcpConnect("127.0.0.1", port, &client));
    ASSERT_TRUE(WaitUntil(&gAccept.incoming, 2));
    ASSERT_TRUE(WaitFor(client, ZR_EV_CLOSED));
    EXPECT_EQ(1, gAccept.accepted);
    EXPECT_EQ(1, ZrSockClose(client));

    // Closing the listening slot ends its thread and the listening.
    DWORD before = GetTickCount();
    EXPECT_EQ(1, ZrSockClose(listening));
    EXPECT_LT(GetTickCount() - before, 1000u);
    EXPECT_EQ(-1, ZrSockSlotState(listening));
    ASSERT_EQ(1, ZrSockTcpConnect("127.0.0.1", port, &client));
    EXPECT_TRUE(WaitFor(client, ZR_EV_CLOSED)) << "nothing listens any more";
    EXPECT_EQ(1, ZrSockClose(client));
}

TEST_F(SockTest, ACleanUpEndsAListeningSlotWithItsConnections)
{
    gAccept = AcceptLog();
    ZrSockSlotRec *listening = NULL;
    ASSERT_EQ(1, ZrSockTcpListen(0, 7, OnAccept, &listening));
    uint32_t address = 0;
    uint16_t port = 0;
    ASSERT_EQ(1, ZrSockGetLocalAddr(listening, &address, &port));
    ZrSockSlotRec *client = NULL;
    ASSERT_EQ(1, ZrSockTcpConnect("127.0.0.1", port, &client));
    ASSERT_TRUE(WaitUntil(&gAccept.accepted, 1));
    DWORD before = GetTickCount();
    ZrSockCleanup();
    EXPECT_LT(GetTickCount() - before, 2000u);
    EXPECT_EQ(0, ZrSockIsInitialised());
    int tls = 0;
    ASSERT_EQ(1, ZrSockInit(&tls)) << "the layer starts again for TearDown";
}

TEST_F(SockTest, UdpDatagramsToItself)
{
    const uint32_t loopback = inet_addr("127.0.0.1");
    ZrSockSlotRec *udp = NULL;
    ASSERT_EQ(1, ZrSockUdpOpen(loopback, 0, &udp));
    EXPECT_EQ(ZR_SLOT_CONNECTED, ZrSockSlotState(udp));
    uint32_t address = 0;
    uint16_t port = 0;
    ASSERT_EQ(1, ZrSockGetLocalAddr(udp, &address, &port));
    EXPECT_EQ(0x7F000001u, address);
    ZrSockSlotRec *taken = NULL;
    EXPECT_EQ(7, ZrSockUdpOpen(loopback, port, &taken)) << "the port is taken";
    EXPECT_EQ(3, ZrSockUdpOpen(loopback, 0, NULL));

    // To a port where nothing listens first: the slot stays open.
    SOCKET gone = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in a;
    memset(&a, 0, sizeof(a));
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = loopback;
    bind(gone, (sockaddr *)&a, sizeof(a));
    int size = sizeof(a);
    getsockname(gone, (sockaddr *)&a, &size);
    closesocket(gone);
    int error = -1;
    EXPECT_EQ(1, ZrSockUdpSendTo(udp, loopback, ntohs(a.sin_port), "lost", 4, &error));
    Sleep(50);

    // Two datagrams to itself: two data items, each whole.
    const char *datagrams[] = {"ping", "a second, longer datagram"};
    for (const char *d : datagrams) {
        error = -1;
        EXPECT_EQ(1, ZrSockUdpSendTo(udp, loopback, port, d, (int)strlen(d), &error));
        EXPECT_NE(-1, error) << "the platform's error code is always stored";
    }
    std::vector<std::string> items;
    DWORD start = GetTickCount();
    char buffer[2048];
    while (items.size() < 2 && GetTickCount() - start < 10000) {
        int kind = -1, length = 0;
        if (ZrSockTcpPoll(udp, &kind, buffer, &length) == 1) {
            EXPECT_EQ(ZR_EV_DATA, kind);
            items.push_back(std::string(buffer, (size_t)length));
        } else {
            Sleep(2);
        }
    }
    ASSERT_EQ(2u, items.size());
    EXPECT_EQ(datagrams[0], items[0]);
    EXPECT_EQ(datagrams[1], items[1]);
    EXPECT_EQ(ZR_SLOT_CONNECTED, ZrSockSlotState(udp));

    // Its checks: arguments, a TCP slot, a freed slot.
    EXPECT_EQ(3, ZrSockUdpSendTo(udp, loopback, port, "x", 0, &error));
    EXPECT_EQ(3, ZrSockUdpSendTo(udp, loopback, port, "x", 1, NULL));
    SOCKET listener;
    int tcpPort = Listen(&listener);
    ZrSockSlotRec *tcp = NULL;
    ASSERT_EQ(1, ZrSockTcpConnect("127.0.0.1", (uint16_t)tcpPort, &tcp));
    ASSERT_TRUE(WaitFor(tcp, ZR_EV_CONNECTED));
    EXPECT_EQ(17, ZrSockUdpSendTo(tcp, loopback, port, "x", 1, &error));
    ASSERT_EQ(1, ZrSockClose(udp));
    EXPECT_EQ(16, ZrSockUdpSendTo(udp, loopback, port, "x", 1, &error));
}

namespace {

struct AdapterSeen {
    std::string dotted;
    uint32_t address;
    int kind;
};

void OnAdapter(void *user, const char *dotted, uint32_t address, int kind)
{
    ((std::vector<AdapterSeen> *)user)->push_back({dotted ? dotted : "", address, kind});
}

}  // namespace

TEST(SockLayer, ListeningUdpAndTheAdapterWalkOutsideTheLayer)
{
    ZrSockSlotRec *slot = NULL;
    int error = 0;
    EXPECT_EQ(4, ZrSockTcpListen(0, 1, OnAccept, &slot));
    EXPECT_EQ(4, ZrSockUdpOpen(0, 0, &slot));
    EXPECT_EQ(4, ZrSockUdpSendTo(slot, 0, 9, "x", 1, &error));

    // The walk works without the layer: every adapter reported has an
    // address, given alike as text and as a value; or the list is not there.
    EXPECT_EQ(3, ZrSockEnumAdapters(NULL, NULL));
    std::vector<AdapterSeen> seen;
    int result = ZrSockEnumAdapters(&seen, OnAdapter);
    ASSERT_TRUE(result == 1 || result == 0) << result;
    if (result == 0) {
        EXPECT_TRUE(seen.empty());
    }
    for (const AdapterSeen &a : seen) {
        char text[32];
        ZrSockIpToText(a.address, text);
        EXPECT_EQ(a.dotted, text);
        EXPECT_NE(0u, a.address);
        EXPECT_TRUE(a.kind >= ZR_ADAPTER_ETHERNET && a.kind <= ZR_ADAPTER_OTHER) << a.kind;
    }
    printf("adapter walk: %d, %u adapters\n", result, (unsigned)seen.size());
}
