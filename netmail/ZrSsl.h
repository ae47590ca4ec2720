// The TLS engine behind secure slots, as thin calls over OpenSSL.  The engine
// never touches a socket: each connection reads ciphertext from a network-
// input memory buffer that the socket layer fills and writes ciphertext to a
// network-output memory buffer that the socket layer empties.  The objects
// are opaque here, so that this header (and the socket layer) needs no
// OpenSSL headers.
//
// Every call for one connection is made under the socket layer's global lock.
#pragma once

#include <stddef.h>

int ZrSslInit(void);
void ZrSslCleanup(void);
int ZrSslReady(void);

// Makes a context, a connection object and its two memory buffers.  A client
// loads the system's trust store and caFile when given, and announces
// serverName (unless it is a dotted address).  Returns the context, or null
// with nothing left allocated.
void *ZrSslConnect(void **connection, void **netIn, void **netOut, int method, const char *caFile,
                   const char *certFile, const char *keyFile, const char *keyPassword, int verify, int client,
                   const char *serverName);
// Frees the connection (with its buffers) and the context; either may be null.
void ZrSslFree(void *context, void *connection);

// Plaintext through the connection: the count, or 0 or less.
int ZrSslRead(void *connection, void *buffer, int size);
int ZrSslWrite(void *connection, const void *bytes, int length);
// Bytes into or out of a memory buffer, and the bytes waiting in one.
int ZrSslFeed(void *buffer, const void *bytes, int length);
int ZrSslTakeOutput(void *buffer, void *out, int size);
int ZrSslPending(void *buffer);
int ZrSslHandshakeDone(void *connection);

// 1 with the cipher's one-line description (text of 256 bytes); 0 when there
// is no cipher or it does not encrypt ("Enc=None").
int ZrSslCipherText(void *connection, char *text);
// The peer certificate's names against host: 1, or 0 with a reason.
int ZrSslCheckHostName(void *connection, const char *host, char *text, size_t size);
// The engine's verdict on the peer's chain, then the name check.
int ZrSslVerifyCert(void *connection, const char *host, char *text, size_t size);
