// The settings store reading whatever the registry holds under its keys.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "fuzzed_registry.h"
#include "platform/backend.h"
#include "settings/settings_store.h"
#include "ui/scripted_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto backend = std::make_shared<platform::Backend>();
  backend->local = std::make_shared<fuzzing::FuzzedRegistry>(std::span(data, size));
  platform::ScopedBackend scope(backend);
  ui::ScriptedMessages messages;
  settings::SettingsStore store(messages, "veltrane");
  settings::SettingsValues values;
  settings::ServerList servers{{"\\\\PDC"}, 0};
  store.load(values, servers);
  // What was read must still save.
  store.save(values);
  return 0;
}
