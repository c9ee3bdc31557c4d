#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace lkit {

enum class Answer { Yes, No, Cancel };

// How the windows ask the user something; tests put a script of answers here.
class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  // A Yes/No/Cancel question.
  virtual Answer askYesNoCancel(QWidget* parent, const QString& text, const QString& title) = 0;
  // An input box; empty when the user cancels.
  virtual std::optional<QString> inputBox(QWidget* parent, const QString& prompt,
                                          const QString& title) = 0;
};

// The prompts as modal dialogs.
class DialogPrompts : public UserPrompts {
 public:
  Answer askYesNoCancel(QWidget* parent, const QString& text, const QString& title) override;
  std::optional<QString> inputBox(QWidget* parent, const QString& prompt,
                                  const QString& title) override;
};

}  // namespace lkit
