#include "tests/temp_tree.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace lkit::testing {

TempTree::TempTree() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lkit-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
}

TempTree::~TempTree() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::string TempTree::path(std::string_view relative) const {
  return root_ + "/" + std::string(relative);
}

std::string TempTree::file(std::string_view relative, std::string_view bytes) {
  std::string full = path(relative);
  std::filesystem::create_directories(std::filesystem::path(full).parent_path());
  std::ofstream(full, std::ios::binary) << bytes;
  return full;
}

std::string TempTree::folder(std::string_view relative) {
  std::string full = path(relative);
  std::filesystem::create_directories(full);
  return full;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace lkit::testing
