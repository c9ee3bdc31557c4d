#include "app/cli/run_command_line.h"

#include <cstdio>
#include <string>

#include "app/application_state.h"
#include "app/cli/console_user_interface.h"
#include "app/cli/help_text.h"
#include "app/cli/parsed_command_line.h"
#include "app/command_ids.h"
#include "app/command_predicates.h"
#include "app/command_table.h"

namespace corvina::cli {

namespace {

constexpr int kExitDone = 0;
constexpr int kExitStepFailed = 1;
constexpr int kExitUsage = 2;

// Why a step does not run: its command's menu entry or key would be disabled
// now. A command that answers a missing model itself keeps its own message.
std::string refusal(const ApplicationState& app, const CommandRow& row) {
  if (row.answersMissingModel && !modelLoaded(app)) return {};
  return disabledReason(row.enabled, app);
}

}  // namespace

int runCommandLine(const std::vector<std::string>& arguments, ViewCanvas* canvas) {
  auto parsed = parseCommandLine(arguments);
  if (const std::string* problem = std::get_if<std::string>(&parsed)) {
    std::string text = "corvina-cli: " + *problem +
                       "\nRun \"corvina-cli --help\" for the steps and their fields.\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
    return kExitUsage;
  }
  // --help is answered only for a line without usage errors.
  const ParsedCommandLine& line = std::get<ParsedCommandLine>(parsed);
  if (line.help) {
    std::string text = helpText();
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitDone;
  }

  ApplicationState app(currentWorkingDirectory());
  app.view = line.view;
  app.canvas = canvas;
  ConsoleUserInterface ui(stdout, stderr, line.answer);
  // Only a line that takes steps back keeps a history.
  bool stepsBack = false;
  for (const ParsedStep& step : line.steps)
    stepsBack = stepsBack || step.row->id == kCommandUndo || step.row->id == kCommandRedo;
  app.document.history().setRecording(stepsBack);
  for (const ParsedStep& step : line.steps) {
    ui.beginStep(step);
    if (const std::string reason = refusal(app, *step.row); !reason.empty()) {
      ui.showMessage("Error", reason, MessageIcon::Error);
      return kExitStepFailed;
    }
    CommandContext context{app, ui, &step.input};
    runCommand(context, *step.row);
    if (ui.stepFailed()) return kExitStepFailed;
  }
  return kExitDone;
}

}  // namespace corvina::cli
