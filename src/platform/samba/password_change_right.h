/* "User cannot change password" as Active Directory keeps it: entries for
 * the change-password extended right on the account's security descriptor
 * (nTSecurityDescriptor) for SELF and Everyone, denying or allowing it; not
 * an account-control bit. The descriptor's binary form is read and written
 * with Samba's own security descriptor code (libsamba-security); C, as
 * Samba's headers are. */
#ifndef VELTRANE_SAMBA_PASSWORD_CHANGE_RIGHT_H
#define VELTRANE_SAMBA_PASSWORD_CHANGE_RIGHT_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* 1 when the descriptor's DACL denies SELF or Everyone the right, 0 when
 * not, -1 when data is no security descriptor. */
int vt_denies_password_change(const void* data, size_t length);

/* The descriptor with the right denied (deny != 0: deny entries for SELF
 * and Everyone before the others, their explicit allow entries for it
 * removed) or allowed again (the explicit deny entries removed, the allow
 * entries a new account has put back). 0 with *out (release it with
 * free()) and *out_length set; -1 when data is no security descriptor or
 * memory ran out. */
int vt_with_password_change_denied(const void* data, size_t length, int deny, void** out,
                                   size_t* out_length);

#ifdef __cplusplus
}
#endif

#endif
