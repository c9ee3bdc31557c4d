#include "app/cli/console_user_interface.h"

#include "app/option_text.h"

namespace corvina::cli {

namespace {

void write(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  // Flushed at once, so that messages on the two streams keep their order on
  // a terminal that shows both.
  std::fflush(stream);
}

}  // namespace

void ConsoleUserInterface::showMessage(const std::string& caption, const std::string& text,
                                       MessageIcon icon) {
  bool error = icon == MessageIcon::Error;
  if (error) errorShown_ = true;
  write(error ? err_ : out_, "[" + caption + "]\n" + text + "\n\n");
}

Answer ConsoleUserInterface::ask(const std::string& caption, const std::string& text, MessageIcon,
                                 QuestionButtons, Answer unattended) {
  Answer answer = unattended;
  if (step_ != nullptr && step_->answer)
    answer = *step_->answer;
  else if (defaultAnswer_)
    answer = *defaultAnswer_;
  const char* shown = answer == Answer::Yes ? "Yes" : answer == Answer::No ? "No" : "Cancel";
  write(out_, "[" + caption + "]\n" + text + "\n-> " + shown + "\n\n");
  return answer;
}

std::optional<std::string> ConsoleUserInterface::chooseFile(const FileRequest&) {
  // Naming the path is the choice; for a save it also confirms replacing an
  // existing file.
  if (step_ == nullptr || step_->definition->argument != StepArgument::Path) return std::nullopt;
  return step_->argument;
}

bool ConsoleUserInterface::editOptions(OptionDialog& dialog) {
  if (step_ == nullptr) return true;
  for (const auto& [name, value] : step_->fieldValues) {
    for (OptionField& field : dialog.fields) {
      // The values were checked against this dialog before any step ran.
      if (field.name == name) setFieldFromText(field, value);
    }
  }
  return true;
}

}  // namespace corvina::cli
