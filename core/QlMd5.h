// MD5 message digest (RFC 1321).
#pragma once

#include <stdint.h>

struct QlMd5Ctx {
    uint32_t state[4];
    uint32_t count[2];       // bit count, low word first
    unsigned char buffer[64];
};

void QlMd5Init(QlMd5Ctx *ctx);
void QlMd5Update(QlMd5Ctx *ctx, const unsigned char *data, unsigned length);
void QlMd5Final(unsigned char digest[16], QlMd5Ctx *ctx);
void QlMd5Transform(QlMd5Ctx *ctx, const unsigned char block[64]);
void QlMd5Encode(unsigned char *bytes, const uint32_t *words, unsigned length);
void QlMd5Decode(uint32_t *words, const unsigned char *bytes, unsigned length);
void QlMd5Copy(unsigned char *dst, const unsigned char *src, unsigned length);
void QlMd5Fill(unsigned char *dst, int value, unsigned length);

// The same on one program-wide context (not re-entrant).
void QlMd5GlobalInit(void);
void QlMd5GlobalUpdate(const unsigned char *data, unsigned length);
void QlMd5GlobalFinal(unsigned char digest[16]);
