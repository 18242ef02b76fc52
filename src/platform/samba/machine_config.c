#include "machine_config.h"

#include <stdbool.h>
#include <stdint.h>
#include <stdio.h>

#include <param.h>

/* Not in the 4.17 header, exported by the same library. */
const char* lpcfg_workgroup(struct loadparm_context*);

static void copy(char* out, size_t size, const char* value) {
  snprintf(out, size, "%s", value ? value : "");
}

int vt_machine_config(char* netbios_name, size_t name_size, char* workgroup,
                      size_t workgroup_size, char* realm, size_t realm_size) {
  struct loadparm_context* lp = loadparm_init_global(true);
  if (!lp) return 0;
  copy(netbios_name, name_size, lpcfg_netbios_name(lp));
  copy(workgroup, workgroup_size, lpcfg_workgroup(lp));
  copy(realm, realm_size, lpcfg_realm(lp));
  return 1;
}
