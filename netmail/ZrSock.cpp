// The plain half of the socket layer: slots, the two worker threads,
// connect, send, poll and close, and host names.
//
// Locking: one re-entrant global lock guards every slot; each queue has its
// own lock, always taken after the global one.  The receive thread holds the
// global lock while it builds its wait sets and while it handles what select
// reported, never while it waits; the send thread holds it for its walk over
// the slots (the sockets are non-blocking).
#include "netmail/ZrSockInternal.h"
#include "netmail/ZrSsl.h"

#include <ws2tcpip.h>
#include <stdio.h>
#include <string.h>

ZrSockStateRec gZrSock;

// A stop waits this long for a worker thread; a pass takes at most about 20 ms.
DWORD gZrSockStopWaitMs = 5000;

// A close waits at most this long for the socket to take what is queued.
static const DWORD CLOSE_FLUSH_MS = 1000;

// Set by a cleanup whose worker threads did not stop in time: the slots and
// the lock (which such a thread may hold) are kept until the threads have
// ended.  Outside gZrSock, which an initialisation clears.
static int sCleanupPending = 0;

int ZrSockIsSlot(const ZrSockSlotRec *slot)
{
    return slot >= &gZrSock.slots[0] && slot < &gZrSock.slots[ZR_SLOT_COUNT] &&
           ((const char *)slot - (const char *)&gZrSock.slots[0]) % sizeof(ZrSockSlotRec) == 0;
}

static void CloseSocket(ZrSockSlotRec *slot)
{
    if (slot->socket == INVALID_SOCKET) return;
    closesocket(slot->socket);
    slot->socket = INVALID_SOCKET;
}

static ZrSockSlotRec *SlotAlloc(void)
{
    for (int i = 0; i < ZR_SLOT_COUNT; i++) {
        ZrSockSlotRec *slot = &gZrSock.slots[i];
        if (slot->inUse) continue;
        memset(slot, 0, sizeof(*slot));
        slot->socket = INVALID_SOCKET;
        if (!ZrOsQueueInit(&slot->sendQueue, ZR_QUEUE_ITEMS, ZR_QUEUE_ITEM_SIZE)) return NULL;
        if (!ZrOsQueueInit(&slot->receiveQueue, ZR_QUEUE_ITEMS, ZR_QUEUE_ITEM_SIZE)) {
            ZrOsQueueDestroy(&slot->sendQueue);
            return NULL;
        }
        gZrSock.stats.slotsInUse++;
        slot->inUse = 1;
        return slot;
    }
    return NULL;
}

static void SlotFree(ZrSockSlotRec *slot)
{
    if (!slot->inUse) return;
    const int listening = slot->state == ZR_SLOT_LISTENING;
    slot->state = ZR_SLOT_NONE;
    ZrSockSecureStop(slot);
    // The accept thread learns to stop before its socket goes, so that it
    // never waits on a handle the platform may have given to another socket.
    if (listening) ZrOsFlagSet(&slot->acceptThread.stop, 1);
    CloseSocket(slot);
    if (listening) ZrOsThreadStop(&slot->acceptThread, gZrSockStopWaitMs);
    ZrOsQueueDestroy(&slot->sendQueue);
    ZrOsQueueDestroy(&slot->receiveQueue);
    gZrSock.stats.slotsInUse--;
    slot->inUse = 0;
}

ZrSockSlotRec *ZrSockSlotAlloc(void)
{
    return SlotAlloc();
}

void ZrSockSlotFree(ZrSockSlotRec *slot)
{
    SlotFree(slot);
}

// Shuts the sending side, reads what is left until an error or the end of
// the stream, then closes; the socket is marked closed.
static void GracefulClose(ZrSockSlotRec *slot)
{
    if (slot->socket == INVALID_SOCKET) return;
    if (shutdown(slot->socket, SD_SEND) == 0) {
        char scratch[1024];
        while (recv(slot->socket, scratch, sizeof(scratch), 0) > 0) {
        }
    }
    CloseSocket(slot);
}

