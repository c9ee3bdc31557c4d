#include "app/elided_label.h"

#include <QPainter>
#include <QStyle>

namespace lkit {

void ElidedLabel::setPath(const QString& path) {
  setText(path);
  setToolTip(path);
}

QString ElidedLabel::shownText() const {
  return fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width());
}

void ElidedLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(),
                        isEnabled(), shownText(), foregroundRole());
}

}  // namespace lkit
