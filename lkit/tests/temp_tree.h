#pragma once

#include <string>
#include <string_view>

namespace lkit::testing {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // The folder's path, no trailing separator.
  const std::string& root() const { return root_; }
  // root() + "/" + relative.
  std::string path(std::string_view relative) const;
  // Creates the file (and its folders) with `bytes`; returns its path.
  std::string file(std::string_view relative, std::string_view bytes = "x");
  // Creates the folder (and its parents); returns its path.
  std::string folder(std::string_view relative);

 private:
  std::string root_;
};

// The whole file, or an empty text when it cannot be read.
std::string readFile(const std::string& path);

}  // namespace lkit::testing