// Pushes what the receive thread owes the caller, as far as the receive
// queue takes it: the connected event, the engine's last plaintext, the
// closed event.
static void PushDue(ZrSockSlotRec *slot)
{
    if (slot->connectedDue) {
        if (!ZrOsQueuePush(&slot->receiveQueue, ZR_EV_CONNECTED, NULL, 0)) return;
        slot->connectedDue = 0;
    }
    if (slot->drainDue) {
        if (!ZrSockSecureDrain(slot)) return;
        slot->drainDue = 0;
    }
    if (slot->closedDue) {
        if (!ZrOsQueuePush(&slot->receiveQueue, ZR_EV_CLOSED, NULL, 0)) return;
        slot->closedDue = 0;
    }
}

static void MarkClosed(ZrSockSlotRec *slot)
{
    slot->state = ZR_SLOT_CLOSED;
    if (slot->secure) slot->drainDue = 1;
    slot->closedDue = 1;
}

static ZrOsQueueRec *ReceiveTarget(ZrSockSlotRec *slot)
{
    return slot->secure ? &slot->secureInput : &slot->receiveQueue;
}

// One receive call: 1 with the byte count in *received (0 when paused, the
// target queue is full or nothing is there yet), 0 at the end of the stream
// or on an error.
static int ReceiveOnce(ZrSockSlotRec *slot, int *received)
{
    *received = 0;
    if (ZrOsFlagGet(&slot->receivePaused)) return 1;
    ZrOsQueueRec *queue = ReceiveTarget(slot);
    ZrOsLockEnter(&queue->lock);
    ZrOsQueueItemRec *item = ZrOsQueueReserve(queue);
    if (!item) {
        ZrOsLockLeave(&queue->lock);
        return 1;
    }
    int got = recv(slot->socket, item->data, queue->itemSize, 0);
    if (got > 0) {
        gZrSock.stats.receiveCalls++;
        gZrSock.stats.bytesReceived += (uint32_t)got;
        item->length = got;
        ZrOsQueueCommit(queue);
        ZrOsLockLeave(&queue->lock);
        *received = got;
        return 1;
    }
    ZrOsLockLeave(&queue->lock);
    if (got == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return 1;
    // A datagram socket has no stream to end: an empty datagram is passed
    // over, and an error (the report of an earlier datagram that found no
    // listener, one cut short) leaves it open.
    if (slot->datagram) return 1;
    return 0;
}

static void OnSlotEvents(ZrSockSlotRec *slot, fd_set *readSet, fd_set *writeSet, fd_set *exceptSet)
{
    SOCKET s = slot->socket;
    if (s == INVALID_SOCKET) return;
    if (FD_ISSET(s, exceptSet)) {
        FD_CLR(s, exceptSet);
        GracefulClose(slot);
        MarkClosed(slot);
        return;
    }
    if (FD_ISSET(s, writeSet)) {
        FD_CLR(s, writeSet);
        if (slot->state == ZR_SLOT_CONNECTING) {
            int error = 1;
            int size = sizeof(error);
            if (getsockopt(s, SOL_SOCKET, SO_ERROR, (char *)&error, &size) != 0) error = 1;
            if (error == 0) {
                slot->state = ZR_SLOT_CONNECTED;
                slot->connectedDue = 1;
            } else {
                slot->state = ZR_SLOT_CLOSED;
                slot->closedDue = 1;
            }
        }
        return;
    }
    if (FD_ISSET(s, readSet)) {
        if (slot->state == ZR_SLOT_CONNECTED) {
            int received = 0;
            int ok;
            do {
                ok = ReceiveOnce(slot, &received);
            } while (ok && received > 0);
            if (!ok) MarkClosed(slot);
        }
        FD_CLR(s, readSet);
    }
}

// Puts the sockets to wait on into the sets: connecting slots wait to become
// writable, connected ones to become readable (unless paused or their queue
// is full); both for exceptions.  Closed slots are left out.  Returns how
// many sockets were put in.
static int BuildWaitSets(fd_set *readSet, fd_set *writeSet, fd_set *exceptSet)
{
    int count = 0;
    FD_ZERO(readSet);
    FD_ZERO(writeSet);
    FD_ZERO(exceptSet);
    for (int i = 0; i < ZR_SLOT_COUNT; i++) {
        ZrSockSlotRec *slot = &gZrSock.slots[i];
        if (!slot->inUse || slot->socket == INVALID_SOCKET) continue;
        if (slot->state == ZR_SLOT_CONNECTING) {
            FD_SET(slot->socket, writeSet);
        } else if (slot->state == ZR_SLOT_CONNECTED) {
            if (!ZrOsFlagGet(&slot->receivePaused) && !ZrOsQueueFull(ReceiveTarget(slot)))
                FD_SET(slot->socket, readSet);
        } else {
            continue;
        }
        FD_SET(slot->socket, exceptSet);
        count++;
    }
    return count;
}

static void PushAllDue(void)
{
    for (int i = 0; i < ZR_SLOT_COUNT; i++) {
        ZrSockSlotRec *slot = &gZrSock.slots[i];
        if (slot->inUse) PushDue(slot);
    }
}

static DWORD WINAPI ReceiveThread(void *parameter)
{
    ZrOsThreadCtlRec *control = (ZrOsThreadCtlRec *)parameter;
    ZrOsFlagSet(&control->exited, 0);
    ZrOsFlagSet(&control->running, 1);
    while (!ZrOsFlagGet(&control->stop)) {
        gZrSock.stats.receivePasses++;
        fd_set readSet, writeSet, exceptSet;
        ZrOsLockEnter(&gZrSock.lock);
        int waiting = BuildWaitSets(&readSet, &writeSet, &exceptSet);
        PushAllDue();
        ZrOsLockLeave(&gZrSock.lock);
        if (waiting == 0) {
            ZrOsSleep(1);
            continue;
        }
        timeval timeout = {0, 20000};
        if (select(0, &readSet, &writeSet, &exceptSet, &timeout) <= 0) continue;
        ZrOsLockEnter(&gZrSock.lock);
        for (int i = 0; i < ZR_SLOT_COUNT; i++) {
            ZrSockSlotRec *slot = &gZrSock.slots[i];
            if (!slot->inUse) continue;
            OnSlotEvents(slot, &readSet, &writeSet, &exceptSet);
            PushDue(slot);
        }
        ZrOsLockLeave(&gZrSock.lock);
    }
    ZrOsFlagSet(&control->exited, 1);
    return 0;
}

// Sends the slot's queued items until the queue is empty or the socket takes
// no more; an item partly taken keeps its rest for the next pass.
static void SendQueued(ZrSockSlotRec *slot)
{
    for (;;) {
        gZrSock.stats.sendQueueChecks++;
        ZrOsQueueItemRec *item = ZrOsQueuePeek(&slot->sendQueue);
        if (!item) return;
        if (item->length > 0) {
            int sent = send(slot->socket, item->data + item->offset, item->length, 0);
            if (sent <= 0) return;
            gZrSock.stats.sendCalls++;
            gZrSock.stats.bytesSent += (uint32_t)sent;
            item->offset += sent;
            item->length -= sent;
        }
        if (item->length == 0) ZrOsQueueDropOldest(&slot->sendQueue);
    }
}

static DWORD WINAPI SendThread(void *parameter)
{
    ZrOsThreadCtlRec *control = (ZrOsThreadCtlRec *)parameter;
    ZrOsFlagSet(&control->exited, 0);
    ZrOsFlagSet(&control->running, 1);
    while (!ZrOsFlagGet(&control->stop)) {
        gZrSock.stats.sendPasses++;
        ZrOsSleep(1);
        ZrOsLockEnter(&gZrSock.lock);
        for (int i = 0; i < ZR_SLOT_COUNT; i++) {
            ZrSockSlotRec *slot = &gZrSock.slots[i];
            if (!slot->inUse || slot->state != ZR_SLOT_CONNECTED || slot->socket == INVALID_SOCKET) continue;
            if (slot->secure) ZrSockSecurePump(slot);
            SendQueued(slot);
        }
        ZrOsLockLeave(&gZrSock.lock);
    }
    ZrOsFlagSet(&control->exited, 1);
    return 0;
}

int ZrSockIsInitialised(void)
{
    return gZrSock.initialised;
}

// The rest of a cleanup once both worker threads have ended (waiting up to
// wait for each): free the slots, delete the lock, stop the socket library
// and the TLS library.  0 while a thread still runs: everything is kept.
static int FinishCleanup(DWORD wait)
{
    if (!sCleanupPending) return 1;
    int stopped = ZrOsThreadStop(&gZrSock.receiveThread, wait);
    stopped &= ZrOsThreadStop(&gZrSock.sendThread, wait);
    if (!stopped) return 0;
    // The threads are gone: nothing else touches the slots.
    for (int i = 0; i < ZR_SLOT_COUNT; i++) SlotFree(&gZrSock.slots[i]);
    ZrOsLockDelete(&gZrSock.lock);
    WSACleanup();
    if (gZrSock.tlsEnabled) ZrSslCleanup();
    sCleanupPending = 0;
    return 1;
}

int ZrSockInit(const int *tlsEnabled)
{
    if (gZrSock.initialised) return ZR_SOCK_ALREADY;
    if (!tlsEnabled) return ZR_SOCK_BAD_PARAM;
    // A worker thread left running by the last cleanup may still hold the
    // lock and walk the slots: the state is reset only once it has ended.
    if (!FinishCleanup(gZrSockStopWaitMs)) return ZR_SOCK_THREAD_FAILED;
    memset(&gZrSock, 0, sizeof(gZrSock));
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return ZR_SOCK_WSA_FAILED;
    ZrOsLockInit(&gZrSock.lock);
    for (int i = 0; i < ZR_SLOT_COUNT; i++) gZrSock.slots[i].socket = INVALID_SOCKET;
    int started = ZrOsThreadStart(ReceiveThread, &gZrSock.receiveThread, NULL);
    if (started) started = ZrOsThreadStart(SendThread, &gZrSock.sendThread, NULL);
    if (!started) {
        sCleanupPending = 1;
        FinishCleanup(gZrSockStopWaitMs);
        return ZR_SOCK_THREAD_FAILED;
    }
    gZrSock.tlsEnabled = *tlsEnabled ? 1 : 0;
    if (gZrSock.tlsEnabled) ZrSslInit();
    gZrSock.initialised = 1;
    return ZR_SOCK_OK;
}

void ZrSockCleanup(void)
{
    if (!gZrSock.initialised) return;
    gZrSock.initialised = 0;
    // A thread that does not end keeps the slots, the lock it may hold and
    // the socket library; the next initialisation finishes the cleanup.
    sCleanupPending = 1;
    FinishCleanup(gZrSockStopWaitMs);
}

// The checks every slot operation makes under the global lock.
static int CheckSlot(ZrSockSlotRec *slot)
{
    if (!ZrSockIsSlot(slot) || !slot->inUse) return ZR_SOCK_NOT_IN_USE;
    return ZR_SOCK_OK;
}

int ZrSockTcpConnect(const char *dottedIp, uint16_t port, ZrSockSlotRec **out)
{
    if (!gZrSock.initialised) return ZR_SOCK_NOT_INIT;
    if (!out || !dottedIp || !ZrSockIsDottedIp(dottedIp)) return ZR_SOCK_BAD_PARAM;
    ZrOsLockEnter(&gZrSock.lock);
    ZrSockSlotRec *slot = SlotAlloc();
    if (!slot) {
        ZrOsLockLeave(&gZrSock.lock);
        return ZR_SOCK_NO_SLOT;
    }
    sockaddr_in address;
    memset(&address, 0, sizeof(address));
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = ZrSockIpFromText(dottedIp);
    address.sin_port = htons(port);
    slot->socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (slot->socket == INVALID_SOCKET) {
        SlotFree(slot);
        ZrOsLockLeave(&gZrSock.lock);
        return ZR_SOCK_SOCKET_FAILED;
    }
    u_long nonBlocking = 1;
    ioctlsocket(slot->socket, FIONBIO, &nonBlocking);
    slot->state = ZR_SLOT_CONNECTING;
    int result = ZR_SOCK_OK;
    if (connect(slot->socket, (sockaddr *)&address, sizeof(address)) != 0 &&
        WSAGetLastError() != WSAEWOULDBLOCK) {
        SlotFree(slot);
        result = ZR_SOCK_CONNECT_FAILED;
    } else {
        *out = slot;
    }
    ZrOsLockLeave(&gZrSock.lock);
    return result;
}

int ZrSockTcpSend(ZrSockSlotRec *slot, const void *bytes, int length, int *queued)
{
    if (!gZrSock.initialised) return ZR_SOCK_NOT_INIT;
    if (!slot || !bytes || length <= 0 || !queued) return ZR_SOCK_BAD_PARAM;
    ZrOsLockEnter(&gZrSock.lock);
    int result = CheckSlot(slot);
    if (result == ZR_SOCK_OK && slot->state != ZR_SLOT_CONNECTED) result = ZR_SOCK_BAD_STATE;
    if (result == ZR_SOCK_OK) {
        ZrOsQueueRec *queue = slot->secure ? &slot->securePlain : &slot->sendQueue;
        const char *next = (const char *)bytes;
        int done = 0;
        while (done < length) {
            int piece = length - done;
            if (piece > queue->itemSize) piece = queue->itemSize;
            if (!ZrOsQueuePush(queue, ZR_EV_DATA, next + done, piece)) break;
            done += piece;
        }
        *queued = done;
        if (done == 0) result = ZR_SOCK_QUEUE_FULL;
    }
    ZrOsLockLeave(&gZrSock.lock);
    return result;
}

int ZrSockTcpPoll(ZrSockSlotRec *slot, int *kind, void *buffer, int *length)
{
    if (!gZrSock.initialised) return ZR_SOCK_NOT_INIT;
    if (!slot || !kind || !buffer || !length) return ZR_SOCK_BAD_PARAM;
    ZrOsLockEnter(&gZrSock.lock);
    int result = CheckSlot(slot);
    if (result == ZR_SOCK_OK && !ZrOsQueuePop(&slot->receiveQueue, kind, buffer, length)) result = ZR_SOCK_EMPTY;
    ZrOsLockLeave(&gZrSock.lock);
    return result;
}

// Before a connected slot closes, what is queued for it goes out: the
// secure pump turns the caller's plaintext and the engine's pending records
// (such as the last message of a handshake) into ciphertext, and the send
// queue is sent, for at most CLOSE_FLUSH_MS while the socket takes bytes.
// Plaintext that the engine does not take (its handshake is not done) is
// not waited for.  Under the global lock, which it leaves while it waits.
static void FlushBeforeClose(ZrSockSlotRec *slot)
{
    const DWORD start = GetTickCount();
    while (slot->state == ZR_SLOT_CONNECTED && slot->socket != INVALID_SOCKET) {
        const int plainBefore = slot->secure ? ZrOsQueueCount(&slot->securePlain) : 0;
        if (slot->secure) ZrSockSecurePump(slot);
        SendQueued(slot);
        int done = ZrOsQueueCount(&slot->sendQueue) == 0;
        if (done && slot->secure) {
            const int plain = ZrOsQueueCount(&slot->securePlain);
            done = ZrSslPending(slot->netOut) == 0 && (plain == 0 || plain == plainBefore);
        }
        if (done || GetTickCount() - start >= CLOSE_FLUSH_MS) return;
        ZrOsLockLeave(&gZrSock.lock);
        ZrOsSleep(1);
        ZrOsLockEnter(&gZrSock.lock);
    }
}

// Reads away what has arrived and not been read: closing a socket with
// unread bytes resets the connection, and the peer may then lose what was
// just sent to it.
static void DiscardUnread(ZrSockSlotRec *slot)
{
    char scratch[1024];
    for (int i = 0; i < 64 && recv(slot->socket, scratch, sizeof(scratch), 0) > 0; i++) {
    }
}

int ZrSockClose(ZrSockSlotRec *slot)
{
    if (!gZrSock.initialised) return ZR_SOCK_NOT_INIT;
    if (!slot) return ZR_SOCK_BAD_PARAM;
    ZrOsLockEnter(&gZrSock.lock);
    int result = CheckSlot(slot);
    if (result == ZR_SOCK_OK && slot->state == ZR_SLOT_NONE) result = ZR_SOCK_BAD_STATE;
    if (result == ZR_SOCK_OK) {
        // Only a stream that carries data has anything to send or read away
        // first; a listening or datagram socket just goes.
        const int stream = slot->state == ZR_SLOT_CONNECTED && !slot->datagram;
        if (stream) FlushBeforeClose(slot);
        if (stream && slot->socket != INVALID_SOCKET) {
            shutdown(slot->socket, SD_SEND);
            DiscardUnread(slot);
        }
        SlotFree(slot);
    }
    ZrOsLockLeave(&gZrSock.lock);
    return result;
}

int ZrSockIsDottedIp(const char *text)
{
    if (!text) return 0;
    size_t length = strlen(text);
    if (length < 7 || length > 15) return 0;
    int groups = 0;
    const char *p = text;
    for (;;) {
        int digits = 0, value = 0;
        while (*p >= '0' && *p <= '9') {
            value = value * 10 + (*p - '0');
            digits++;
            p++;
        }
        if (digits < 1 || digits > 3 || value > 255) return 0;
        groups++;
        if (*p == '\0') break;
        if (*p != '.' || groups == 4) return 0;
        p++;
    }
    return groups == 4;
}

uint32_t ZrSockIpFromText(const char *dotted)
{
    return (uint32_t)inet_addr(dotted);
}

int ZrSockIpToText(uint32_t address, char *out)
{
    in_addr value;
    value.s_addr = address;
    const char *text = inet_ntoa(value);
    strcpy(out, text ? text : "");
    return (int)strlen(out);
}

int ZrSockResolveHost(const char *name, char *out)
{
    if (!gZrSock.initialised) return ZR_SOCK_NOT_INIT;
    if (!name || !out || !name[0]) return ZR_SOCK_BAD_PARAM;
    if (ZrSockIsDottedIp(name)) {
        strcpy(out, name);
        return ZR_SOCK_OK;
    }
    hostent *entry = gethostbyname(name);
    if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list || !entry->h_addr_list[0]) return 0;
    uint32_t address;
    memcpy(&address, entry->h_addr_list[0], sizeof(address));
    char text[32];
    ZrSockIpToText(address, text);
    if (strlen(text) > 15) return 0;
    strcpy(out, text);
    return ZR_SOCK_OK;
}

