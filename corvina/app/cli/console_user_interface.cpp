#include "app/cli/console_user_interface.h"

#include <algorithm>

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
  if (step_ == nullptr || step_->row->argument != StepArgument::Path || step_->input.words.empty())
    return std::nullopt;
  return step_->input.words.front();
}

std::optional<std::vector<int>> ConsoleUserInterface::chooseFromList(const ListRequest& request) {
  if (step_ == nullptr || step_->row->argument != StepArgument::Names) return std::nullopt;
  std::vector<int> chosen;
  for (const std::string& name : step_->input.words) {
    int found = -1;
    for (std::size_t i = 0; i < request.items.size() && found < 0; ++i)
      if (request.items[i] == name) found = static_cast<int>(i);
    if (found < 0) {
      // The list cannot show the name, so the step cannot be carried out as
      // written: an error, and the later steps do not run.
      errorShown_ = true;
      write(err_, "[" + request.caption + "]\nThere is no \"" + name + "\" in the list.\n\n");
      return std::nullopt;
    }
    chosen.push_back(found);
  }
  // A list that takes one item takes the first name given.
  if (!request.multiple && !chosen.empty()) return std::vector<int>{chosen.front()};
  std::sort(chosen.begin(), chosen.end());
  chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
  return chosen;
}

std::optional<std::string> ConsoleUserInterface::chooseName(const NameRequest&) {
  if (step_ == nullptr || step_->row->argument != StepArgument::Name || step_->input.words.empty())
    return std::nullopt;
  return step_->input.words.front();
}

bool ConsoleUserInterface::editOptions(OptionDialog& dialog) {
  if (step_ == nullptr) return true;
  // A step that repeats another command had its fields checked against every
  // dialog it may show; the one shown now must take each of them.
  const bool repeats = !step_->row->repeatsDialogsOf.empty();
  for (const auto& [name, value] : step_->fieldValues) {
    std::optional<std::string> problem = "\"" + dialog.caption + "\" has no field \"" + name + "\"";
    for (OptionField& field : dialog.fields) {
      // The values were checked against this dialog before any step ran.
      if (field.name != name) continue;
      problem = setFieldFromText(field, value);
      if (problem) problem = "\"" + dialog.caption + "\": " + name + ": " + *problem;
    }
    if (problem && repeats) {
      errorShown_ = true;
      write(err_, "[Error]\n" + std::string(step_->row->step) + ": " + *problem + "\n\n");
      return false;
    }
  }
  return true;
}

}  // namespace corvina::cli
