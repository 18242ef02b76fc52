#pragma once
// What serves the platform calls. The program calls only the free functions
// of platform/*.h; they go to the installed backend, so the program never
// knows which backend serves it.
//
// A backend is a set of parts, one per concern. Every operation of a part
// answers ERROR_NOT_SUPPORTED (or the failure its family uses) unless the
// backend serves it, so a backend implements only what it can do. Parts must
// be safe to call from several threads at once (the browse workers read
// while dialogs on the GUI thread write).

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/network_logon.h"
#include "platform/parts/accounts_part.h"
#include "platform/parts/changes_part.h"
#include "platform/parts/dialin_part.h"
#include "platform/parts/event_log_part.h"
#include "platform/parts/local_system_part.h"
#include "platform/parts/network_part.h"
#include "platform/parts/registry_part.h"
#include "platform/parts/security_part.h"
#include "platform/parts/servers_part.h"

namespace platform {

struct Backend {
  // The machine the program runs on, with its own registry (predefined
  // roots and RegConnectRegistry without a machine name go here).
  std::shared_ptr<LocalSystemPart> local;
  std::shared_ptr<AccountsPart> accounts;
  std::shared_ptr<ServersPart> servers;
  // Other machines' registries, reached through RegConnectRegistry.
  std::shared_ptr<RegistryPart> registry;
  std::shared_ptr<SecurityPart> security;
  std::shared_ptr<NetworkPart> network;
  std::shared_ptr<DialinPart> dialin;
  std::shared_ptr<EventLogPart> eventLog;
  // How changes are made durable; empty: each call's change already is.
  std::shared_ptr<ChangesPart> changes;
  // Whom a network backend acts as, and how it asks; empty: it needs no
  // account (the lab).
  std::shared_ptr<NetworkLogon> logon;

  // A backend whose every part that `impl` implements is `impl`; the
  // others stay empty (and answer as unsupported).
  template <class Impl>
  static std::shared_ptr<Backend> servedBy(const std::shared_ptr<Impl>& impl) {
    auto b = std::make_shared<Backend>();
    if constexpr (std::is_base_of_v<LocalSystemPart, Impl>) b->local = impl;
    if constexpr (std::is_base_of_v<AccountsPart, Impl>) b->accounts = impl;
    if constexpr (std::is_base_of_v<ServersPart, Impl>) b->servers = impl;
    if constexpr (std::is_base_of_v<RegistryPart, Impl>) b->registry = impl;
    if constexpr (std::is_base_of_v<SecurityPart, Impl>) b->security = impl;
    if constexpr (std::is_base_of_v<NetworkPart, Impl>) b->network = impl;
    if constexpr (std::is_base_of_v<DialinPart, Impl>) b->dialin = impl;
    if constexpr (std::is_base_of_v<EventLogPart, Impl>) b->eventLog = impl;
    if constexpr (std::is_base_of_v<ChangesPart, Impl>) b->changes = impl;
    return b;
  }
};

// Installs the backend every platform call goes to, and returns the previous
// one. The program installs one at start; tests install a fresh one per test.
// Registry keys opened through the previous backend stay valid for it.
std::shared_ptr<Backend> installBackend(std::shared_ptr<Backend> backend);
// The installed backend (never null: without one, every call is unsupported).
std::shared_ptr<Backend> currentBackend();

// Installs a backend for the life of a scope and restores the previous one.
class ScopedBackend {
 public:
  explicit ScopedBackend(std::shared_ptr<Backend> backend)
      : m_previous(installBackend(std::move(backend))) {}
  ~ScopedBackend() { installBackend(std::move(m_previous)); }
  ScopedBackend(const ScopedBackend&) = delete;
  ScopedBackend& operator=(const ScopedBackend&) = delete;

 private:
  std::shared_ptr<Backend> m_previous;
};

// What a backend is started with: named settings whose meaning is the
// backend's own (the lab's "file", a domain controller's address, ...).
using BackendOptions = std::map<std::string, std::string>;
// Makes a backend, or returns null and says why in *error (one line).
using BackendFactory =
    std::function<std::shared_ptr<Backend>(const BackendOptions&, std::string* error)>;

// The backends a program can be started with, picked by name: built in, or
// in a backend module (platform/backend_module.h) loaded when it is made.
class BackendCatalog {
 public:
  void add(std::string name, BackendFactory factory);
  // A backend served by the module veltrane-NAME.so in the first of
  // `folders` that holds it. Nothing is loaded until it is made.
  void addModule(std::string name, std::vector<std::string> folders);
  std::vector<std::string> names() const;
  // Null with *error set for an unknown name, a module that is not
  // installed or does not fit, or a backend that cannot start.
  std::shared_ptr<Backend> make(std::string_view name, const BackendOptions& options,
                                std::string* error) const;

 private:
  std::map<std::string, BackendFactory, std::less<>> m_factories;
  std::map<std::string, std::vector<std::string>, std::less<>> m_modules;
};

}  // namespace platform
