#pragma once
// What the server information dialog shows of a server and writes back:
// its settings, its sessions and open files (read to the end, page by
// page), the texts of their rows, the OK step's settings and the two
// disconnects. Plain C++ over the platform.

#include <string>
#include <string_view>
#include <vector>

#include "platform/netapi.h"

namespace servers {

using platform::DWORD;

struct ServerInfoFields {
  std::string server;  // UNC form, the target of every call
  std::string description;
  std::string type;
  bool hidden = false;
  DWORD maxUsers = 0;
  bool autoDisconnect = false;
  DWORD disconnectMinutes = 0;
  std::string userPath;
  DWORD announceRate = 0;
  DWORD announceDelta = 0;
  bool timeServer = false;
};

// The type text: the last of Server, Workstation, Primary / Backup domain
// controller, Apple File Protocol, Novell service whose bit is set.
std::string serverTypeText(DWORD type);
// Seconds as minutes and seconds: 65 -> "1:05", 600 -> "10:00".
std::string minutesAndSeconds(DWORD seconds);
// "Read" (1), "Write" (2), "Create" (anything else).
std::string permissionText(DWORD permissions);

// NetServerGetInfo level 102 into the dialog's fields.
DWORD readServerFields(const std::string& server, ServerInfoFields* fields);
// Every session / open file, read until the server says there is no more.
DWORD readSessions(const std::string& server, std::vector<platform::SESSION_INFO_2>* sessions);
DWORD readOpenFiles(const std::string& server, std::vector<platform::FILE_INFO_3>* files);

// One setting the OK step could not write: the caption naming the value and
// the number shown ("Error #%i."): the parameter index when the server
// answered 87, else the status itself.
struct SettingFailure {
  std::string caption;
  DWORD shown = 0;
};
// Writes the six settings in order, each on its own; failures do not stop
// the others.
std::vector<SettingFailure> writeServerFields(const ServerInfoFields& fields);

// Ends the sessions of one user.
DWORD disconnectUser(const std::string& server, std::string_view user);
// Ends every session with one call; a server that refuses it has each of
// `listed` ended by client and user instead (those already gone count as
// done). Returns 0, or the first failure.
DWORD disconnectAll(const std::string& server,
                    const std::vector<platform::SESSION_INFO_2>& listed);

}  // namespace servers
