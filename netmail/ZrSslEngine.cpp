// The TLS engine over OpenSSL.  This file includes no Windows header: under
// winelib the library is Debian's native one, whose headers must not take
// their Windows code paths (winsock types, wincrypt name clashes), so it is a
// native-library file of the platform header.  The engine reads and writes
// only memory buffers, so no socket handle ever reaches it; its two callbacks
// are plain functions, which is the library's calling convention too.
#define QL_NATIVE_LIBRARY_FILE
#include "core/QlPlatform.h"

#include "netmail/ZrSsl.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int gReady;
static char gKeyPassword[128];

int ZrSslInit(void)
{
    // OpenSSL 3 initialises itself; these load the error texts and the
    // algorithms once for the whole process.  Where the library's own files
    // are not the system's (Windows), the first call also settles for good
    // that no configuration file is read (OPENSSL_CONF included).
    const uint64_t config = QlPlatformTlsReadsLibraryFiles() ? 0 : OPENSSL_INIT_NO_LOAD_CONFIG;
    OPENSSL_init_ssl(OPENSSL_INIT_LOAD_SSL_STRINGS | OPENSSL_INIT_LOAD_CRYPTO_STRINGS | config, NULL);
    OPENSSL_init_crypto(OPENSSL_INIT_ADD_ALL_CIPHERS | OPENSSL_INIT_ADD_ALL_DIGESTS | config, NULL);
    gReady = 1;
    return 1;
}

void ZrSslCleanup(void)
{
    // OPENSSL_cleanup() would end the library for the rest of the process
    // (it cannot be initialised again), while the socket layer starts and
    // stops with every mail; the library frees itself at exit.
    if (gReady) ERR_clear_error();
    gReady = 0;
}

int ZrSslReady(void)
{
    return gReady;
}

static int PasswordCallback(char *buffer, int size, int rwflag, void *user)
{
    (void)rwflag;
    (void)user;
    int length = (int)strlen(gKeyPassword);
    if (length >= size) length = size - 1;
    if (length < 0) return 0;
    memcpy(buffer, gKeyPassword, (size_t)length);
    buffer[length] = '\0';
    return length;
}

static int VerifyCallback(int preverified, X509_STORE_CTX *store)
{
    (void)store;
    return preverified;
}

static int IsDottedAddress(const char *text)
{
    int dots = 0, digits = 0;
    for (const char *p = text; *p; p++) {
        if (*p == '.') {
            if (digits == 0) return 0;
            dots++;
            digits = 0;
        } else if (*p >= '0' && *p <= '9') {
            digits++;
        } else {
            return 0;
        }
    }
    return dots == 3 && digits > 0;
}

static SSL_CTX *MakeContext(int method, int client)
{
    SSL_CTX *context = SSL_CTX_new(client ? TLS_client_method() : TLS_server_method());
    if (!context) return NULL;
    int ok = 1;
    switch (method) {
    case 0:
        ok = SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION) &&
             SSL_CTX_set_max_proto_version(context, TLS1_2_VERSION);
        break;
    case 1:
        ok = SSL_CTX_set_min_proto_version(context, TLS1_3_VERSION);
        break;
    case 2:
        ok = SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION);
        break;
    default:
        break;
    }
    if (!ok) {
        SSL_CTX_free(context);
        return NULL;
    }
    return context;
}

// One certificate of the system's store (DER) as a trust anchor.
static void AddRootCertificate(void *store, const unsigned char *der, size_t size)
{
    const unsigned char *bytes = der;
    X509 *cert = d2i_X509(NULL, &bytes, (long)size);
    if (!cert) return;
    X509_STORE_add_cert((X509_STORE *)store, cert);
    X509_free(cert);
}

