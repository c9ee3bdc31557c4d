#include "app/project_name.h"

#include <QDir>
#include <QFileInfo>

namespace lkit {

QString proposedProjectName(const QString& baseFolder) {
  const QString name = QFileInfo(QDir::cleanPath(baseFolder)).fileName();
  return name.isEmpty() ? QStringLiteral("project") : name;
}

QString projectNameProblem(const QString& name) {
  if (name.trimmed().isEmpty()) {
    return QStringLiteral("Please type a project name: the project file is named after it.");
  }
  if (name.contains(QLatin1Char('/')) || name.contains(QChar(0))) {
    return QStringLiteral(
               "The project name \"%1\" holds a \"/\": the project file is named after "
               "it and goes into the base folder, so please type a name without one.")
        .arg(name);
  }
  return {};
}

}  // namespace lkit
