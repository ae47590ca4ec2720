// The socket layer: up to 64 non-blocking TCP connections in fixed slots,
// served by a receive thread (select, 20 ms) and a send thread (every 1 ms)
// that meet the caller only in per-slot queues.  A caller connects, queues
// bytes with ZrSockTcpSend, collects received bytes and events with
// ZrSockTcpPoll from its own timer, and never blocks on the network.  A
// connected slot can switch to TLS (ZrSockTcpSwitchToSecureMode); sends and
// polls then carry plaintext.
//
// Results: 1 success, otherwise one of the codes below (a few operations
// answer 0 for a failure of their own).
#pragma once

#include <stdint.h>

enum {
    ZR_SOCK_OK = 1,
    ZR_SOCK_ALREADY = 2,          // ZrSockInit: already initialised
    ZR_SOCK_BAD_PARAM = 3,        // a required pointer missing, a zero length or an empty text
    ZR_SOCK_NOT_INIT = 4,         // the layer is not initialised
    ZR_SOCK_WSA_FAILED = 5,       // the socket library did not start (version 2.2)
    ZR_SOCK_SOCKET_FAILED = 6,    // creating a socket failed
    ZR_SOCK_BIND_FAILED = 7,
    ZR_SOCK_SECURE_QUEUES = 8,    // the two secure queues of a slot could not be made
    ZR_SOCK_CONNECT_FAILED = 9,   // connect failed at once
    ZR_SOCK_QUEUE_FULL = 12,      // nothing could be queued for sending
    ZR_SOCK_NO_TLS = 13,          // TLS not enabled, or the slot has no TLS connection
    ZR_SOCK_TLS_SETUP = 14,       // the slot's TLS context could not be made
    ZR_SOCK_NO_SLOT = 15,
    ZR_SOCK_NOT_IN_USE = 16,
    ZR_SOCK_BAD_STATE = 17,
    ZR_SOCK_EMPTY = 18,           // nothing waiting in the receive queue
    ZR_SOCK_THREAD_FAILED = 19,
};

// Slot states.
enum { ZR_SLOT_NONE = 0, ZR_SLOT_CONNECTING = 1, ZR_SLOT_CLOSED = 2, ZR_SLOT_CONNECTED = 3, ZR_SLOT_LISTENING = 4 };
// Kinds of what ZrSockTcpPoll hands out.
enum { ZR_EV_DATA = 0, ZR_EV_CLOSED = 1, ZR_EV_CONNECTED = 2 };

// Queue geometry of every slot: 10 items of 2048 bytes, 9 usable.
enum { ZR_QUEUE_ITEMS = 10, ZR_QUEUE_ITEM_SIZE = 2048, ZR_SLOT_COUNT = 64 };

// A connection handle; callers never touch its fields.
struct ZrSockSlotRec;

// Statistics counters, in this order.
struct ZrSockStatsRec {
    uint32_t slotsInUse;
    uint32_t sendPasses;
    uint32_t receivePasses;
    uint32_t securePumpPasses;
    uint32_t sendQueueChecks;
    uint32_t sendCalls;
    uint32_t receiveCalls;
    uint32_t bytesSent;
    uint32_t bytesReceived;
};

// The event callback of a listening slot, called on its accept thread:
// user value, event, slot, port, peer address text.
//   ZR_ACCEPT_INCOMING: no slot yet, the peer's port (host order) and dotted
//     address; the result becomes the new connection's user value, 0 refuses
//     it.  Called under the layer's global lock (which is re-entrant: the
//     callback may call the layer).
//   ZR_ACCEPT_DONE: the accepted connection's slot (connected, polled like
//     any other), its user value, port 0, no text; the result is ignored.
//     Called outside the lock.
enum { ZR_ACCEPT_INCOMING = 3, ZR_ACCEPT_DONE = 4 };
typedef int (*ZrSockAcceptFn)(int user, int event, ZrSockSlotRec *slot, int port, const char *peer);

// Adapter kinds of ZrSockEnumAdapters.
enum { ZR_ADAPTER_ETHERNET = 0, ZR_ADAPTER_WIRELESS = 1, ZR_ADAPTER_OTHER = 2 };
// The callback of ZrSockEnumAdapters: the caller's value, the adapter's first
// address as dotted text and as a 32-bit value in network byte order, and its
// kind.
typedef void (*ZrSockAdapterFn)(void *user, const char *dotted, uint32_t address, int kind);