int ZrSockGetHostName(char *buffer, int size)
{
    if (!gZrSock.initialised) return ZR_SOCK_NOT_INIT;
    if (!buffer || size <= 0) return ZR_SOCK_BAD_PARAM;
    // The DNS host name, as the socket library's gethostname gives it (which
    // winelib code cannot call by that name: the C library has its own).
    DWORD length = (DWORD)size;
    if (!GetComputerNameExA(ComputerNameDnsHostname, buffer, &length) || length == 0) return 0;
    return ZR_SOCK_OK;
}

int ZrSockGetLocalAddr(ZrSockSlotRec *slot, uint32_t *address, uint16_t *port)
{
    if (!gZrSock.initialised) return ZR_SOCK_NOT_INIT;
    if (!slot || !address || !port) return ZR_SOCK_BAD_PARAM;
    ZrOsLockEnter(&gZrSock.lock);
    int result = CheckSlot(slot);
    if (result == ZR_SOCK_OK) {
        sockaddr_in local;
        int size = sizeof(local);
        if (slot->socket == INVALID_SOCKET || getsockname(slot->socket, (sockaddr *)&local, &size) != 0) {
            result = 0;
        } else {
            *address = ntohl(local.sin_addr.s_addr);
            *port = ntohs(local.sin_port);
        }
    }
    ZrOsLockLeave(&gZrSock.lock);
    return result;
}

int ZrSockSetReceive(ZrSockSlotRec *slot, int receive)
{
    if (!gZrSock.initialised) return ZR_SOCK_NOT_INIT;
    if (!ZrSockIsSlot(slot)) return ZR_SOCK_BAD_PARAM;
    ZrOsFlagSet(&slot->receivePaused, receive ? 0 : 1);
    return ZR_SOCK_OK;
}

void ZrSockGetStats(ZrSockStatsRec *stats)
{
    if (!gZrSock.initialised || !stats) return;
    *stats = gZrSock.stats;
}

int ZrSockSlotState(ZrSockSlotRec *slot)
{
    if (!gZrSock.initialised || !ZrSockIsSlot(slot)) return -1;
    ZrOsLockEnter(&gZrSock.lock);
    int state = slot->inUse ? slot->state : -1;
    ZrOsLockLeave(&gZrSock.lock);
    return state;
}