void *ZrSslConnect(void **connection, void **netIn, void **netOut, int method, const char *caFile,
                   const char *certFile, const char *keyFile, const char *keyPassword, int verify, int client,
                   const char *serverName)
{
    if (!gReady || !connection || !netIn || !netOut) return NULL;
    if (keyPassword && strlen(keyPassword) < sizeof(gKeyPassword)) strcpy(gKeyPassword, keyPassword);
    SSL_CTX *context = MakeContext(method, client);
    if (!context) return NULL;
    SSL *ssl = NULL;
    BIO *in = NULL, *out = NULL;
    int ok = 1;
    if (!client) {
        ok = certFile && keyFile && SSL_CTX_use_certificate_chain_file(context, certFile) > 0;
        if (ok) {
            SSL_CTX_set_default_passwd_cb(context, PasswordCallback);
            ok = SSL_CTX_use_PrivateKey_file(context, keyFile, SSL_FILETYPE_PEM) > 0;
        }
    } else {
        // A client always has trust anchors: the system's store, and the
        // caller's CA file besides.  The chain is checked after the handshake
        // (ZrSslVerifyCert), unless verify asks the handshake to fail on it.
        // On Windows the library's default paths name a folder that is not
        // this machine's: the user's SSL_CERT_FILE only, then the ROOT store.
        if (QlPlatformTlsReadsLibraryFiles()) {
            ok = SSL_CTX_set_default_verify_paths(context) == 1;
        } else {
            const char *userFile = getenv(X509_get_default_cert_file_env());
            // A file that cannot be read adds nothing, as with the default paths.
            if (userFile && userFile[0] && SSL_CTX_load_verify_locations(context, userFile, NULL) != 1)
                ERR_clear_error();
        }
        if (ok) QlPlatformEachRootCertificate(AddRootCertificate, SSL_CTX_get_cert_store(context));
    }
    if (ok && caFile && caFile[0]) ok = SSL_CTX_load_verify_locations(context, caFile, NULL) == 1;
    if (ok && verify) SSL_CTX_set_verify(context, SSL_VERIFY_PEER | SSL_VERIFY_FAIL_IF_NO_PEER_CERT, VerifyCallback);
    if (ok) ok = (ssl = SSL_new(context)) != NULL;
    if (ok) ok = (in = BIO_new(BIO_s_mem())) != NULL;
    if (ok) ok = (out = BIO_new(BIO_s_mem())) != NULL;
    if (!ok) {
        BIO_free(in);
        BIO_free(out);
        SSL_free(ssl);
        SSL_CTX_free(context);
        return NULL;
    }
    SSL_set_bio(ssl, in, out);
    SSL_set_mode(ssl, SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    if (client) {
        if (serverName && serverName[0] && !IsDottedAddress(serverName))
            SSL_set_tlsext_host_name(ssl, serverName);
        SSL_set_connect_state(ssl);
    } else {
        SSL_set_accept_state(ssl);
    }
    *connection = ssl;
    *netIn = in;
    *netOut = out;
    return context;
}

void ZrSslFree(void *context, void *connection)
{
    if (connection) SSL_free((SSL *)connection);
    if (context) SSL_CTX_free((SSL_CTX *)context);
}

int ZrSslRead(void *connection, void *buffer, int size)
{
    int got = SSL_read((SSL *)connection, buffer, size);
    if (got <= 0) ERR_clear_error();
    return got;
}

int ZrSslWrite(void *connection, const void *bytes, int length)
{
    int written = SSL_write((SSL *)connection, bytes, length);
    if (written <= 0) ERR_clear_error();
    return written;
}

int ZrSslFeed(void *buffer, const void *bytes, int length)
{
    return BIO_write((BIO *)buffer, bytes, length);
}

int ZrSslTakeOutput(void *buffer, void *out, int size)
{
    return BIO_read((BIO *)buffer, out, size);
}

int ZrSslPending(void *buffer)
{
    return (int)BIO_ctrl_pending((BIO *)buffer);
}

int ZrSslHandshakeDone(void *connection)
{
    return SSL_is_init_finished((SSL *)connection) ? 1 : 0;
}

int ZrSslCipherText(void *connection, char *text)
{
    char description[256];
    memset(description, 0, sizeof(description));
    const SSL_CIPHER *cipher = SSL_get_current_cipher((SSL *)connection);
    if (!cipher) return 0;
    if (!SSL_CIPHER_description(cipher, description, sizeof(description))) return 0;
    if (strstr(description, "Enc=None")) return 0;
    memcpy(text, description, sizeof(description));
    return 1;
}

int ZrSslCheckHostName(void *connection, const char *host, char *text, size_t size)
{
    X509 *certificate = SSL_get1_peer_certificate((SSL *)connection);
    int match = 0;
    if (certificate && host && host[0]) {
        if (IsDottedAddress(host))
            match = X509_check_ip_asc(certificate, host, 0) == 1;
        else
            match = X509_check_host(certificate, host, 0, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS, NULL) == 1;
    }
    X509_free(certificate);
    if (!match) snprintf(text, size, "%s", certificate ? "Common name doesn't match host name" : "No peer certificate");
    return match;
}

int ZrSslVerifyCert(void *connection, const char *host, char *text, size_t size)
{
    SSL *ssl = (SSL *)connection;
    X509 *certificate = SSL_get1_peer_certificate(ssl);
    if (!certificate) {
        snprintf(text, size, "%s", "No peer certificate");
        return 0;
    }
    X509_free(certificate);
    long result = SSL_get_verify_result(ssl);
    if (result != X509_V_OK) {
        snprintf(text, size, "Certificate doesn't verify: x509 rc=%u (%s)", (unsigned)result,
                 X509_verify_cert_error_string(result));
        return 0;
    }
    return ZrSslCheckHostName(connection, host, text, size);
}
