#pragma once
// The profile corvina keeps between runs: the framework's recent-file list of
// four entries (read at start-up, written at exit, never shown in a menu),
// the "PreviewPages" setting and the main window's last size and place.
// Nothing else of the program is remembered.

#include <QSettings>
#include <QStringList>

namespace corvina::window {

constexpr int kRecentFileCount = 4;

class Profile {
 public:
  // Reads the entries from `settings`, which must outlive the profile.
  explicit Profile(QSettings& settings);

  // Puts `path` first, removing an older entry of the same file and the
  // oldest entry beyond four.
  void addRecentFile(const QString& path);

  // The main window's geometry as Qt saves it; empty before the first exit.
  const QByteArray& windowGeometry() const { return windowGeometry_; }
  void setWindowGeometry(const QByteArray& geometry) { windowGeometry_ = geometry; }

  // Writes the recent-file list and the window's geometry back.
  void write();

  const QStringList& recentFiles() const { return recent_; }
  int previewPages() const { return previewPages_; }

 private:
  QSettings& settings_;
  QStringList recent_;
  int previewPages_ = 0;
  QByteArray windowGeometry_;
};

}  // namespace corvina::window
