#include "app/window/profile.h"

namespace corvina::window {

namespace {

const QString kRecentSection = QStringLiteral("Recent File List");
const QString kGeometryKey = QStringLiteral("Window/Geometry");

QString recentKey(int number) {
  return kRecentSection + QStringLiteral("/File%1").arg(number);
}

}  // namespace

Profile::Profile(QSettings& settings) : settings_(settings) {
  for (int number = 1; number <= kRecentFileCount; ++number) {
    const QString path = settings_.value(recentKey(number)).toString();
    if (!path.isEmpty()) recent_ << path;
  }
  previewPages_ = settings_.value(QStringLiteral("Settings/PreviewPages"), 0).toInt();
  windowGeometry_ = settings_.value(kGeometryKey).toByteArray();
}

void Profile::addRecentFile(const QString& path) {
  recent_.removeAll(path);
  recent_.prepend(path);
  while (recent_.size() > kRecentFileCount) recent_.removeLast();
}

void Profile::write() {
  for (int number = 1; number <= kRecentFileCount; ++number) {
    if (number <= recent_.size())
      settings_.setValue(recentKey(number), recent_[number - 1]);
    else
      settings_.remove(recentKey(number));
  }
  if (!windowGeometry_.isEmpty()) settings_.setValue(kGeometryKey, windowGeometry_);
  settings_.sync();
}

}  // namespace corvina::window
