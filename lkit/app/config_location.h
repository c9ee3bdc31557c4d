#pragma once

#include <QString>

namespace lkit {

// Where "lkit.ini" lives: beside the program when that folder is writable,
// otherwise in the user's configuration folder (created when missing).
// Needs an application object for the program's folder.
QString defaultConfigPath();

}  // namespace lkit
