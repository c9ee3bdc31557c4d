#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace lkit {

enum class Answer { Yes, No, Cancel };

// The icon of a message box.
enum class MessageKind { Information, Warning, Error };

// How the windows ask the user something; tests put a script of answers here.
class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  // A Yes/No/Cancel question.
  virtual Answer askYesNoCancel(QWidget* parent, const QString& text, const QString& title) = 0;
  // An input box; empty when the user cancels.
  virtual std::optional<QString> inputBox(QWidget* parent, const QString& prompt,
                                          const QString& title) = 0;
  // A message box with one OK button.
  virtual void message(QWidget* parent, const QString& text, const QString& title,
                       MessageKind kind) = 0;
};

// The prompts as modal dialogs.
class DialogPrompts : public UserPrompts {
 public:
  Answer askYesNoCancel(QWidget* parent, const QString& text, const QString& title) override;
  std::optional<QString> inputBox(QWidget* parent, const QString& prompt,
                                  const QString& title) override;
  void message(QWidget* parent, const QString& text, const QString& title,
               MessageKind kind) override;
};

}  // namespace lkit
