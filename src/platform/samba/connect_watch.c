#include "connect_watch.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>

static bool is_connection_to(int fd, int port) {
  int type = 0;
  socklen_t size = sizeof type;
  if (getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &size) != 0 || type != SOCK_STREAM) return false;
  struct sockaddr_storage peer;
  socklen_t length = sizeof peer;
  if (getpeername(fd, (struct sockaddr*)&peer, &length) != 0) return false;
  if (peer.ss_family == AF_INET) return ntohs(((struct sockaddr_in*)&peer)->sin_port) == port;
  if (peer.ss_family == AF_INET6) return ntohs(((struct sockaddr_in6*)&peer)->sin6_port) == port;
  return false;
}

static void note_open_descriptors(struct vt_connect_watch* watch, TALLOC_CTX* owner) {
  watch->count = 0;
  watch->before = NULL;
  DIR* dir = opendir("/proc/self/fd");
  if (!dir) return;
  int highest = -1;
  for (struct dirent* e = readdir(dir); e; e = readdir(dir)) {
    const int fd = atoi(e->d_name);
    if (e->d_name[0] != '.' && fd > highest) highest = fd;
  }
  watch->before = talloc_zero_array(owner, unsigned char, highest + 1);
  if (watch->before) {
    watch->count = highest + 1;
    rewinddir(dir);
    for (struct dirent* e = readdir(dir); e; e = readdir(dir)) {
      /* Not the listing's own descriptor: it is closed and reused next. */
      const int fd = atoi(e->d_name);
      if (e->d_name[0] != '.' && fd != dirfd(dir)) watch->before[fd] = 1;
    }
  }
  closedir(dir);
}

static void too_long(struct tevent_context* events, struct tevent_timer* timer, struct timeval now,
                     void* data) {
  (void)events;
  (void)timer;
  (void)now;
  struct vt_connect_watch* watch = data;
  watch->fired = true;
  watch->timer = NULL; /* a timer that fired is gone with its firing */
  DIR* dir = opendir("/proc/self/fd");
  if (!dir) return;
  for (struct dirent* e = readdir(dir); e; e = readdir(dir)) {
    if (e->d_name[0] == '.') continue;
    const int fd = atoi(e->d_name);
    if (fd == dirfd(dir)) continue;
    if (fd < watch->count && watch->before[fd]) continue;
    if (is_connection_to(fd, watch->port)) shutdown(fd, SHUT_RDWR);
  }
  closedir(dir);
}

void vt_connect_watch_start(struct vt_connect_watch* watch, TALLOC_CTX* owner,
                            struct tevent_context* events, int port, int seconds) {
  watch->port = port;
  watch->fired = false;
  note_open_descriptors(watch, owner);
  watch->timer =
      tevent_add_timer(events, owner, tevent_timeval_current_ofs(seconds, 0), too_long, watch);
}

bool vt_connect_watch_end(struct vt_connect_watch* watch) {
  if (watch->timer) talloc_free(watch->timer);
  watch->timer = NULL;
  talloc_free(watch->before);
  watch->before = NULL;
  return watch->fired;
}
