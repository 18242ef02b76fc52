#pragma once
// The Quotas display's commands: Add Quota, Properties (edit) and Delete
// Quota on the browse server's quota entries.

namespace window {
class CommandTable;
class WindowContext;
}  // namespace window

namespace quotas {

void registerCommands(window::CommandTable& table);

void addQuota(window::WindowContext& context);
// Each selected entry in turn, top to bottom.
void editQuotas(window::WindowContext& context);
void deleteQuotas(window::WindowContext& context);

}  // namespace quotas
