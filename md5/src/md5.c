/*
 * MD5 (RFC 1321), tuned for the dependency chain of a single stream.
 *
 * Each step is a' = b + rotl(a + f(b, c, d) + M[k] + T[i], s). Only b comes
 * from the step just before, so everything that does not need b is added to
 * a first, leaving as few operations as possible between one step's result
 * and the next one's:
 *   F = ((c ^ d) & b) ^ d            2 operations after b
 *   G = (c & ~d) + (d & b)           the two halves never share a set bit,
 *                                    so the sum equals the usual OR and
 *                                    only d & b waits for b: 1 operation
 *   H = (c ^ d) ^ b                  1 operation after b
 *   I = (b | ~d) ^ c                 2 operations after b
 * With rotate and the two adds that is 4.5 dependent operations per step on
 * average, and there is one step per message byte: about 4.5 cycles per
 * byte, the limit for one scalar stream.
 */
#include "md5/md5.h"

#include <string.h>

#if defined(__BYTE_ORDER__) && defined(__ORDER_LITTLE_ENDIAN__) && \
    __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
#define MD5_LITTLE_ENDIAN 1
#elif defined(_WIN32) || defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || \
    defined(_M_IX86) || defined(_M_ARM64)
#define MD5_LITTLE_ENDIAN 1
#else
#define MD5_LITTLE_ENDIAN 0
#endif

static inline uint32_t load_le32(const unsigned char* p) {
#if MD5_LITTLE_ENDIAN
    uint32_t v;
    memcpy(&v, p, sizeof v);
    return v;
#else
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
#endif
}

static inline void store_le32(unsigned char* p, uint32_t v) {
#if MD5_LITTLE_ENDIAN
    memcpy(p, &v, sizeof v);
#else
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
    p[2] = (unsigned char)(v >> 16);
    p[3] = (unsigned char)(v >> 24);
#endif
}

#define ROTL32(x, s) (((x) << (s)) | ((x) >> (32 - (s))))

#define MSG(k) load_le32(block + 4 * (k))

#define STEP_F(a, b, c, d, k, t, s) \
    a += MSG(k) + (uint32_t)(t);    \
    a += ((c ^ d) & b) ^ d;         \
    a = ROTL32(a, s) + b;

#define STEP_G(a, b, c, d, k, t, s) \
    a += MSG(k) + (uint32_t)(t);    \
    a += c & ~d;                    \
    a += d & b;                     \
    a = ROTL32(a, s) + b;

#define STEP_H(a, b, c, d, k, t, s) \
    a += MSG(k) + (uint32_t)(t);    \
    a += (c ^ d) ^ b;               \
    a = ROTL32(a, s) + b;

#define STEP_I(a, b, c, d, k, t, s) \
    a += MSG(k) + (uint32_t)(t);    \
    a += (b | ~d) ^ c;              \
    a = ROTL32(a, s) + b;

/* Runs the compression function over block_count consecutive 64-byte blocks,
 * keeping the chaining values in locals across the whole run. */
