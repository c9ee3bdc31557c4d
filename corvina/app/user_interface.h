#pragma once
// The only way the commands talk to the person using them: message boxes,
// questions, file, list, name and option dialogs, progress and repaints. The
// window answers with dialogs, corvina-cli with its arguments and standard
// output, tests with a script of answers.

#include "model/user_interface.h"
