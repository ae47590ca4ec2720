// The socket layer's records, shared by its plain and secure halves (and
// read by tests).  Callers of the layer hold only ZrSockSlotRec pointers.
#pragma once

// Before windows.h, which would bring in the older socket header.
#include <winsock2.h>

#include "netmail/ZrOs.h"
#include "netmail/ZrSock.h"

struct ZrSockSlotRec {
    int inUse;
    int state;
    SOCKET socket;             // INVALID_SOCKET once closed: never waited on or closed again
    int user;
    volatile LONG receivePaused;
    int secure;
    void *sslContext;
    void *sslConnection;
    void *netIn;               // ciphertext from the socket, for the engine
    void *netOut;              // ciphertext from the engine, for the socket
    ZrOsQueueRec securePlain;  // the caller's plaintext, for the engine
    ZrOsQueueRec secureInput;  // ciphertext received, for the engine
    ZrOsQueueRec sendQueue;
    ZrOsQueueRec receiveQueue;
    // What the receive thread still owes the caller when the receive queue
    // was full: the connected event, the plaintext left in the engine at the
    // end of the stream, the closed event (in this order).
    int connectedDue;
    int drainDue;
    int closedDue;
    // A bound UDP socket: its datagrams are read like stream data, and a
    // failed receive (an ICMP report of an earlier send) does not close it.
    int datagram;
    // A listening slot's accept thread, and the event callback that it and
    // the connections it accepted carry.
    ZrOsThreadCtlRec acceptThread;
    ZrSockAcceptFn acceptFn;
};

struct ZrSockStateRec {
    int tlsEnabled;
    ZrOsLockRec lock;
    ZrSockSlotRec slots[ZR_SLOT_COUNT];
    ZrSockStatsRec stats;
    ZrOsThreadCtlRec receiveThread;
    ZrOsThreadCtlRec sendThread;
    int initialised;
};

extern ZrSockStateRec gZrSock;
// How long a stop waits for each worker thread (5 s; tests shorten it).
extern DWORD gZrSockStopWaitMs;

// Under the global lock: the secure pump of one connected slot (send
// thread), the end of its secure state (slot freed), and the move of the
// engine's last plaintext into the receive queue at the end of the stream
// (receive thread): 1 when all of it is there, 0 when the queue is full.
void ZrSockSecurePump(ZrSockSlotRec *slot);
void ZrSockSecureStop(ZrSockSlotRec *slot);
int ZrSockSecureDrain(ZrSockSlotRec *slot);
// 1 when the slot pointer is one of the layer's slots.
int ZrSockIsSlot(const ZrSockSlotRec *slot);
// Under the global lock: the first free slot with its two queues (NULL when
// none is free or memory is short), and freeing a slot in use (a listening
// slot's accept thread is stopped first).
ZrSockSlotRec *ZrSockSlotAlloc(void);
void ZrSockSlotFree(ZrSockSlotRec *slot);