static void compress_blocks(uint32_t state[4], const unsigned char* block, size_t block_count) {
    uint32_t a = state[0];
    uint32_t b = state[1];
    uint32_t c = state[2];
    uint32_t d = state[3];

    for (; block_count != 0; --block_count, block += 64) {
        const uint32_t a0 = a;
        const uint32_t b0 = b;
        const uint32_t c0 = c;
        const uint32_t d0 = d;

        STEP_F(a, b, c, d, 0, 0xd76aa478, 7)
        STEP_F(d, a, b, c, 1, 0xe8c7b756, 12)
        STEP_F(c, d, a, b, 2, 0x242070db, 17)
        STEP_F(b, c, d, a, 3, 0xc1bdceee, 22)
        STEP_F(a, b, c, d, 4, 0xf57c0faf, 7)
        STEP_F(d, a, b, c, 5, 0x4787c62a, 12)
        STEP_F(c, d, a, b, 6, 0xa8304613, 17)
        STEP_F(b, c, d, a, 7, 0xfd469501, 22)
        STEP_F(a, b, c, d, 8, 0x698098d8, 7)
        STEP_F(d, a, b, c, 9, 0x8b44f7af, 12)
        STEP_F(c, d, a, b, 10, 0xffff5bb1, 17)
        STEP_F(b, c, d, a, 11, 0x895cd7be, 22)
        STEP_F(a, b, c, d, 12, 0x6b901122, 7)
        STEP_F(d, a, b, c, 13, 0xfd987193, 12)
        STEP_F(c, d, a, b, 14, 0xa679438e, 17)
        STEP_F(b, c, d, a, 15, 0x49b40821, 22)

        STEP_G(a, b, c, d, 1, 0xf61e2562, 5)
        STEP_G(d, a, b, c, 6, 0xc040b340, 9)
        STEP_G(c, d, a, b, 11, 0x265e5a51, 14)
        STEP_G(b, c, d, a, 0, 0xe9b6c7aa, 20)
        STEP_G(a, b, c, d, 5, 0xd62f105d, 5)
        STEP_G(d, a, b, c, 10, 0x02441453, 9)
        STEP_G(c, d, a, b, 15, 0xd8a1e681, 14)
        STEP_G(b, c, d, a, 4, 0xe7d3fbc8, 20)
        STEP_G(a, b, c, d, 9, 0x21e1cde6, 5)
        STEP_G(d, a, b, c, 14, 0xc33707d6, 9)
        STEP_G(c, d, a, b, 3, 0xf4d50d87, 14)
        STEP_G(b, c, d, a, 8, 0x455a14ed, 20)
        STEP_G(a, b, c, d, 13, 0xa9e3e905, 5)
        STEP_G(d, a, b, c, 2, 0xfcefa3f8, 9)
        STEP_G(c, d, a, b, 7, 0x676f02d9, 14)
        STEP_G(b, c, d, a, 12, 0x8d2a4c8a, 20)

        STEP_H(a, b, c, d, 5, 0xfffa3942, 4)
        STEP_H(d, a, b, c, 8, 0x8771f681, 11)
        STEP_H(c, d, a, b, 11, 0x6d9d6122, 16)
        STEP_H(b, c, d, a, 14, 0xfde5380c, 23)
        STEP_H(a, b, c, d, 1, 0xa4beea44, 4)
        STEP_H(d, a, b, c, 4, 0x4bdecfa9, 11)
        STEP_H(c, d, a, b, 7, 0xf6bb4b60, 16)
        STEP_H(b, c, d, a, 10, 0xbebfbc70, 23)
        STEP_H(a, b, c, d, 13, 0x289b7ec6, 4)
        STEP_H(d, a, b, c, 0, 0xeaa127fa, 11)
        STEP_H(c, d, a, b, 3, 0xd4ef3085, 16)
        STEP_H(b, c, d, a, 6, 0x04881d05, 23)
        STEP_H(a, b, c, d, 9, 0xd9d4d039, 4)
        STEP_H(d, a, b, c, 12, 0xe6db99e5, 11)
        STEP_H(c, d, a, b, 15, 0x1fa27cf8, 16)
        STEP_H(b, c, d, a, 2, 0xc4ac5665, 23)

        STEP_I(a, b, c, d, 0, 0xf4292244, 6)
        STEP_I(d, a, b, c, 7, 0x432aff97, 10)
        STEP_I(c, d, a, b, 14, 0xab9423a7, 15)
        STEP_I(b, c, d, a, 5, 0xfc93a039, 21)
        STEP_I(a, b, c, d, 12, 0x655b59c3, 6)
        STEP_I(d, a, b, c, 3, 0x8f0ccc92, 10)
        STEP_I(c, d, a, b, 10, 0xffeff47d, 15)
        STEP_I(b, c, d, a, 1, 0x85845dd1, 21)
        STEP_I(a, b, c, d, 8, 0x6fa87e4f, 6)
        STEP_I(d, a, b, c, 15, 0xfe2ce6e0, 10)
        STEP_I(c, d, a, b, 6, 0xa3014314, 15)
        STEP_I(b, c, d, a, 13, 0x4e0811a1, 21)
        STEP_I(a, b, c, d, 4, 0xf7537e82, 6)
        STEP_I(d, a, b, c, 11, 0xbd3af235, 10)
        STEP_I(c, d, a, b, 2, 0x2ad7d2bb, 15)
        STEP_I(b, c, d, a, 9, 0xeb86d391, 21)

        a += a0;
        b += b0;
        c += c0;
        d += d0;
    }

    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
}

static inline void md5_init(Md5Context* context) {
    context->state[0] = 0x67452301;
    context->state[1] = 0xefcdab89;
    context->state[2] = 0x98badcfe;
    context->state[3] = 0x10325476;
    context->count[0] = 0;
    context->count[1] = 0;
}

static inline void md5_update(Md5Context* context, const unsigned char* input, uint32_t length) {
    uint32_t index = (context->count[0] >> 3) & 63;
    const uint32_t added_bits = length << 3;

    context->count[0] += added_bits;
    if (context->count[0] < added_bits) {
        ++context->count[1];
    }
    context->count[1] += length >> 29;

    const uint32_t room = 64 - index;
    uint32_t consumed = 0;
    if (length >= room) {
        if (index != 0) {
            memcpy(context->buffer + index, input, room);
            compress_blocks(context->state, context->buffer, 1);
            consumed = room;
        }
        /* Whole blocks are compressed straight from the caller's memory; a
         * block that starts the buffer never needs to be copied there. */
        const uint32_t whole = (length - consumed) & ~(uint32_t)63;
        if (whole != 0) {
            compress_blocks(context->state, input + consumed, whole / 64);
            consumed += whole;
        }
        index = 0;
    }
    if (consumed != length) {
        memcpy(context->buffer + index, input + consumed, length - consumed);
    }
}