// The parameters of a switch to TLS.  serverName (optional) is the name a
// client announces (SNI); a dotted address is never announced.
struct ZrSockSecureParamRec {
    int method;                // 0 TLS 1.2 only, 1 TLS 1.3 only, 2 TLS 1.2 or later, other: negotiated
    int serverRole;            // 0 client, else server (needs certFile and keyFile)
    const char *caFile;        // trusted certificates besides the system's store (Windows paths, all three)
    const char *certFile;      // own certificate chain (server role)
    const char *keyFile;       // own private key, PEM (server role)
    const char *keyPassword;
    int verify;                // nonzero: the handshake itself fails on a peer it cannot verify
    const char *serverName;
};

// tlsEnabled points at a flag: nonzero starts the TLS library too.
int ZrSockInit(const int *tlsEnabled);
// Stops the threads, frees every slot and stops the libraries.
void ZrSockCleanup(void);
int ZrSockIsInitialised(void);

// Starts a non-blocking connection to a dotted IPv4 address; the outcome
// arrives as ZR_EV_CONNECTED or ZR_EV_CLOSED.  *slot is written only on 1.
int ZrSockTcpConnect(const char *dottedIp, uint16_t port, ZrSockSlotRec **slot);
// Queues up to 9 items of 2048 bytes; *queued tells how many bytes were
// taken (12 when none).
int ZrSockTcpSend(ZrSockSlotRec *slot, const void *bytes, int length, int *queued);
// One received item: its kind, and for data its bytes (buffer of at least
// 2048 bytes).  18 when nothing is waiting; the out values are then untouched.
int ZrSockTcpPoll(ZrSockSlotRec *slot, int *kind, void *buffer, int *length);
// Frees the slot; bytes still queued for sending are discarded.
int ZrSockClose(ZrSockSlotRec *slot);

// A dotted text is copied unchanged; a name is looked up and the dotted text
// of its first address written (out holds 16 bytes).  0 when it does not
// resolve.
int ZrSockResolveHost(const char *name, char *out);
int ZrSockGetHostName(char *buffer, int size);
// 7 to 15 characters, four groups of 1 to 3 digits each at most 255.
int ZrSockIsDottedIp(const char *text);
uint32_t ZrSockIpFromText(const char *dotted);
int ZrSockIpToText(uint32_t address, char *out);

// Listens on the port (0: one the system picks; ZrSockGetLocalAddr tells
// which) of every local address, with an accept thread of its own that
// hands each incoming connection to callback (required).  *slot (optional)
// receives the listening slot; ZrSockClose ends the listening and its
// thread.  0 when the local host name or its address cannot be found.
int ZrSockTcpListen(uint16_t port, int user, ZrSockAcceptFn callback, ZrSockSlotRec **slot);
// A UDP socket bound to the address (network byte order, 0 for any) and port;
// the receive thread reads each datagram into the receive queue as one data
// item (the sender's address is not kept), polled with ZrSockTcpPoll.
int ZrSockUdpOpen(uint32_t address, uint16_t port, ZrSockSlotRec **slot);
// Sends one datagram from a UDP slot to the address (network byte order) and
// port at once; *error always receives the platform's last error code.  0
// when the datagram could not be sent.
int ZrSockUdpSendTo(ZrSockSlotRec *slot, uint32_t address, uint16_t port, const void *bytes, int length,
                    int *error);
// Calls callback for every network adapter with an address, in the
// platform's order; 1, 0 when the adapter list is unavailable, 3 without a
// callback.  Works whether or not the layer is initialised.
int ZrSockEnumAdapters(void *user, ZrSockAdapterFn callback);

int ZrSockGetLocalAddr(ZrSockSlotRec *slot, uint32_t *address, uint16_t *port);
int ZrSockSetReceive(ZrSockSlotRec *slot, int receive);
void ZrSockGetStats(ZrSockStatsRec *stats);
// The slot's state (ZR_SLOT_*), -1 for a slot not in use or no layer.
int ZrSockSlotState(ZrSockSlotRec *slot);

// TLS on a connected slot.
int ZrSockTcpSwitchToSecureMode(ZrSockSlotRec *slot, const ZrSockSecureParamRec *params);
// Whether the handshake has finished and, once it has, whether the link
// encrypts (with the cipher's description in text, 256 bytes).
int ZrSockGetSecureInfo(ZrSockSlotRec *slot, int *handshakeDone, int *encrypted, char *text);
// The peer certificate's names (alternative names first, then the common
// name; standard wildcards; an address for a dotted host) against host:
// 1 match; 0 with a reason in text (256 bytes); 16 or 17 without a text.
int ZrSockCheckHostName(ZrSockSlotRec *slot, const char *host, char *text);
// The chain (to the system's trust store or the CA file of the switch) and
// then the name: 1 verified; 0 with a reason; 16 or 17 without a text.
int ZrSockVerifyCert(ZrSockSlotRec *slot, const char *host, char *text);
