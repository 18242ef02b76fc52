#include "display/icon_set.h"

#include <QFile>
#include <QString>

namespace display {
namespace {

constexpr std::array<std::string_view, kListImageCount> kListNames = {
    "list-global-group", "list-account",       "list-server",     "list-local-group",
    "list-locked-out",   "list-quota-ok",      "list-quota-warning", "list-quota-stop",
    "list-quota-illegal", "list-disabled"};

constexpr std::array<std::string_view, kTreeImageCount> kTreeNames = {
    "tree-root",       "tree-provider",   "tree-domain",
    "tree-server",     "tree-disk-share", "tree-print-share",
    "tree-directory-not-named", "tree-directory-named-below", "tree-file"};

QIcon loadIcon(std::string_view name) {
  const QString path = QStringLiteral(":/icons/") +
                       QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())) +
                       QStringLiteral(".svg");
  return QFile::exists(path) ? QIcon(path) : QIcon();
}

}  // namespace

std::string_view IconSet::name(ListImage image) { return kListNames[static_cast<int>(image)]; }
std::string_view IconSet::name(TreeImage image) { return kTreeNames[static_cast<int>(image)]; }

IconSet IconSet::fromResources() {
  IconSet set;
  for (int i = 0; i < kListImageCount; ++i) set.m_list[i] = loadIcon(kListNames[i]);
  for (int i = 0; i < kTreeImageCount; ++i) set.m_tree[i] = loadIcon(kTreeNames[i]);
  return set;
}

}  // namespace display
