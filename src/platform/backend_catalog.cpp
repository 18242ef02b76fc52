#include "platform/backend.h"

#include <set>

#include "platform/backend_module.h"
#include "platform/message_text.h"

namespace platform {

void BackendCatalog::add(std::string name, BackendFactory factory) {
  m_modules.erase(name);
  m_factories.insert_or_assign(std::move(name), std::move(factory));
}

void BackendCatalog::addModule(std::string name, std::vector<std::string> folders) {
  m_factories.erase(name);
  m_modules.insert_or_assign(std::move(name), std::move(folders));
}

std::vector<std::string> BackendCatalog::names() const {
  std::set<std::string> sorted;
  for (const auto& [name, factory] : m_factories) sorted.insert(name);
  for (const auto& [name, folders] : m_modules) sorted.insert(name);
  return {sorted.begin(), sorted.end()};
}

std::shared_ptr<Backend> BackendCatalog::make(std::string_view name,
                                              const BackendOptions& options,
                                              std::string* error) const {
  BackendFactory factory;
  if (auto it = m_factories.find(name); it != m_factories.end()) {
    factory = it->second;
  } else if (auto module = m_modules.find(name); module != m_modules.end()) {
    // Loading twice only counts the module again: it stays loaded anyway.
    factory = loadBackendModule(name, module->second, error);
    if (!factory) return nullptr;
  } else {
    if (error) {
      std::string known;
      for (const auto& n : names()) known += (known.empty() ? "" : ", ") + n;
      *error = "unknown backend " + quotedText(name) + " (known: " + known + ")";
    }
    return nullptr;
  }
  std::string why;
  auto backend = factory(options, &why);
  if (!backend && error)
    *error = why.empty() ? "the " + std::string(name) + " backend did not start" : why;
  return backend;
}

}  // namespace platform
