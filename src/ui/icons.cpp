#include "ui/icons.h"

#include <QFile>
#include <QString>

namespace ui {
namespace {

QIcon fromResource(const QString& path) {
  if (!QFile::exists(path)) return {};
  return QIcon(path);
}

QIcon indexed(const char* set, int index) {
  return fromResource(QStringLiteral(":/icons/%1/%2.svg").arg(QLatin1String(set)).arg(index));
}

}  // namespace

QIcon toolbarIcon(int index) { return indexed("toolbar", index); }
QIcon browseFrame(int frame) { return indexed("browse", frame % kBrowseFrames); }
QIcon appIcon() { return fromResource(QStringLiteral(":/icons/veltrane.svg")); }
QPixmap splashPicture() {
  return fromResource(QStringLiteral(":/splash.svg")).pixmap(320, 320);
}

}  // namespace ui