/* Plain stores: for a record this small, a memset of unknown alignment
 * becomes a rep stos whose start-up costs more than the stores. */
static inline void wipe(Md5Context* context) {
    for (int i = 0; i < 4; ++i) {
        context->state[i] = 0;
    }
    context->count[0] = 0;
    context->count[1] = 0;
    for (int i = 0; i < 64; i += 4) {
        store_le32(context->buffer + i, 0);
    }
}

static inline void md5_final(unsigned char* digest, Md5Context* context) {
    const uint32_t low_bits = context->count[0];
    const uint32_t high_bits = context->count[1];
    const uint32_t index = (low_bits >> 3) & 63;
    unsigned char* const buffer = context->buffer;

    /* The padding is written as whole 32-bit words: the compression reads
     * words, and a word load that has to gather single-byte stores cannot be
     * forwarded from the store buffer and stalls. */
    uint32_t word = index / 4;
    const uint32_t kept_bytes = index % 4;
    uint32_t partial = kept_bytes == 0 ? 0 : load_le32(buffer + 4 * word);
    partial &= ((uint32_t)1 << (8 * kept_bytes)) - 1;
    partial |= (uint32_t)0x80 << (8 * kept_bytes);
    store_le32(buffer + 4 * word, partial);
    ++word;

    if (index >= 56) {
        for (; word < 16; ++word) {
            store_le32(buffer + 4 * word, 0);
        }
        compress_blocks(context->state, buffer, 1);
        word = 0;
    }
    for (; word < 14; ++word) {
        store_le32(buffer + 4 * word, 0);
    }
    store_le32(buffer + 56, low_bits);
    store_le32(buffer + 60, high_bits);
    compress_blocks(context->state, buffer, 1);

    if (digest != NULL) {
        store_le32(digest, context->state[0]);
        store_le32(digest + 4, context->state[1]);
        store_le32(digest + 8, context->state[2]);
        store_le32(digest + 12, context->state[3]);
    }
    wipe(context);
}

/* 32 characters and the terminator; zero until the first call. */
static char digest_text[33];

static const char reference_digest_text[33] = "547b6904dcb4686945958bd804907695";

static void write_digest_text(const void* input, uint32_t length) {
    static const char hex_digits[16] = {'0', '1', '2', '3', '4', '5', '6', '7',
                                        '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    Md5Context context;
    unsigned char digest[16];

    md5_init(&context);
    if (length != 0) {
        md5_update(&context, (const unsigned char*)input, length);
    }
    md5_final(digest, &context);

    for (int i = 0; i < 16; ++i) {
        digest_text[2 * i] = hex_digits[digest[i] >> 4];
        digest_text[2 * i + 1] = hex_digits[digest[i] & 15];
    }
    digest_text[32] = '\0';
}

MD5_API void MD5Init(Md5Context* context) {
    if (context != NULL) {
        md5_init(context);
    }
}

MD5_API void MD5Update(Md5Context* context, const void* input, uint32_t length) {
    /* A zero length changes nothing, and input may then be null. */
    if (context != NULL && length != 0) {
        md5_update(context, (const unsigned char*)input, length);
    }
}

MD5_API void MD5Final(unsigned char digest[16], Md5Context* context) {
    if (context != NULL) {
        md5_final(digest, context);
    }
}

MD5_API const char* MDString(const void* input, uint32_t length) {
    write_digest_text(input, length);
    return digest_text;
}

#if defined(__GNUC__) || defined(__clang__)
/* One function under two names: both exports have the same address. */
MD5_API const char* GetCFSId(const void* input, uint32_t length) __attribute__((alias("MDString")));
#else
MD5_API const char* GetCFSId(const void* input, uint32_t length) {
    return MDString(input, length);
}
#endif

MD5_API int32_t Get_Tw(const void* input, uint32_t length) {
    write_digest_text(input, length);
    return memcmp(digest_text, reference_digest_text, sizeof reference_digest_text) == 0 ? 0 : -1;
}

MD5_API int32_t GetCFS(int32_t ignored) {
    (void)ignored;
    return 2008;
}

MD5_API int32_t GetFga(void) {
    return 10;
}

MD5_API int32_t Get_cfs(void) {
    return 1979;
}

MD5_API int32_t Get_W(void) {
    return 888;
}
