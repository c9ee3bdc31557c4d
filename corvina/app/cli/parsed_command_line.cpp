#include "app/cli/parsed_command_line.h"

#include "app/command_table.h"
#include "app/option_text.h"

namespace corvina::cli {

namespace {

constexpr int kMaxViewSide = 8192;

std::string quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// A field=value word: a name of letters and digits, starting with a letter,
// then "=". Anything else (a path such as "out/a=b.obj" included) is plain.
bool isFieldValue(std::string_view word) {
  std::size_t equals = word.find('=');
  if (equals == std::string_view::npos || equals == 0) return false;
  auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  if (!isLetter(word[0])) return false;
  for (std::size_t i = 1; i < equals; ++i)
    if (!isLetter(word[i]) && !isDigit(word[i])) return false;
  return true;
}

std::optional<Answer> parseAnswer(std::string_view text) {
  if (text == "yes") return Answer::Yes;
  if (text == "no") return Answer::No;
  return std::nullopt;
}

// "WxH" with both sides in 1..kMaxViewSide.
bool parseViewSize(std::string_view text, ViewSize& view) {
  std::size_t x = text.find('x');
  if (x == std::string_view::npos) return false;
  auto w = parseIntText(text.substr(0, x));
  auto h = parseIntText(text.substr(x + 1));
  if (!w || !h || *w < 1 || *h < 1 || *w > kMaxViewSide || *h > kMaxViewSide) return false;
  view.width = *w;
  view.height = *h;
  return true;
}

std::string where(const ParsedStep& step) {
  return std::string(step.row->step) + ": ";
}

// The dialogs whose fields the step takes, built over `scratch`: its own, or
// those of the commands it repeats.
std::vector<OptionDialog> stepDialogs(const CommandRow& row, OptionRecords& scratch) {
  std::vector<OptionDialog> dialogs;
  auto add = [&](const CommandRow* from) {
    if (from == nullptr || from->dialog == nullptr) return;
    if (std::optional<OptionDialog> dialog = from->dialog(scratch))
      dialogs.push_back(std::move(*dialog));
  };
  add(&row);
  for (int id : row.repeatsDialogsOf) add(findCommand(id));
  return dialogs;
}

// Whether the step takes `name` as a field=value word.
bool takesField(const ParsedStep& step, std::string_view name) {
  if (name == "answer" && step.row->takesAnswer) return true;
  OptionRecords scratch;
  for (const OptionDialog& dialog : stepDialogs(*step.row, scratch))
    for (const OptionField& field : dialog.fields)
      if (field.name == name) return true;
  return false;
}

// Checks one field=value of `step` against the fields of its dialogs; a
// value one of them takes is accepted.
std::optional<std::string> checkFieldValue(ParsedStep& step, const std::string& name,
                                           const std::string& value) {
  if (name == "answer" && step.row->takesAnswer) {
    step.answer = parseAnswer(value);
    if (!step.answer) return where(step) + "answer must be yes or no, not " + quoted(value);
    return std::nullopt;
  }
  // Setting the value on a scratch copy of the records both checks it and
  // keeps the real records untouched until the step runs.
  OptionRecords scratch;
  std::optional<std::string> firstProblem;
  for (OptionDialog& dialog : stepDialogs(*step.row, scratch)) {
    for (OptionField& field : dialog.fields) {
      if (field.name != name) continue;
      if (auto problem = setFieldFromText(field, value)) {
        if (!firstProblem) firstProblem = where(step) + name + ": " + *problem;
        continue;
      }
      step.fieldValues.emplace_back(name, value);
      return std::nullopt;
    }
  }
  if (firstProblem) return firstProblem;
  return where(step) + "unknown field " + quoted(name);
}

// How many plain words the step takes at most (Names: any number).
std::size_t plainWordLimit(const CommandRow& row) {
  switch (row.argument) {
    case StepArgument::None:
      return 0;
    case StepArgument::Pixels:
      return static_cast<std::size_t>(row.pixelCount);
    case StepArgument::Names:
      return SIZE_MAX;
    default:
      return 1;
  }
}

std::optional<std::string> checkPlainArgument(ParsedStep& step, const std::string& word) {
  const CommandRow& row = *step.row;
  if (step.input.words.size() >= plainWordLimit(row))
    return where(step) + "unexpected argument " + quoted(word);
  switch (row.argument) {
    case StepArgument::RowWord: {
      int chosen = 0;
      OptionField field = rowWordField(row.step, chosen);
      if (auto problem = setFieldFromText(field, word)) return where(step) + *problem;
      step.row = stepRows(row.step)[static_cast<std::size_t>(chosen)];
      break;
    }
    case StepArgument::Word: {
      bool known = false;
      std::string list;
      for (std::string_view name : row.words) {
        known = known || name == word;
        list += (list.empty() ? "" : ", ") + std::string(name);
      }
      if (!known) return where(step) + quoted(word) + " is not one of " + list;
      break;
    }
    case StepArgument::Pixels: {
      std::optional<int> pixel = parseIntText(word);
      if (!pixel) return where(step) + quoted(word) + " is not a whole number";
      step.input.pixels.push_back(*pixel);
      break;
    }
    default:
      break;
  }
  step.input.words.push_back(word);
  return std::nullopt;
}

std::optional<std::string> checkComplete(const ParsedStep& step) {
  const CommandRow& row = *step.row;
  std::size_t needed = row.argument == StepArgument::None     ? 0
                       : row.argument == StepArgument::Pixels ? std::size_t(row.pixelCount)
                                                              : 1;
  if (step.input.words.size() < needed)
    return where(step) + "missing " + std::string(row.argumentName);
  return std::nullopt;
}

}  // namespace

bool isStepName(std::string_view step) {
  return !stepRows(step).empty();
}

bool isStepAvailable(std::string_view step) {
  std::vector<const CommandRow*> rows = stepRows(step);
  if (rows.empty()) return false;
  for (const CommandRow* row : rows)
    if (row->run == nullptr) return false;
  return true;
}

OptionField rowWordField(std::string_view step, int& chosen) {
  OptionField field;
  field.kind = OptionField::Kind::Choice;
  field.intValue = &chosen;
  for (const CommandRow* row : stepRows(step)) {
    field.name = std::string(row->argumentName);
    field.choices.emplace_back(row->rowWord);
  }
  return field;
}

std::variant<ParsedCommandLine, std::string> parseCommandLine(
    const std::vector<std::string>& arguments) {
  ParsedCommandLine line;
  std::vector<std::string> words;
  for (const std::string& word : arguments) {
    if (word == "--help" || word == "-h")
      line.help = true;
    else
      words.push_back(word);
  }

  std::size_t i = 0;
  for (; i < words.size() && words[i].starts_with("-"); ++i) {
    const std::string& option = words[i];
    if (option.starts_with("--answer=")) {
      line.answer = parseAnswer(option.substr(9));
      if (!line.answer) return "--answer must be yes or no, not " + quoted(option.substr(9));
    } else if (option.starts_with("--view=")) {
      if (!parseViewSize(option.substr(7), line.view))
        return "--view must be WIDTHxHEIGHT with sides from 1 to " + std::to_string(kMaxViewSide) +
               ", not " + quoted(option.substr(7));
    } else {
      return "unknown option " + quoted(option);
    }
  }
  if (i == words.size()) {
    if (line.help) return line;
    return std::string("no step given");
  }

  for (; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (isStepName(word)) {
      if (!line.steps.empty())
        if (auto problem = checkComplete(line.steps.back())) return *problem;
      if (!isStepAvailable(word)) return "step " + quoted(word) + " is not available yet";
      line.steps.emplace_back();
      line.steps.back().row = stepRows(word).front();
      continue;
    }
    if (line.steps.empty()) return "unknown step " + quoted(word);
    ParsedStep& step = line.steps.back();
    // A step's path comes first; a path that looks like field=value but names
    // no field of the step is still the path ("load a=b.obj").
    const bool pathExpected = step.row->argument == StepArgument::Path && step.input.words.empty();
    std::optional<std::string> problem;
    if (word.starts_with("--")) {
      return where(step) + "options such as " + quoted(word) + " go before the first step";
    } else if (isFieldValue(word) &&
               !(pathExpected && !takesField(step, word.substr(0, word.find('='))))) {
      std::size_t equals = word.find('=');
      problem = checkFieldValue(step, word.substr(0, equals), word.substr(equals + 1));
    } else {
      problem = checkPlainArgument(step, word);
    }
    if (problem) return *problem;
  }
  if (auto problem = checkComplete(line.steps.back())) return *problem;
  return line;
}

}  // namespace corvina::cli
