// The socket layer's listening slots with their accept threads, UDP slots,
// and the walk over the network adapters.
//
// An accept thread waits on its listening socket (at most 20 ms a wait, so
// that it sees a stop soon), takes each connection, asks the slot's callback
// whether to keep it (under the global lock) and gives it a connected slot
// of its own, which the receive and send threads then serve like any other.
#include "netmail/ZrSockInternal.h"

#include <iphlpapi.h>
#include <stdlib.h>
#include <string.h>

static const int LISTEN_BACKLOG = 3;
static const long ACCEPT_WAIT_US = 20000;

// Takes the global lock unless the thread is asked to stop meanwhile: the
// one who frees the listening slot holds the lock while it waits for this
// thread to end.  1 with the lock held.
static int LockUnlessStopped(ZrOsThreadCtlRec *control)
{
    for (;;) {
        if (ZrOsFlagGet(&control->stop) || !gZrSock.initialised) return 0;
        if (!gZrSock.lock.initialised) return 0;
        if (TryEnterCriticalSection(&gZrSock.lock.lock)) return 1;
        ZrOsSleep(1);
    }
}

// 1 when the listening socket has a connection waiting.
static int ConnectionWaiting(SOCKET listener)
{
    fd_set readSet;
    FD_ZERO(&readSet);
    FD_SET(listener, &readSet);
    timeval timeout = {0, ACCEPT_WAIT_US};
    return select(0, &readSet, NULL, NULL, &timeout) == 1;
}

// What the thread does with one accepted socket; 0 when the thread is to end.
static int HandOver(ZrOsThreadCtlRec *control, ZrSockSlotRec *listening, SOCKET listener, SOCKET incoming,
                    const sockaddr_in *peer)
{
    if (!LockUnlessStopped(control)) {
        closesocket(incoming);
        return 0;
    }
    if (!listening->inUse || listening->state != ZR_SLOT_LISTENING || listening->socket != listener) {
        closesocket(incoming);
        ZrOsLockLeave(&gZrSock.lock);
        return 0;
    }
    char dotted[32];
    ZrSockIpToText(peer->sin_addr.s_addr, dotted);
    ZrSockAcceptFn callback = listening->acceptFn;
    int user = callback(listening->user, ZR_ACCEPT_INCOMING, NULL, ntohs(peer->sin_port), dotted);
    ZrSockSlotRec *slot = user ? ZrSockSlotAlloc() : NULL;
    if (!slot) {
        closesocket(incoming);
        ZrOsLockLeave(&gZrSock.lock);
        return 1;
    }
    slot->socket = incoming;
    slot->user = user;
    slot->acceptFn = callback;
    u_long nonBlocking = 1;
    ioctlsocket(incoming, FIONBIO, &nonBlocking);
    slot->state = ZR_SLOT_CONNECTED;
    ZrOsLockLeave(&gZrSock.lock);
    callback(user, ZR_ACCEPT_DONE, slot, 0, NULL);
    return 1;
}

static DWORD WINAPI AcceptThread(void *parameter)
{
    ZrOsThreadCtlRec *control = (ZrOsThreadCtlRec *)parameter;
    ZrSockSlotRec *listening = (ZrSockSlotRec *)control->argument;
    // The socket as it was when the thread started: the slot's field changes
    // under the lock only, and the thread compares rather than reads it.
    const SOCKET listener = listening->socket;
    ZrOsFlagSet(&control->exited, 0);
    ZrOsFlagSet(&control->running, 1);
    while (!ZrOsFlagGet(&control->stop)) {
        ZrOsSleep(1);
        if (ZrOsFlagGet(&control->stop) || !ConnectionWaiting(listener)) continue;
        sockaddr_in peer;
        int size = sizeof(peer);
        memset(&peer, 0, sizeof(peer));
        SOCKET incoming = accept(listener, (sockaddr *)&peer, &size);
        if (incoming == INVALID_SOCKET) continue;
        if (!gZrSock.initialised || !HandOver(control, listening, listener, incoming, &peer)) break;
    }
    ZrOsFlagSet(&control->exited, 1);
    return 0;
}

