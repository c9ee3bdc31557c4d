#include "host/obj_model_loader.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <unordered_map>
#include <vector>

#include "host/in_memory_model.h"
#include "host/joined_text.h"

namespace {

// A triangle names its corners with 16-bit indices into its mesh's own list.
constexpr size_t kMaxVerticesPerMesh = 65536;

struct Position {
  float x, y, z;
};

struct MeshBuilder {
  size_t meshIndex;
  bool hasFaces = false;
  std::unordered_map<size_t, uint16_t> localVertexOf;  // 0-based file vertex -> mesh vertex
};

std::string_view trimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\f\v");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t\f\v");
  return text.substr(first, last - first + 1);
}

// Splits off the first blank-separated word of `rest`.
std::string_view nextWord(std::string_view& rest) {
  rest = trimBlanks(rest);
  const size_t end = rest.find_first_of(" \t\f\v");
  std::string_view word = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
  return word;
}

bool parseCoordinate(std::string_view word, float& value) {
  if (!word.empty() && word.front() == '+') word.remove_prefix(1);
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  return error == std::errc() && end == word.data() + word.size() && std::isfinite(value);
}

class ObjModelLoader {
 public:
  explicit ObjModelLoader(msModel& model) : model_(model) {}

  ObjLoadResult load(std::string_view text) {
    size_t lineNumber = 0;
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find_first_of("\r\n", start);
      if (end == std::string_view::npos) end = text.size();
      ++lineNumber;
      if (!readLine(text.substr(start, end - start))) {
        model_ = msModel();
        return {false, joinedText({"line ", std::to_string(lineNumber), ": ", error_})};
      }
      // CR LF is one line end; a lone CR or LF is one as well.
      start = end + ((end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ? 2 : 1);
    }
    return {true, {}};
  }

 private:
  bool fail(std::string message) {
    error_ = std::move(message);
    return false;
  }

  bool readLine(std::string_view line) {
    line = line.substr(0, line.find('#'));
    std::string_view rest = line;
    const std::string_view keyword = nextWord(rest);
    if (keyword == "v") return readVertex(rest);
    if (keyword == "g") {
      const std::string_view name = trimBlanks(rest);
      groupName_ = name.empty() ? "default" : std::string(name);
      currentMesh();  // a group without faces is a mesh without triangles
      return true;
    }
    if (keyword == "usemtl") {
      materialName_ = std::string(trimBlanks(rest));
      return true;
    }
    if (keyword == "f") return readFace(rest);
    return true;
  }

  bool readVertex(std::string_view rest) {
    Position position{};
    float* coordinates[3] = {&position.x, &position.y, &position.z};
    for (float* coordinate : coordinates) {
      const std::string_view word = nextWord(rest);
      if (word.empty()) return fail("a vertex needs three coordinates");
      if (!parseCoordinate(word, *coordinate)) {
        return fail(joinedText({"\"", word, "\" is not a finite number"}));
      }
    }
    positions_.push_back(position);
    return true;
  }

  // The 0-based file vertex a corner word (v, v/vt, v/vt/vn or v//vn) names.
  bool resolveCorner(std::string_view word, size_t& vertex) {
    const std::string_view indexText = word.substr(0, word.find('/'));
    long long index = 0;
    const auto [end, error] =
        std::from_chars(indexText.data(), indexText.data() + indexText.size(), index);
    if (error != std::errc() || end != indexText.data() + indexText.size() || indexText.empty()) {
      return fail(joinedText({"\"", word, "\" is not a vertex index"}));
    }
    const long long count = static_cast<long long>(positions_.size());
    // Negative indices count back from the last vertex read so far.
    const long long resolved = index < 0 ? count + index : index - 1;
    if (index == 0 || resolved < 0 || resolved >= count) {
      return fail(joinedText({"vertex index ", indexText, " is out of range (",
                              std::to_string(count), " vertices so far)"}));
    }
    vertex = static_cast<size_t>(resolved);
    return true;
  }

