/* A time limit for Samba's blocking connects, which have no limit of their
 * own short of the library's minute per message and give no handle to cut
 * them short: a timer on the connect's own event loop shuts down the
 * connections to the port that the connect opened (those not open before
 * it), so the wait ends in a failed connect. */
#ifndef VELTRANE_SAMBA_CONNECT_WATCH_H
#define VELTRANE_SAMBA_CONNECT_WATCH_H

#include <stdbool.h>
#include <talloc.h>
#include <tevent.h>

struct vt_connect_watch {
  unsigned char* before; /* one byte per descriptor number open before */
  int count;
  int port;
  bool fired;
  struct tevent_timer* timer;
};

/* Notes the descriptors open now (kept under owner) and sets the timer on
 * events to fire after seconds. */
void vt_connect_watch_start(struct vt_connect_watch* watch, TALLOC_CTX* owner,
                            struct tevent_context* events, int port, int seconds);
/* Takes the timer away if it has not fired; true when it had. */
bool vt_connect_watch_end(struct vt_connect_watch* watch);

#endif
