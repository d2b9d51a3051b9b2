/*
 * Md5: MD5 message digests (RFC 1321) behind a plain C interface.
 *
 * The library file is "Md5.fne" on every platform (an ELF shared object on
 * Linux, a DLL on Windows). It exports exactly the ten functions declared
 * below, under these undecorated names, and nothing else.
 *
 * Streaming: call MD5Init once, MD5Update any number of times (a length of 0
 * is allowed), then MD5Final once. MD5Final wipes the whole context, so it
 * must be initialised again before reuse. Different contexts may be used on
 * different threads at the same time.
 *
 * MDString, GetCFSId and Get_Tw share one static 33-byte text area (32
 * lower-case hexadecimal characters and a terminating zero) without any
 * lock: the text stays valid only until the next call of any of the three,
 * and concurrent calls overwrite each other. Copy the text if you need it
 * later, and serialise the calls.
 *
 * Input pointers may be null only when the length is 0. MD5Init, MD5Update
 * and MD5Final do nothing when given a null context; MD5Final with a null
 * digest pointer finishes and wipes the context without writing a digest.
 */
#ifndef MD5_MD5_H
#define MD5_MD5_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) || defined(__CYGWIN__)
#if defined(MD5_BUILDING_LIBRARY)
#define MD5_API __declspec(dllexport)
#else
#define MD5_API __declspec(dllimport)
#endif
#elif defined(__GNUC__) || defined(__clang__)
#define MD5_API __attribute__((visibility("default")))
#else
#define MD5_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Owned by the caller; touch it only through MD5Init, MD5Update and
 * MD5Final. The layout is part of the binary interface: 88 bytes, no
 * padding, 4-byte alignment.
 */
typedef struct Md5Context {
    uint32_t state[4];        /* chaining values A, B, C, D */
    uint32_t count[2];        /* message length in bits modulo 2^64, low word first */
    unsigned char buffer[64]; /* pending input; (count[0] / 8) % 64 bytes are valid */
} Md5Context;

#if defined(__cplusplus)
static_assert(sizeof(Md5Context) == 88, "Md5Context must be 88 bytes");
static_assert(offsetof(Md5Context, state) == 0, "Md5Context.state must start the record");
static_assert(offsetof(Md5Context, count) == 16, "Md5Context.count must follow state");
static_assert(offsetof(Md5Context, buffer) == 24, "Md5Context.buffer must follow count");
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
_Static_assert(sizeof(Md5Context) == 88, "Md5Context must be 88 bytes");
_Static_assert(offsetof(Md5Context, state) == 0, "Md5Context.state must start the record");
_Static_assert(offsetof(Md5Context, count) == 16, "Md5Context.count must follow state");
_Static_assert(offsetof(Md5Context, buffer) == 24, "Md5Context.buffer must follow count");
#else
typedef char md5_context_must_be_88_bytes[sizeof(Md5Context) == 88 ? 1 : -1];
typedef char md5_context_state_offset_must_be_0[offsetof(Md5Context, state) == 0 ? 1 : -1];
typedef char md5_context_count_offset_must_be_16[offsetof(Md5Context, count) == 16 ? 1 : -1];
typedef char md5_context_buffer_offset_must_be_24[offsetof(Md5Context, buffer) == 24 ? 1 : -1];
#endif

/* Starts a digest: initial chaining values, bit count 0. */
MD5_API void MD5Init(Md5Context* context);

/* Adds length bytes of input to the digest. */
MD5_API void MD5Update(Md5Context* context, const void* input, uint32_t length);

/*
 * Pads the message, writes the 16-byte digest (A, B, C, D, each least
 * significant byte first) and overwrites all 88 bytes of the context with
 * zeros.
 */
MD5_API void MD5Final(unsigned char digest[16], Md5Context* context);

/*
 * Returns the digest of the length bytes at input as 32 lower-case
 * hexadecimal characters plus a terminating zero, in the library's static
 * text area (see above). Every call returns the same address.
 */
MD5_API const char* MDString(const void* input, uint32_t length);

/* The same function as MDString, exported under a second name. */
MD5_API const char* GetCFSId(const void* input, uint32_t length);

/*
 * Computes the digest text of the input into the static text area, exactly
 * as MDString does, and compares it with the library's reference digest.
 * Returns 0 when they are equal and -1 otherwise.
 *
 * The reference digest is the MD5 of the 7 ASCII bytes "Md5.fne" (no
 * terminating zero): 547b6904dcb4686945958bd804907695.
 */
MD5_API int32_t Get_Tw(const void* input, uint32_t length);

/* Fixed numbers. GetCFS ignores its argument. */
MD5_API int32_t GetCFS(int32_t ignored); /* 2008 */
MD5_API int32_t GetFga(void);            /* 10 */
MD5_API int32_t Get_cfs(void);           /* 1979 */
MD5_API int32_t Get_W(void);             /* 888 */

#ifdef __cplusplus
}
#endif

#endif /* MD5_MD5_H */