  MeshBuilder& currentMesh() {
    auto found = meshOfGroup_.find(groupName_);
    if (found != meshOfGroup_.end()) return meshBuilders_[found->second];
    msMesh mesh;
    mesh.name = groupName_;
    if (!materialName_.empty()) mesh.materialIndex = materialIndex(materialName_);
    model_.meshes.push_back(std::move(mesh));
    meshOfGroup_.emplace(groupName_, meshBuilders_.size());
    meshBuilders_.push_back({model_.meshes.size() - 1, false, {}});
    return meshBuilders_.back();
  }

  int materialIndex(const std::string& name) {
    auto found = materialOfName_.find(name);
    if (found != materialOfName_.end()) return found->second;
    model_.materials.push_back({name});
    const int index = static_cast<int>(model_.materials.size() - 1);
    materialOfName_.emplace(name, index);
    return index;
  }

  bool meshCorner(MeshBuilder& builder, size_t fileVertex, uint16_t& corner) {
    auto found = builder.localVertexOf.find(fileVertex);
    if (found != builder.localVertexOf.end()) {
      corner = found->second;
      return true;
    }
    msMesh& mesh = model_.meshes[builder.meshIndex];
    if (static_cast<size_t>(mesh.vertexCount()) >= kMaxVerticesPerMesh) {
      return fail(joinedText({"group \"", mesh.name, "\" uses more than 65536 vertices"}));
    }
    const Position& position = positions_[fileVertex];
    corner = static_cast<uint16_t>(mesh.addVertex(position.x, position.y, position.z));
    builder.localVertexOf.emplace(fileVertex, corner);
    return true;
  }

  bool readFace(std::string_view rest) {
    std::vector<size_t> corners;
    for (std::string_view word = nextWord(rest); !word.empty(); word = nextWord(rest)) {
      size_t vertex = 0;
      if (!resolveCorner(word, vertex)) return false;
      corners.push_back(vertex);
    }
    if (corners.size() < 3) return fail("a face needs at least three corners");
    MeshBuilder& builder = currentMesh();
    if (!builder.hasFaces) {
      // The material in effect at the group's first face is the mesh's.
      model_.meshes[builder.meshIndex].materialIndex =
          materialName_.empty() ? -1 : materialIndex(materialName_);
      builder.hasFaces = true;
    }
    std::vector<uint16_t> meshCorners(corners.size());
    for (size_t corner = 0; corner < corners.size(); ++corner) {
      if (!meshCorner(builder, corners[corner], meshCorners[corner])) return false;
    }
    std::vector<msTriangle>& triangles = model_.meshes[builder.meshIndex].triangles;
    if (triangles.size() + corners.size() - 2 >
        static_cast<size_t>(std::numeric_limits<int>::max())) {
      return fail("too many triangles in one group");
    }
    for (size_t corner = 1; corner + 1 < meshCorners.size(); ++corner) {
      triangles.push_back({{meshCorners[0], meshCorners[corner], meshCorners[corner + 1]}});
    }
    return true;
  }

  msModel& model_;
  std::vector<Position> positions_;
  std::vector<MeshBuilder> meshBuilders_;
  std::unordered_map<std::string, size_t> meshOfGroup_;
  std::unordered_map<std::string, int> materialOfName_;
  std::string groupName_ = "default";
  std::string materialName_;
  std::string error_;
};

}  // namespace

ObjLoadResult loadObjModel(std::string_view text, msModel& model) {
  model = msModel();
  return ObjModelLoader(model).load(text);
}

ObjLoadResult loadObjModelFile(const std::string& path, msModel& model) {
  model = msModel();
  std::error_code error;
  if (std::filesystem::is_directory(path, error))
    return {false, joinedText({path, " is a folder"})};
  std::ifstream file(path, std::ios::binary);
  if (!file) return {false, joinedText({"cannot open ", path})};
  std::ostringstream contents;
  contents << file.rdbuf();
  if (file.bad()) return {false, joinedText({"cannot read ", path})};
  return loadObjModel(contents.str(), model);
}
