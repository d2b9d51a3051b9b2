/*
 * A C caller of the library: it includes the public header as C, loads
 * "Md5.fne" by its file name at run time and calls every export through a
 * pointer resolved by name.
 * Usage: md5_dlopen_test <directory holding Md5.fne>
 */
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

#include "md5/md5.h"

static int failures = 0;

#define CHECK(condition)                                                                  \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            ++failures;                                                                   \
        }                                                                                 \
    } while (0)

/* ISO C has no conversion from void* to a function pointer; copy the bits. */
static void* resolve(void* library, const char* name, void* function_pointer, size_t size) {
    void* symbol = dlsym(library, name);
    if (symbol == NULL) {
        fprintf(stderr, "export %s not found: %s\n", name, dlerror());
        ++failures;
    } else {
        memcpy(function_pointer, &symbol, size);
    }
    return symbol;
}

#define RESOLVE(library, variable, name) resolve(library, name, &variable, sizeof variable)

static void to_hex(const unsigned char digest[16], char text[33]) {
    static const char digits[] = "0123456789abcdef";
    int i;
    for (i = 0; i < 16; ++i) {
        text[2 * i] = digits[digest[i] >> 4];
        text[2 * i + 1] = digits[digest[i] & 15];
    }
    text[32] = '\0';
}

int main(int argc, char** argv) {
    char path[4096];
    void* library;
    __typeof__(MD5Init)* md5_init = NULL;
    __typeof__(MD5Update)* md5_update = NULL;
    __typeof__(MD5Final)* md5_final = NULL;
    __typeof__(MDString)* md_string = NULL;
    __typeof__(GetCFSId)* get_cfs_id = NULL;
    __typeof__(Get_Tw)* get_tw = NULL;
    __typeof__(GetCFS)* get_cfs_number = NULL;
    __typeof__(GetFga)* get_fga = NULL;
    __typeof__(Get_cfs)* get_cfs = NULL;
    __typeof__(Get_W)* get_w = NULL;

    if (argc != 2) {
        fprintf(stderr, "usage: %s <directory holding Md5.fne>\n", argv[0]);
        return 2;
    }
    snprintf(path, sizeof path, "%s/Md5.fne", argv[1]);
    library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (library == NULL) {
        fprintf(stderr, "cannot load %s: %s\n", path, dlerror());
        return 1;
    }

    RESOLVE(library, md5_init, "MD5Init");
    RESOLVE(library, md5_update, "MD5Update");
    RESOLVE(library, md5_final, "MD5Final");
    RESOLVE(library, md_string, "MDString");
    RESOLVE(library, get_cfs_id, "GetCFSId");
    RESOLVE(library, get_tw, "Get_Tw");
    RESOLVE(library, get_cfs_number, "GetCFS");
    RESOLVE(library, get_fga, "GetFga");
    RESOLVE(library, get_cfs, "Get_cfs");
    RESOLVE(library, get_w, "Get_W");
    if (failures != 0) {
        return 1;
    }

    /* Internal names stay hidden. */
    CHECK(dlsym(library, "compress_blocks") == NULL);
    CHECK(dlsym(library, "digest_text") == NULL);

    {
        Md5Context context;
        unsigned char digest[16];
        char text[33];
        static const Md5Context zero_context;

        md5_init(&context);
        md5_update(&context, "a", 1);
        md5_update(&context, "bc", 2);
        md5_final(digest, &context);
        to_hex(digest, text);
        CHECK(strcmp(text, "900150983cd24fb0d6963f7d28e17f72") == 0);
        CHECK(memcmp(&context, &zero_context, sizeof context) == 0);
    }
    {
        const char* text = md_string("message digest", 14);
        CHECK(strcmp(text, "f96b697d7cb7938d525a2f31aaf161d0") == 0);
        CHECK(get_cfs_id == md_string);
        CHECK(get_cfs_id("abc", 3) == text);
        CHECK(strcmp(text, "900150983cd24fb0d6963f7d28e17f72") == 0);

        CHECK(get_tw("Md5.fne", 7) == 0);
        CHECK(strcmp(text, "547b6904dcb4686945958bd804907695") == 0);
        CHECK(get_tw("abc", 3) == -1);
        CHECK(strcmp(text, "900150983cd24fb0d6963f7d28e17f72") == 0);
    }
    CHECK(get_cfs_number(-7) == 2008);
    CHECK(get_fga() == 10);
    CHECK(get_cfs() == 1979);
    CHECK(get_w() == 888);

    CHECK(dlclose(library) == 0);
    if (failures == 0) {
        printf("Md5.fne: all ten exports load and answer from C\n");
    }
    return failures == 0 ? 0 : 1;
}
