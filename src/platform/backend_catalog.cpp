#include "platform/backend.h"

#include "platform/message_text.h"

namespace platform {

void BackendCatalog::add(std::string name, BackendFactory factory) {
  m_factories.insert_or_assign(std::move(name), std::move(factory));
}

std::vector<std::string> BackendCatalog::names() const {
  std::vector<std::string> result;
  for (const auto& [name, factory] : m_factories) result.push_back(name);
  return result;
}

std::shared_ptr<Backend> BackendCatalog::make(std::string_view name,
                                              const BackendOptions& options,
                                              std::string* error) const {
  auto it = m_factories.find(name);
  if (it == m_factories.end()) {
    if (error) {
      std::string known;
      for (const auto& n : names()) known += (known.empty() ? "" : ", ") + n;
      *error = "unknown backend " + quotedText(name) + " (known: " + known + ")";
    }
    return nullptr;
  }
  std::string why;
  auto backend = it->second(options, &why);
  if (!backend && error) *error = why.empty() ? "the " + it->first + " backend did not start" : why;
  return backend;
}

}  // namespace platform
