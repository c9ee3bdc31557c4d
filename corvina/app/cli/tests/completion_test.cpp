// corvina-cli's bash completion, run in bash as the shell would run it: the
// words of the line in COMP_WORDS (split at '=' as bash splits them) and the
// word being completed in COMP_CWORD.

#include "app/cli/completion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "app/cli/tests/cli_process.h"
#include "app/tests/scratch_folder.h"

namespace corvina::cli {
namespace {

using corvina::testing::ScratchFolder;
using corvina::testing::shellQuoted;

// Sources the script in `folder`, completes the last of `words` and returns
// the offers, sorted.
std::vector<std::string> complete(const ScratchFolder& folder,
                                  const std::vector<std::string>& words) {
  const std::string script = folder.write(".completion.bash", bashCompletionScript());
  std::string command = "cd " + shellQuoted(folder.folder()) + " && bash --norc --noprofile -c " +
                        shellQuoted(
                            "source \"$1\" || exit 3; shift; COMP_WORDS=(\"$@\"); "
                            "COMP_CWORD=$(($# - 1)); _corvina_cli || exit 4; "
                            "printf '%s\\n' \"${COMPREPLY[@]}\"") +
                        " bash " + shellQuoted(script);
  for (const std::string& word : words) command += " " + shellQuoted(word);
  command += " >" + shellQuoted(folder.path(".offers")) + " 2>&1";
  const int status = std::system(command.c_str());
  EXPECT_EQ(status, 0) << folder.read(".offers");
  std::vector<std::string> offers;
  std::istringstream lines(folder.read(".offers"));
  for (std::string line; std::getline(lines, line);)
    if (!line.empty()) offers.push_back(line);
  std::sort(offers.begin(), offers.end());
  return offers;
}

TEST(CompletionTest, OffersStepsFieldsWordsValuesAndFiles) {
  struct Case {
    std::vector<std::string> words;  // after corvina-cli; the last is being completed
    std::vector<std::string> offers;
  };
  const Case cases[] = {
      // Step names.
      {{"sav"}, {"save-bmp", "save-obj"}},
      {{"load", "a.obj", "st"}, {"stats", "stretch"}},
      // A step's fields, with '=', and the steps that begin the same.
      {{"save-obj", "out.obj", "export"},
       {"export-png", "export-svg", "export-uvs",
        "exportMaterials=", "exportNormals=", "exportRegions=", "exportUVs="}},
      {{"load", "a.obj", "ans"}, {"answer="}},
      // The words of color, select-method and key, quoted for the shell.
      {{"color", ""}, {"bw", "group", "material", "region"}},
      {{"select-method", "v"}, {"vertex"}},
      {{"key", "kp"}, {"kp+", "kp-", "kp/", "kp\\*"}},
      {{"key", "enter", "sh"}, {"shift=", "show-angle-stretch", "show-stretch"}},
      // Values of choice and boolean fields, after the '=' bash splits off.
      {{"planar", "alignment", "=", ""}, {"x", "y", "z"}},
      {{"planar", "alignment", "=", "y"}, {"y"}},
      {{"save-obj", "out.obj", "exportNormals", "=", "o"}, {"off", "on"}},
      {{"smooth", "scope", "=", "m"}, {"material"}},
      {{"load", "a.obj", "answer", "=", ""}, {"no", "yes"}},
      // Options.
      {{"--v"}, {"--version", "--view="}},
      {{"--answer", "=", "n"}, {"no"}},
      // File names for a step's path.
      {{"load", "ex"}, {"example.obj", "extra"}},
      {{"save-bmp", "ex"}, {"example.obj", "excludeHidden=", "extra"}},
      {{"export-uvs", "out.uvs", "baseModel", "=", "ex"}, {"example.obj", "extra"}},
  };
  ScratchFolder folder;
  folder.write("example.obj", "v 0 0 0\n");
  std::filesystem::create_directory(folder.path() / "extra");
  for (const Case& c : cases) {
    std::vector<std::string> words = {"corvina-cli"};
    words.insert(words.end(), c.words.begin(), c.words.end());
    std::string line;
    for (const std::string& word : c.words) line += word + " ";
    EXPECT_EQ(complete(folder, words), c.offers) << line;
  }
}

TEST(CompletionTest, ScriptRegistersTheFunctionForTheProgram) {
  const std::string script = bashCompletionScript();
  EXPECT_NE(script.find("complete -F _corvina_cli corvina-cli\n"), std::string::npos);
  // Every step takes its place in the step table, with its kind.
  for (const char* arm : {"'load') step_kind=path", "'key') step_kind=word",
                          "'color') step_kind=word", "'band') step_kind=other"})
    EXPECT_NE(script.find(arm), std::string::npos) << arm;
}

}  // namespace
}  // namespace corvina::cli
