// The secure half of the socket layer: switching a connected slot to TLS,
// the pump that moves ciphertext and plaintext between the slot's queues and
// the engine (send thread), the last plaintext at the end of the stream
// (receive thread), and the handshake and certificate queries (caller).
// Every engine call is made under the global lock.
#include "netmail/ZrSockInternal.h"
#include "netmail/ZrSsl.h"
#include "core/QlPlatform.h"

#include <stdio.h>
#include <string.h>

// The engine is a native library: it takes the native form of a path.
// 1 with out empty for no path, 0 for a path that cannot be converted.
static int NativePath(const char *path, char *out, size_t size)
{
    out[0] = '\0';
    if (!path || !path[0]) return 1;
    return QlPathToNative(path, out, size);
}

static int SecureStart(ZrSockSlotRec *slot, const ZrSockSecureParamRec *params)
{
    char caFile[MAX_PATH * 4], certFile[MAX_PATH * 4], keyFile[MAX_PATH * 4];
    slot->secure = 1;
    if (NativePath(params->caFile, caFile, sizeof(caFile)) && NativePath(params->certFile, certFile, sizeof(certFile)) &&
        NativePath(params->keyFile, keyFile, sizeof(keyFile)))
        slot->sslContext = ZrSslConnect(&slot->sslConnection, &slot->netIn, &slot->netOut, params->method,
                                        caFile[0] ? caFile : NULL, certFile[0] ? certFile : NULL,
                                        keyFile[0] ? keyFile : NULL, params->keyPassword, params->verify,
                                        params->serverRole == 0, params->serverName);
    if (!slot->sslContext) {
        slot->secure = 0;
        slot->sslConnection = slot->netIn = slot->netOut = NULL;
        return ZR_SOCK_TLS_SETUP;
    }
    if (!ZrOsQueueInit(&slot->securePlain, ZR_QUEUE_ITEMS, ZR_QUEUE_ITEM_SIZE)) return ZR_SOCK_SECURE_QUEUES;
    if (!ZrOsQueueInit(&slot->secureInput, ZR_QUEUE_ITEMS, ZR_QUEUE_ITEM_SIZE)) return ZR_SOCK_SECURE_QUEUES;
    return ZR_SOCK_OK;
}

int ZrSockTcpSwitchToSecureMode(ZrSockSlotRec *slot, const ZrSockSecureParamRec *params)
{
    if (!gZrSock.initialised) return ZR_SOCK_NOT_INIT;
    if (!gZrSock.tlsEnabled) return ZR_SOCK_NO_TLS;
    if (!slot || !params) return ZR_SOCK_BAD_PARAM;
    ZrOsLockEnter(&gZrSock.lock);
    int result = ZR_SOCK_OK;
    if (!ZrSockIsSlot(slot) || !slot->inUse) result = ZR_SOCK_NOT_IN_USE;
    else if (slot->state != ZR_SLOT_CONNECTED) result = ZR_SOCK_BAD_STATE;
    else if (!slot->secure) result = SecureStart(slot, params);
    ZrOsLockLeave(&gZrSock.lock);
    return result;
}

void ZrSockSecureStop(ZrSockSlotRec *slot)
{
    if (!slot->secure) return;
    ZrSslFree(slot->sslContext, slot->sslConnection);
    ZrOsQueueDestroy(&slot->securePlain);
    ZrOsQueueDestroy(&slot->secureInput);
    slot->sslContext = slot->sslConnection = slot->netIn = slot->netOut = NULL;
    slot->secure = 0;
}

// Received ciphertext into the engine's network-input buffer.
static void Feed(ZrSockSlotRec *slot)
{
    ZrOsQueueRec *queue = &slot->secureInput;
    ZrOsLockEnter(&queue->lock);
    for (;;) {
        ZrOsQueueItemRec *item = ZrOsQueuePeek(queue);
        if (!item) break;
        if (item->length > 0) {
            int taken = ZrSslFeed(slot->netIn, item->data + item->offset, item->length);
            if (taken <= 0) break;
            item->offset += taken;
            item->length -= taken;
        }
        if (item->length == 0) ZrOsQueueDropOldest(queue);
    }
    ZrOsLockLeave(&queue->lock);
}

// Plaintext from the engine into the receive queue while it has room (these
// reads also drive the handshake).  1 when the engine had no more to give,
// 0 when the queue filled first.
static int ReadPlain(ZrSockSlotRec *slot)
{
    ZrOsQueueRec *queue = &slot->receiveQueue;
    ZrOsLockEnter(&queue->lock);
    int drained = 0;
    for (;;) {
        ZrOsQueueItemRec *item = ZrOsQueueReserve(queue);
        if (!item) break;
        while (item->length < queue->itemSize) {
            int got = ZrSslRead(slot->sslConnection, item->data + item->length, queue->itemSize - item->length);
            if (got <= 0) break;
            item->length += got;
        }
        int full = item->length == queue->itemSize;
        if (item->length > 0) ZrOsQueueCommit(queue);
        if (!full) {
            drained = 1;
            break;
        }
    }
    ZrOsLockLeave(&queue->lock);
    return drained;
}

