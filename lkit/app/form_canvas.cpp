#include "app/form_canvas.h"

#include <QResizeEvent>
#include <QScrollArea>

namespace lkit {

void FormCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (onResize) onResize(event->size());
}

QScrollArea* scrollAreaFor(FormCanvas* canvas, QWidget* parent) {
  auto* scroll = new QScrollArea(parent);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setWidget(canvas);
  return scroll;
}

}  // namespace lkit
