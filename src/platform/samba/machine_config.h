#ifndef VELTRANE_SAMBA_MACHINE_CONFIG_H
#define VELTRANE_SAMBA_MACHINE_CONFIG_H
/* This machine's names as Samba's configuration (smb.conf, with Samba's
 * defaults for what it leaves out) gives them. C, because Samba's
 * configuration header is C only. */

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* 1 when the configuration could be read; the texts are cut to size. */
int vt_machine_config(char* netbios_name, size_t name_size, char* workgroup,
                      size_t workgroup_size, char* realm, size_t realm_size);

#ifdef __cplusplus
}
#endif

#endif