int ZrSockTcpListen(uint16_t port, int user, ZrSockAcceptFn callback, ZrSockSlotRec **out)
{
    if (!gZrSock.initialised) return ZR_SOCK_NOT_INIT;
    if (!callback) return ZR_SOCK_BAD_PARAM;
    if (out) *out = NULL;
    ZrOsLockEnter(&gZrSock.lock);
    ZrSockSlotRec *slot = ZrSockSlotAlloc();
    if (!slot) {
        ZrOsLockLeave(&gZrSock.lock);
        return ZR_SOCK_NO_SLOT;
    }
    // The local host must have a name and an address; the socket itself
    // listens on every local address.
    char name[256];
    hostent *entry = NULL;
    if (ZrSockGetHostName(name, sizeof(name)) == ZR_SOCK_OK) entry = gethostbyname(name);
    if (!entry || entry->h_addrtype != AF_INET) {
        ZrSockSlotFree(slot);
        ZrOsLockLeave(&gZrSock.lock);
        return 0;
    }
    int result = ZR_SOCK_OK;
    sockaddr_in address;
    memset(&address, 0, sizeof(address));
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(port);
    slot->socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (slot->socket == INVALID_SOCKET) result = ZR_SOCK_SOCKET_FAILED;
    else if (bind(slot->socket, (sockaddr *)&address, sizeof(address)) != 0 ||
             listen(slot->socket, LISTEN_BACKLOG) != 0)
        result = ZR_SOCK_BIND_FAILED;
    if (result == ZR_SOCK_OK) {
        slot->state = ZR_SLOT_LISTENING;
        slot->user = user;
        slot->acceptFn = callback;
        if (!ZrOsThreadStart(AcceptThread, &slot->acceptThread, slot)) result = ZR_SOCK_THREAD_FAILED;
    }
    if (result != ZR_SOCK_OK) ZrSockSlotFree(slot);
    else if (out) *out = slot;
    ZrOsLockLeave(&gZrSock.lock);
    return result;
}

int ZrSockUdpOpen(uint32_t address, uint16_t port, ZrSockSlotRec **out)
{
    if (!gZrSock.initialised) return ZR_SOCK_NOT_INIT;
    if (!out) return ZR_SOCK_BAD_PARAM;
    ZrOsLockEnter(&gZrSock.lock);
    ZrSockSlotRec *slot = ZrSockSlotAlloc();
    if (!slot) {
        ZrOsLockLeave(&gZrSock.lock);
        return ZR_SOCK_NO_SLOT;
    }
    int result = ZR_SOCK_OK;
    sockaddr_in local;
    memset(&local, 0, sizeof(local));
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = address;
    local.sin_port = htons(port);
    slot->socket = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (slot->socket == INVALID_SOCKET) result = ZR_SOCK_SOCKET_FAILED;
    else if (bind(slot->socket, (sockaddr *)&local, sizeof(local)) != 0) result = ZR_SOCK_BIND_FAILED;
    if (result == ZR_SOCK_OK) {
        u_long nonBlocking = 1;
        ioctlsocket(slot->socket, FIONBIO, &nonBlocking);
        slot->datagram = 1;
        slot->state = ZR_SLOT_CONNECTED;
        *out = slot;
    } else {
        ZrSockSlotFree(slot);
    }
    ZrOsLockLeave(&gZrSock.lock);
    return result;
}

int ZrSockUdpSendTo(ZrSockSlotRec *slot, uint32_t address, uint16_t port, const void *bytes, int length, int *error)
{
    if (!gZrSock.initialised) return ZR_SOCK_NOT_INIT;
    if (!slot || !bytes || length <= 0 || !error) return ZR_SOCK_BAD_PARAM;
    ZrOsLockEnter(&gZrSock.lock);
    int result = ZR_SOCK_OK;
    if (!ZrSockIsSlot(slot) || !slot->inUse) result = ZR_SOCK_NOT_IN_USE;
    else if (!slot->datagram || slot->state != ZR_SLOT_CONNECTED || slot->socket == INVALID_SOCKET)
        result = ZR_SOCK_BAD_STATE;
    if (result == ZR_SOCK_OK) {
        sockaddr_in to;
        memset(&to, 0, sizeof(to));
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = address;
        to.sin_port = htons(port);
        int sent = sendto(slot->socket, (const char *)bytes, length, 0, (const sockaddr *)&to, sizeof(to));
        *error = WSAGetLastError();
        if (sent == SOCKET_ERROR) result = 0;
    }
    ZrOsLockLeave(&gZrSock.lock);
    return result;
}

static int AdapterKind(UINT type)
{
    if (type == MIB_IF_TYPE_ETHERNET) return ZR_ADAPTER_ETHERNET;
    if (type == IF_TYPE_IEEE80211) return ZR_ADAPTER_WIRELESS;
    return ZR_ADAPTER_OTHER;
}

int ZrSockEnumAdapters(void *user, ZrSockAdapterFn callback)
{
    if (!callback) return ZR_SOCK_BAD_PARAM;
    ULONG size = 0;
    if (GetAdaptersInfo(NULL, &size) != ERROR_BUFFER_OVERFLOW || size == 0) return 0;
    IP_ADAPTER_INFO *list = (IP_ADAPTER_INFO *)malloc(size);
    if (!list) return 0;
    if (GetAdaptersInfo(list, &size) != NO_ERROR) {
        free(list);
        return 0;
    }
    for (IP_ADAPTER_INFO *adapter = list; adapter; adapter = adapter->Next) {
        const char *dotted = adapter->IpAddressList.IpAddress.String;
        uint32_t address = ZrSockIpFromText(dotted);
        // Not an address (INADDR_NONE) or none (0.0.0.0): nothing to report.
        if (address == 0 || address == INADDR_NONE) continue;
        callback(user, dotted, address, AdapterKind(adapter->Type));
    }
    free(list);
    return ZR_SOCK_OK;
}
