#pragma once

#include <QString>

namespace lkit {

// The project name offered when none is saved: the name of the folder the
// project file goes into ("project" for the root).
QString proposedProjectName(const QString& baseFolder);

// Why `name` cannot name a project file, or an empty text when it can. The
// file is `name` + ".prj" in the base folder, so the name must not be empty
// or blank (the file would be hidden) and must not hold a folder separator.
QString projectNameProblem(const QString& name);

}  // namespace lkit
