// The built plug-in, loaded the way the host loads it.

#include "host/plugin_library.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/test_support.h"

namespace brushwright_test {
namespace {

TEST(PlugInLibrary, LoadsTheBuiltPlugInAndExports) {
  PlugInLibrary library;
  std::string message;
  ASSERT_TRUE(library.load(BRUSHWRIGHT_PLUGIN_PATH, message)) << message;
  ModellerPlugIn* plugIn = library.plugIn();
  EXPECT_EQ(plugIn->pluginKind(), 2);
  EXPECT_STREQ(plugIn->pluginTitle(), "Generic MAP...");
  EXPECT_EQ(plugIn->pluginTitle(), plugIn->pluginTitle());  // the object's own buffer

  TempFolder folder;
  msModel model = buildModel({stripMesh("b", "m", 1)});
  ScriptedDialogs dialogs(folder.path("out.map"));
  EXPECT_EQ(plugIn->exportModel(nullptr), -1);
  EXPECT_EQ(plugIn->exportModel(&model), 0);
  EXPECT_EQ(model.destroyCount, 1);
  const std::string file = readFile(folder.path("out.map")).value_or("");
  EXPECT_EQ(file.rfind("// Generic Map Export created by MilkShape 3D\r\n", 0), 0u);
}

TEST(PlugInLibrary, ExplainsWhyALibraryCannotServe) {
  struct Case {
    std::string path, messageStart;
  };
  const Case cases[] = {
      {"/nonexistent/plugin.so", "cannot load plug-in /nonexistent/plugin.so: "},
      {BRUSHWRIGHT_HOST_PATH, "cannot load plug-in " BRUSHWRIGHT_HOST_PATH ": "},
      {BRUSHWRIGHT_MODEL_LIBRARY_PATH, BRUSHWRIGHT_MODEL_LIBRARY_PATH " has no CreatePlugIn"},
  };
  for (const Case& c : cases) {
    PlugInLibrary library;
    std::string message;
    EXPECT_FALSE(library.load(c.path, message));
    EXPECT_EQ(message.rfind(c.messageStart, 0), 0u) << message;
    EXPECT_EQ(library.plugIn(), nullptr);
  }
}

}  // namespace
}  // namespace brushwright_test
