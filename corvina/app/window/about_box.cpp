#include "app/window/about_box.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace corvina::window {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Corvina"));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  auto* icon = new QLabel(this);
  icon->setPixmap(QPixmap(QStringLiteral(":/corvina/corvina.png"))
                      .scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  icon->setAlignment(Qt::AlignTop);
  top->addWidget(icon);
  auto* name = new QLabel(
      QStringLiteral("<b>Corvina</b> Version 1.0<br>Texture coordinates for game models<br>"
                     "Brindle Labs &lt;corvina@brindlelabs.example&gt;"),
      this);
  name->setTextInteractionFlags(Qt::TextSelectableByMouse);
  top->addWidget(name, 1);
  layout->addLayout(top);
  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  layout->addWidget(line);
  auto* terms = new QLabel(
      QStringLiteral("This program is provided as is, without warranty of any kind. You may "
                     "use it and the texture maps you make with it freely, in any project."),
      this);
  terms->setWordWrap(true);
  terms->setMinimumWidth(320);
  layout->addWidget(terms);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace corvina::window
