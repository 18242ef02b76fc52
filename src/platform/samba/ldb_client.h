/* Samba's LDAP client (ldb over ldap://, signed and sealed with Samba's
 * credentials) behind plain C calls: Samba's credentials header cannot be
 * compiled as C++ (it forward-declares enums). Used by directory.cpp. */
#ifndef VELTRANE_SAMBA_LDB_CLIENT_H
#define VELTRANE_SAMBA_LDB_CLIENT_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

struct vt_ldb;

/* Connects to url within connect_seconds; each request later gets
 * timeout_seconds. NULL on failure, with a message in error (size bytes)
 * and *timed_out 1 when the time ran out. */
struct vt_ldb* vt_ldb_connect(const char* modules_dir, const char* url, const char* user,
                              const char* password, const char* domain, int use_kerberos_cache,
                              int timeout_seconds, int connect_seconds, int* timed_out,
                              char* error, size_t size);
void vt_ldb_free(struct vt_ldb* ldb);
/* The default naming context of the directory, or NULL. */
const char* vt_ldb_base_dn(struct vt_ldb* ldb);

/* Receives each object (value == NULL, attribute == NULL, dn set) and then
 * each of its values. */
typedef void (*vt_ldb_value_fn)(void* context, const char* dn, const char* attribute,
                                const char* value, size_t length);
/* Subtree search under base; attributes end with NULL. sd_flags, when not
 * 0, asks for those parts of security descriptors only (SECINFO_ bits, the
 * SD flags control). Objects are received as they come; a directory that
 * caps the answer gets the search again in pages, after a call with dn
 * NULL that says to drop what was received. 0 on success, else the LDAP
 * result code. */
int vt_ldb_search(struct vt_ldb* ldb, const char* base, const char* filter,
                  const char* const* attributes, unsigned sd_flags, vt_ldb_value_fn receive,
                  void* context);
/* Replaces attribute of dn with count values; sd_flags as for the search
 * (the parts of a security descriptor written). 0 or the LDAP result code. */
int vt_ldb_replace(struct vt_ldb* ldb, const char* dn, const char* attribute,
                   const char* const* values, const size_t* lengths, size_t count,
                   unsigned sd_flags);

#ifdef __cplusplus
}
#endif

#endif
