// brushwright-host run as a user runs it, standard input not a terminal.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "tests/test_support.h"

namespace brushwright_test {
namespace {

struct HostRun {
  int exitStatus;
  std::string out, err;
};

HostRun runHost(const TempFolder& folder, const std::string& arguments) {
  const std::string command = "cd '" + folder.path("") + "' && '" BRUSHWRIGHT_HOST_PATH "' " +
                              arguments + " >stdout.txt 2>stderr.txt </dev/null";
  const int status = std::system(command.c_str());
  HostRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1,
              readFile(folder.path("stdout.txt")).value_or(""),
              readFile(folder.path("stderr.txt")).value_or("")};
  std::remove(folder.path("stdout.txt").c_str());
  std::remove(folder.path("stderr.txt").c_str());
  return run;
}

const std::string kTriangleObj = "v 0 0 0\nv 1 0 0\nv 0 1 0\ng tri\nf 1 2 3\n";
const std::string kIntroduction = "Plug-in kind: 2\nPlug-in title: Generic MAP...\n";

TEST(HostProgram, FollowsTheCommandLineContract) {
  struct Case {
    std::string label, model, arguments;
    bool existingMap;
    int exitStatus;
    std::string out, err;
    bool mapWritten;
    std::string mapHolds = "";
    std::string mapLacks = "";
  };
  const std::string empty = "[MAP Export]\nThe model is empty!  Nothing exported!\n\n";
  const Case cases[] = {
      {"export", kTriangleObj, "--save-as out.map model.obj", false, 0, kIntroduction, "", true},
      {"extension added", kTriangleObj, "model.obj --save-as out", false, 0, kIntroduction, "",
       true},
      {"no answer is a cancel", kTriangleObj, "model.obj", false, 0, kIntroduction, "", false},
      {"empty model", "# nothing\n", "--save-as out.map model.obj", false, 0, kIntroduction, empty,
       false},
      {"replace confirmed", kTriangleObj, "--save-as out.map model.obj", true, 0, kIntroduction,
       "[Export MAP]\nout.map already exists.\nDo you want to replace it?\n-> Yes\n\n", true},
      {"unwritable target", kTriangleObj, "--save-as /proc/out.map model.obj", false, 1,
       kIntroduction, "", false},
      {"bad model", "f 1 2 3\n", "--save-as out.map model.obj", false, 1, kIntroduction,
       "error: model.obj: line 1: vertex index 1 is out of range (0 vertices so far)\n", false},
      {"missing plug-in", kTriangleObj, "--plugin none.so model.obj", false, 1, "", "", false},
      {"folder without a file name", kTriangleObj, "--save-as sub/ model.obj", false, 1,
       kIntroduction, "[Export MAP]\nsub/\nThe file name is not valid.\n\n", false},
      {"folder that does not exist", kTriangleObj, "--save-as none/out.map model.obj", false, 1,
       kIntroduction, "[Export MAP]\nnone/out.map\nThe folder does not exist.\n\n", false},
      {"group without faces is an empty brush", "g wall\n", "--save-as out.map model.obj", false, 0,
       kIntroduction, "", true, "// Brush Name: wall\r\n// Material Name: \r\n{\r\n}\r\n}\r\n"},
      {"light without triangles has no position and is left out", "g light1\n" + kTriangleObj,
       "--save-as out.map model.obj", false, 0, kIntroduction, "", true, "// Brush Name: tri",
       "light"},
      {"no model", kTriangleObj, "--save-as out.map", false, 2, "",
       "usage: brushwright-host [--plugin FILE] [--save-as FILE] MODEL.obj\n", false},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path("sub"));
    writeFile(folder.path("model.obj"), c.model);
    if (c.existingMap) writeFile(folder.path("out.map"), "previous");
    const HostRun run = runHost(folder, c.arguments);
    EXPECT_EQ(run.exitStatus, c.exitStatus) << c.label;
    EXPECT_EQ(run.out, c.out) << c.label;
    if (c.label == "missing plug-in") {
      EXPECT_EQ(run.err.rfind("error: cannot load plug-in none.so: ", 0), 0u) << run.err;
    } else {
      EXPECT_EQ(run.err, c.err) << c.label;
    }
    const std::optional<std::string> map = readFile(folder.path("out.map"));
    EXPECT_EQ(map && map->rfind("// Generic Map Export", 0) == 0, c.mapWritten) << c.label;
    if (map && !c.mapHolds.empty()) {
      EXPECT_NE(map->find(c.mapHolds), std::string::npos) << c.label << "\n" << *map;
    }
    if (map && !c.mapLacks.empty()) {
      EXPECT_EQ(map->find(c.mapLacks), std::string::npos) << c.label << "\n" << *map;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path("sub/.map"))) << c.label;
  }
}

}  // namespace
}  // namespace brushwright_test
