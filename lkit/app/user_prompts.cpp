#include "app/user_prompts.h"

#include <QInputDialog>
#include <QMessageBox>

namespace lkit {

Answer DialogPrompts::askYesNoCancel(QWidget* parent, const QString& text, const QString& title) {
  auto button = QMessageBox::question(parent, title, text,
                                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                      QMessageBox::Yes);
  if (button == QMessageBox::Yes) return Answer::Yes;
  if (button == QMessageBox::No) return Answer::No;
  return Answer::Cancel;
}

std::optional<QString> DialogPrompts::inputBox(QWidget* parent, const QString& prompt,
                                               const QString& title) {
  bool ok = false;
  QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, QString(), &ok);
  if (!ok) return std::nullopt;
  return text;
}

void DialogPrompts::message(QWidget* parent, const QString& text, const QString& title,
                            MessageKind kind) {
  switch (kind) {
    case MessageKind::Information:
      QMessageBox::information(parent, title, text);
      break;
    case MessageKind::Warning:
      QMessageBox::warning(parent, title, text);
      break;
    case MessageKind::Error:
      QMessageBox::critical(parent, title, text);
      break;
  }
}

}  // namespace lkit
