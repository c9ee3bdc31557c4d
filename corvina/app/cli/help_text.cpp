#include "app/cli/help_text.h"

#include <set>

#include "app/application_state.h"
#include "app/cli/parsed_command_line.h"
#include "app/command_table.h"
#include "app/option_text.h"

namespace corvina::cli {

namespace {

std::string padded(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text + " ";
}

std::string fieldLine(const OptionField& field) {
  std::string line =
      "      " + padded(field.name + "=" + fieldValueText(field), 26) + fieldDescription(field);
  std::string range = fieldRangeText(field);
  if (!range.empty() && field.kind != OptionField::Kind::Bool) line += " (" + range + ")";
  return line + "\n";
}

}  // namespace

std::vector<const CommandRow*> stepHeads() {
  std::vector<const CommandRow*> heads;
  std::set<std::string_view> seen;
  for (const CommandRow& row : commandTable())
    if (!row.step.empty() && seen.insert(row.step).second) heads.push_back(&row);
  return heads;
}

// A radio group's caption followed by each word with its button's text.
std::string fieldDescription(const OptionField& field) {
  if (field.kind != OptionField::Kind::Choice || field.choiceLabels.size() != field.choices.size())
    return field.label;
  std::string text = field.label + ":";
  for (std::size_t i = 0; i < field.choices.size(); ++i)
    text += (i > 0 ? ", " : " ") + field.choices[i] + " = " + field.choiceLabels[i];
  return text;
}

std::string helpText() {
  std::string text =
      "Usage: corvina-cli [--answer=yes|no] [--view=WxH] STEP [ARG...] [STEP [ARG...]]...\n"
      "\n"
      "Runs corvina's commands without a window: the steps run in order on one model.\n"
      "A step's arguments run up to the next step name. A step that needs a file takes\n"
      "its path; a step with an options dialog takes field=value arguments (booleans\n"
      "on/off, yes/no, true/false or 1/0); fields not named keep their current values.\n"
      "A path that looks like field=value is taken as the path when it names no field\n"
      "of its step; otherwise write it with its folder (./a=b.obj).\n"
      "Messages are printed as [Caption], the text and an empty line, errors on\n"
      "standard error. Questions take the step's answer=, else --answer=, else their\n"
      "default (no for correcting out-of-range texture coordinates, yes otherwise).\n"
      "\n"
      "  --answer=yes|no    the answer to questions a step does not answer itself\n"
      "  --view=WxH         the size of the texture-map view in pixels (default 512x512)\n"
      "  --help             this text\n"
      "  --version          the program's version\n"
      "\n"
      "Steps, with their fields and start values:\n";
  OptionRecords startValues;
  std::vector<const CommandRow*> heads = stepHeads();
  for (const CommandRow* row : heads) {
    if (!isStepAvailable(row->step)) continue;
    std::string head = std::string(row->step);
    if (!row->argumentName.empty()) head += " " + std::string(row->argumentName);
    text += "  " + padded(head, 30) + std::string(row->summary) + "\n";
    if (row->takesAnswer)
      text += "      " + padded("answer=yes|no", 26) + "the answer to the step's questions\n";
    if (row->dialog != nullptr)
      if (std::optional<OptionDialog> dialog = row->dialog(startValues))
        for (const OptionField& field : dialog->fields) text += fieldLine(field);
  }
  // Steps of the contract whose commands are still to come, when there are any.
  std::string waiting;
  std::size_t column = 18;
  for (const CommandRow* row : heads) {
    if (isStepAvailable(row->step)) continue;
    std::string_view name = row->step;
    if (column + name.size() + 1 > 80) {
      waiting += "\n ";
      column = 1;
    }
    waiting += " " + std::string(name);
    column += name.size() + 1;
  }
  if (!waiting.empty()) text += "\nNot available yet:" + waiting + "\n";
  text +=
      "\n"
      "A step whose menu entry or key the window would disable at that moment does\n"
      "not run: it prints [Error] and the reason.\n"
      "\n"
      "Exit status: 0 when every step ran, 1 when a step showed an error, was refused\n"
      "or could not load its file (later steps do not run), 2 for a usage error\n"
      "(nothing runs).\n";
  return text;
}

}  // namespace corvina::cli
