#pragma once

#include <QString>
#include <QStringList>

namespace lkit {

// The root paths of the mounted volumes the system reports, each once, in
// the order reported; volumes that are not ready are left out.
QStringList mountedVolumeRoots();

// The volume root that holds `folder`: the longest of `roots` that is the
// folder itself or one of its parents. A folder on no reported volume (in a
// chroot or some containers the system reports none for it) belongs to "/".
QString volumeRootOf(const QString& folder, const QStringList& roots);

// The drive picker's entries: `roots` with the root of `folder` added first
// when missing, so the picker always holds the current drive and no empty entry.
QStringList driveEntries(const QStringList& roots, const QString& folder);

}  // namespace lkit
