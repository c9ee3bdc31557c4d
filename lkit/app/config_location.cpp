#include "app/config_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lkit {

QString defaultConfigPath() {
  const QString name = QStringLiteral("lkit.ini");
  QString programFolder = QCoreApplication::applicationDirPath();
  if (!programFolder.isEmpty() && QFileInfo(programFolder).isWritable()) {
    return QDir(programFolder).filePath(name);
  }
  QString configFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  QDir().mkpath(configFolder);
  return QDir(configFolder).filePath(name);
}

}  // namespace lkit
