#pragma once
// "About Corvina": the icon, name and version, contact, and the terms of use.

#include <QDialog>

namespace corvina::window {

class AboutBox : public QDialog {
 public:
  explicit AboutBox(QWidget* parent);
};

}  // namespace corvina::window
