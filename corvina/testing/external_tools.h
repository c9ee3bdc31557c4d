#pragma once
// Other programs tests may call on to check a file independently of our code.

#include <cstdio>
#include <cstdlib>
#include <string>

namespace corvina::testing {

// A Python with Pillow, or empty when there is none.
inline std::string pythonWithPillow() {
  for (const char* python : {"/usr/bin/python3", "python3"}) {
    const std::string probe = std::string(python) + " -c 'import PIL' >/dev/null 2>&1";
    if (std::system(probe.c_str()) == 0) return python;
  }
  return {};
}

// What `command` prints on its standard output.
inline std::string commandOutput(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[65536];
  std::size_t read = 0;
  while ((read = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, read);
  pclose(pipe);
  return output;
}

}  // namespace corvina::testing
