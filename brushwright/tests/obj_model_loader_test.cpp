#include "host/obj_model_loader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "host_api/model_library.h"
#include "tests/test_support.h"

namespace brushwright_test {
namespace {

// A mesh as the plug-in sees it: name, material name and each triangle's corners as "x y z".
struct MeshView {
  std::string name, material;
  std::vector<std::string> triangles;
  bool operator==(const MeshView&) const = default;
};

std::string corner(msMesh* mesh, uint16_t index) {
  float xyz[3];
  std::memcpy(xyz, reinterpret_cast<const uint8_t*>(msMesh_GetVertexAt(mesh, index)) + 1, 12);
  auto text = [](float value) { return std::to_string(static_cast<int>(value)); };
  return text(xyz[0]) + " " + text(xyz[1]) + " " + text(xyz[2]);
}

std::vector<MeshView> viewOf(msModel& model) {
  std::vector<MeshView> meshes;
  for (int index = 0; index < msModel_GetMeshCount(&model); ++index) {
    msMesh* mesh = msModel_GetMeshAt(&model, index);
    MeshView view;
    char name[64];
    msMesh_GetName(mesh, name, sizeof name);
    view.name = name;
    msMaterial_GetName(msModel_GetMaterialAt(&model, msMesh_GetMaterialIndex(mesh)), name, 32);
    view.material = name;
    for (int triangle = 0; triangle < msMesh_GetTriangleCount(mesh); ++triangle) {
      uint16_t corners[3];
      msTriangle_GetVertexIndices(msMesh_GetTriangleAt(mesh, triangle), corners);
      view.triangles.push_back(corner(mesh, corners[0]) + ", " + corner(mesh, corners[1]) + ", " +
                               corner(mesh, corners[2]));
    }
    meshes.push_back(view);
  }
  return meshes;
}

const std::string kFourVertices = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";

TEST(ObjModelLoader, BuildsOneMeshPerGroupWithFannedTriangles) {
  struct Case {
    std::string label, text;
    std::vector<MeshView> meshes;
  };
  const std::string quad = "0 0 0, 1 0 0, 1 1 0";
  const std::string quadSecond = "0 0 0, 1 1 0, 0 1 0";
  const Case cases[] = {
      {"faces before any group",
       kFourVertices + "f 1 2 3 4\n",
       {{"default", "", {quad, quadSecond}}}},
      {"pentagon fan",
       kFourVertices + "v 0 2 0\ng p\nusemtl m\nf 1 2 3 4 5\n",
       {{"p", "m", {quad, quadSecond, "0 0 0, 0 1 0, 0 2 0"}}}},
      {"group re-entered, first material kept",
       kFourVertices +
           "g a\nusemtl one\nf 1 2 3\ng b\nf 1/1 2/2/2 4//4\ng a\nusemtl two\nf 1 3 4\n",
       {{"a", "one", {quad, quadSecond}}, {"b", "one", {"0 0 0, 1 0 0, 0 1 0"}}}},
      {"negative indices, CR and CR LF ends, comments",
       "v 0 0 0\r\nv 1 0 0\rv 1 1 0 # corner\ng  my wall  \nf -3 -2 -1\n",
       {{"my wall", "", {quad}}}},
      {"other statements make no mesh",
       kFourVertices + "vt 0 0\nvn 0 0 1\ns off\no thing\nmtllib x.mtl\n",
       {}},
      {"a group without faces is a mesh without triangles",
       kFourVertices + "g empty\nvt 0 0\ng light1\n",
       {{"empty", "", {}}, {"light1", "", {}}}},
      {"faceless group keeps the material of its g statement",
       kFourVertices + "usemtl stone\ng bare\ng wall\nusemtl glass\nf 1 2 3\n",
       {{"bare", "stone", {}}, {"wall", "glass", {quad}}}},
      {"faces after the group's first material change",
       kFourVertices + "usemtl stone\ng wall\nusemtl glass\nf 1 2 3\ng wall\nusemtl x\nf 1 3 4\n",
       {{"wall", "glass", {quad, quadSecond}}}},
      {"empty text", "", {}},
  };
  for (const Case& c : cases) {
    msModel model;
    const ObjLoadResult result = loadObjModel(c.text, model);
    EXPECT_TRUE(result.loaded) << c.label << ": " << result.message;
    EXPECT_EQ(viewOf(model), c.meshes) << c.label;
  }
}

TEST(ObjModelLoader, RejectsMalformedStatementsWithTheirLine) {
  struct Case {
    std::string text, message;
  };
  const Case cases[] = {
      {"v 1 2\n", "line 1: a vertex needs three coordinates"},
      {"\n\nv 1 2 x\n", "line 3: \"x\" is not a finite number"},
      {"v nan 0 0\n", "line 1: \"nan\" is not a finite number"},
      {"v 1e99 0 0\n", "line 1: \"1e99\" is not a finite number"},
      {"v 0 0 0\nf 1 2 3\n", "line 2: vertex index 2 is out of range (1 vertices so far)"},
      {kFourVertices + "f 0 1 2\n", "line 5: vertex index 0 is out of range (4 vertices so far)"},
      {kFourVertices + "f -5 1 2\n", "line 5: vertex index -5 is out of range (4 vertices so far)"},
      {kFourVertices + "f 1 2\n", "line 5: a face needs at least three corners"},
      {kFourVertices + "f a b c\n", "line 5: \"a\" is not a vertex index"},
      {kFourVertices + "f /1 2 3\n", "line 5: \"/1\" is not a vertex index"},
      {"v 0 0 0\rv 1 0 0\rv 0 1 0\rf 1 2 4\r",
       "line 4: vertex index 4 is out of range (3 vertices so far)"},
  };
  for (const Case& c : cases) {
    msModel model;
    const ObjLoadResult result = loadObjModel(c.text, model);
    EXPECT_FALSE(result.loaded) << c.text;
    EXPECT_EQ(result.message, c.message);
    EXPECT_EQ(msModel_GetMeshCount(&model), 0);
  }
}

TEST(ObjModelLoader, RefusesGroupsBeyondSixteenBitCorners) {
  // One polygon over 65537 vertices: its corners cannot all be named by a triangle.
  std::string text;
  std::string face = "f";
  for (int vertex = 1; vertex <= 65537; ++vertex) {
    const std::string number = std::to_string(vertex);
    text.append("v ").append(number).append(" 0 0\n");
    face.append(" ").append(number);
  }
  msModel model;
  ObjLoadResult result = loadObjModel(text + face + "\n", model);
  EXPECT_EQ(result.message, "line 65538: group \"default\" uses more than 65536 vertices");

  // 65536 vertices still fit.
  face = face.substr(0, face.rfind(' '));
  result = loadObjModel(text + face + "\n", model);
  EXPECT_TRUE(result.loaded) << result.message;
  EXPECT_EQ(msMesh_GetTriangleCount(msModel_GetMeshAt(&model, 0)), 65534);
}

TEST(ObjModelLoader, ReportsUnreadableFiles) {
  TempFolder folder;
  msModel model;
  EXPECT_EQ(loadObjModelFile(folder.path("missing.obj"), model).message,
            "cannot open " + folder.path("missing.obj"));
  EXPECT_EQ(loadObjModelFile(folder.path(""), model).message, folder.path("") + " is a folder");
}

}  // namespace
}  // namespace brushwright_test
