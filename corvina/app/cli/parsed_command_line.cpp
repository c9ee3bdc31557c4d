#include "app/cli/parsed_command_line.h"

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
bool parseViewSize(std::string_view text, int& width, int& height) {
  std::size_t x = text.find('x');
  if (x == std::string_view::npos) return false;
  auto w = parseIntText(text.substr(0, x));
  auto h = parseIntText(text.substr(x + 1));
  if (!w || !h || *w < 1 || *h < 1 || *w > kMaxViewSide || *h > kMaxViewSide) return false;
  width = *w;
  height = *h;
  return true;
}

// Checks one field=value of `step` against the fields of its dialog.
std::optional<std::string> checkFieldValue(ParsedStep& step, const std::string& name,
                                           const std::string& value) {
  const std::string where = std::string(step.definition->name) + ": ";
  if (name == "answer" && step.definition->takesAnswer) {
    step.answer = parseAnswer(value);
    if (!step.answer) return where + "answer must be yes or no, not " + quoted(value);
    return std::nullopt;
  }
  // Setting the value on a scratch copy of the records both checks it and
  // keeps the real records untouched until the step runs.
  OptionRecords scratch;
  std::optional<OptionDialog> dialog = step.definition->dialog(scratch);
  if (dialog) {
    for (OptionField& field : dialog->fields) {
      if (field.name != name) continue;
      if (auto problem = setFieldFromText(field, value)) return where + name + ": " + *problem;
      step.fieldValues.emplace_back(name, value);
      return std::nullopt;
    }
  }
  return where + "unknown field " + quoted(name);
}

std::optional<std::string> checkPlainArgument(ParsedStep& step, const std::string& word) {
  const std::string where = std::string(step.definition->name) + ": ";
  if (step.definition->argument == StepArgument::None || step.argument)
    return where + "unexpected argument " + quoted(word);
  if (step.definition->argument == StepArgument::ColorMode) {
    OptionField field = colorModeField(step.colorMode);
    if (auto problem = setFieldFromText(field, word)) return where + *problem;
  }
  step.argument = word;
  return std::nullopt;
}

std::optional<std::string> checkComplete(const ParsedStep& step) {
  if (step.definition->argument != StepArgument::None && !step.argument)
    return std::string(step.definition->name) + ": missing " +
           std::string(step.definition->argumentName);
  return std::nullopt;
}

}  // namespace

std::variant<ParsedCommandLine, std::string> parseCommandLine(
    const std::vector<std::string>& arguments) {
  ParsedCommandLine line;
  for (const std::string& word : arguments)
    if (word == "--help" || word == "-h") line.help = true;
  if (line.help) return line;

  std::size_t i = 0;
  for (; i < arguments.size() && arguments[i].starts_with("-"); ++i) {
    const std::string& option = arguments[i];
    if (option.starts_with("--answer=")) {
      line.answer = parseAnswer(option.substr(9));
      if (!line.answer) return "--answer must be yes or no, not " + quoted(option.substr(9));
    } else if (option.starts_with("--view=")) {
      if (!parseViewSize(option.substr(7), line.viewWidth, line.viewHeight))
        return "--view must be WIDTHxHEIGHT with sides from 1 to " + std::to_string(kMaxViewSide) +
               ", not " + quoted(option.substr(7));
    } else {
      return "unknown option " + quoted(option);
    }
  }
  if (i == arguments.size()) return std::string("no step given");

  for (; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (isStepName(word)) {
      if (!line.steps.empty())
        if (auto problem = checkComplete(line.steps.back())) return *problem;
      const StepDefinition* definition = findAvailableStep(word);
      if (definition == nullptr) return "step " + quoted(word) + " is not available yet";
      line.steps.emplace_back();
      line.steps.back().definition = definition;
      continue;
    }
    if (line.steps.empty()) return "unknown step " + quoted(word);
    ParsedStep& step = line.steps.back();
    if (word.starts_with("--"))
      return std::string(step.definition->name) + ": options such as " + quoted(word) +
             " go before the first step";
    std::optional<std::string> problem;
    if (isFieldValue(word)) {
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
