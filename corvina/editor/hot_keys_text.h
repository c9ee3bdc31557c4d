#pragma once
// The text of the "Hot keys" information box: every key of the view and what
// it does.

#include <string>

namespace corvina {

std::string hotKeysText();

}  // namespace corvina
