#include "app/window/preview_dock.h"

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

#include "preview/gl/preview_widget.h"

namespace corvina::window {

PreviewDock::PreviewDock(const ApplicationState& app,
                         const background::BackgroundPicture& background, QWidget* parent)
    : QDockWidget(QStringLiteral("3D Preview"), parent), app_(app), background_(background) {
  setObjectName(QStringLiteral("previewDock"));
  setAllowedAreas(Qt::AllDockWidgetAreas);
}

void PreviewDock::showEvent(QShowEvent* event) {
  if (widget() == nullptr) buildContents();
  QDockWidget::showEvent(event);
}

void PreviewDock::buildContents() {
  QString reason;
  if (!preview::previewOpenGlAvailable(reason)) {
    unavailable_ =
        new QLabel(QStringLiteral("The 3D preview needs OpenGL 3.3.\n%1").arg(reason), this);
    unavailable_->setObjectName(QStringLiteral("previewUnavailable"));
    unavailable_->setAlignment(Qt::AlignCenter);
    unavailable_->setWordWrap(true);
    unavailable_->setMinimumSize(200, 120);
    setWidget(unavailable_);
    return;
  }
  auto* panel = new QWidget(this);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  textureChoice_ = new QComboBox(panel);
  textureChoice_->addItems({QStringLiteral("Checker"), QStringLiteral("Background Picture"),
                            QStringLiteral("Set Colours")});
  textureChoice_->setToolTip(QStringLiteral("What the model is painted with"));
  layout->addWidget(textureChoice_);
  const background::BackgroundPicture* background = &background_;
  widget_ = new preview::PreviewWidget(
      app_.store, app_.document.selection(),
      [background]() -> const QImage* {
        return background->hasPicture() ? &background->picture() : nullptr;
      },
      panel);
  widget_->setMinimumSize(240, 200);
  layout->addWidget(widget_, 1);
  connect(textureChoice_, &QComboBox::currentIndexChanged, this,
          [this](int index) { widget_->setTextureMode(static_cast<preview::TextureMode>(index)); });
  setWidget(panel);
}

void PreviewDock::modelChanged() {
  if (widget_ != nullptr) widget_->modelChanged();
}

}  // namespace corvina::window