// At most one item of the caller's plaintext into the engine.  During the
// handshake the engine takes nothing and the item waits.
static void WritePlain(ZrSockSlotRec *slot)
{
    ZrOsQueueItemRec *item = ZrOsQueuePeek(&slot->securePlain);
    if (!item) return;
    if (item->length > 0) {
        int written = ZrSslWrite(slot->sslConnection, item->data + item->offset, item->length);
        if (written < 0) written = 0;
        item->offset += written;
        item->length -= written;
    }
    if (item->length == 0) ZrOsQueueDropOldest(&slot->securePlain);
}

// The engine's ciphertext into the send queue while it has room.
static void Flush(ZrSockSlotRec *slot)
{
    ZrOsQueueRec *queue = &slot->sendQueue;
    while (ZrSslPending(slot->netOut) > 0) {
        ZrOsLockEnter(&queue->lock);
        ZrOsQueueItemRec *item = ZrOsQueueReserve(queue);
        int got = item ? ZrSslTakeOutput(slot->netOut, item->data, queue->itemSize) : 0;
        if (got > 0) {
            item->length = got;
            ZrOsQueueCommit(queue);
        }
        ZrOsLockLeave(&queue->lock);
        if (got <= 0) break;
    }
}

void ZrSockSecurePump(ZrSockSlotRec *slot)
{
    gZrSock.stats.securePumpPasses++;
    Feed(slot);
    ReadPlain(slot);
    WritePlain(slot);
    Flush(slot);
}

int ZrSockSecureDrain(ZrSockSlotRec *slot)
{
    if (!slot->secure) return 1;
    // Ciphertext that arrived before the end of the stream goes first.
    Feed(slot);
    return ReadPlain(slot);
}

// The guards of the queries: the layer, TLS, the arguments; a text for each.
static int QueryGuards(ZrSockSlotRec *slot, const char *host, char *text)
{
    if (!gZrSock.initialised) {
        if (text) snprintf(text, 256, "%s", "socket layer not initialized");
        return 0;
    }
    if (!gZrSock.tlsEnabled) {
        if (text) snprintf(text, 256, "%s", "SSL not enabled");
        return 0;
    }
    if (!slot || !host || !text) {
        if (text) snprintf(text, 256, "%s", "Invalid parameter(s)");
        return 0;
    }
    return 1;
}

static int SlotQuery(ZrSockSlotRec *slot, const char *host, char *text, int chain)
{
    if (!QueryGuards(slot, host, text)) return 0;
    ZrOsLockEnter(&gZrSock.lock);
    int result;
    if (!ZrSockIsSlot(slot) || !slot->inUse) result = ZR_SOCK_NOT_IN_USE;
    else if (slot->state != ZR_SLOT_CONNECTED) result = ZR_SOCK_BAD_STATE;
    else if (!slot->sslConnection) {
        snprintf(text, 256, "%s", "SSL not enabled");
        result = 0;
    } else if (chain) result = ZrSslVerifyCert(slot->sslConnection, host, text, 256);
    else result = ZrSslCheckHostName(slot->sslConnection, host, text, 256);
    ZrOsLockLeave(&gZrSock.lock);
    return result;
}

int ZrSockCheckHostName(ZrSockSlotRec *slot, const char *host, char *text)
{
    return SlotQuery(slot, host, text, 0);
}

int ZrSockVerifyCert(ZrSockSlotRec *slot, const char *host, char *text)
{
    return SlotQuery(slot, host, text, 1);
}

int ZrSockGetSecureInfo(ZrSockSlotRec *slot, int *handshakeDone, int *encrypted, char *text)
{
    if (!gZrSock.initialised) return ZR_SOCK_NOT_INIT;
    if (!gZrSock.tlsEnabled) return ZR_SOCK_NO_TLS;
    if (!slot || !handshakeDone || !encrypted || !text) return ZR_SOCK_BAD_PARAM;
    ZrOsLockEnter(&gZrSock.lock);
    int result = ZR_SOCK_OK;
    if (!ZrSockIsSlot(slot) || !slot->inUse) result = ZR_SOCK_NOT_IN_USE;
    else if (slot->state != ZR_SLOT_CONNECTED) result = ZR_SOCK_BAD_STATE;
    else if (!slot->sslConnection) result = ZR_SOCK_NO_TLS;
    else {
        *handshakeDone = ZrSslHandshakeDone(slot->sslConnection);
        *encrypted = *handshakeDone ? ZrSslCipherText(slot->sslConnection, text) : 0;
    }
    ZrOsLockLeave(&gZrSock.lock);
    return result;
}
