#include "app/drives.h"

#include <QDir>
#include <QStorageInfo>

namespace lkit {

QStringList mountedVolumeRoots() {
  QStringList roots;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    QString root = volume.rootPath();
    if (volume.isValid() && volume.isReady() && !root.isEmpty() && !roots.contains(root)) {
      roots << root;
    }
  }
  return roots;
}

QString volumeRootOf(const QString& folder, const QStringList& roots) {
  const QString cleaned = QDir::cleanPath(folder);
  QString best;
  for (const QString& root : roots) {
    const QString candidate = QDir::cleanPath(root);
    if (candidate.isEmpty()) continue;
    const QString prefix = candidate.endsWith(QLatin1Char('/')) ? candidate : candidate + '/';
    const bool holds = cleaned == candidate || cleaned.startsWith(prefix);
    if (holds && candidate.size() > best.size()) best = root;
  }
  return best.isEmpty() ? QStringLiteral("/") : best;
}

QStringList driveEntries(const QStringList& roots, const QString& folder) {
  QStringList entries;
  for (const QString& root : roots) {
    if (!root.isEmpty() && !entries.contains(root)) entries << root;
  }
  const QString current = volumeRootOf(folder, entries);
  if (!entries.contains(current)) entries.prepend(current);
  return entries;
}

}  // namespace lkit
