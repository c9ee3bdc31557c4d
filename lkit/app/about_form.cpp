#include "app/about_form.h"

#include <QDir>
#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <algorithm>

namespace lkit {

namespace {

constexpr int kButtonHeight = 28;
constexpr int kLineHeight = 18;
constexpr int kMargin = 8;

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QWidget(parent, Qt::Window), saveFolder_(QDir::homePath()) {
  setWindowTitle(QStringLiteral("About Search"));
  image_ = drawPicture();
  picture = new QLabel(this);
  picture->setAlignment(Qt::AlignCenter);
  cmdPrint = new QPushButton(QStringLiteral("Print"), this);
  cmdSave = new QPushButton(QStringLiteral("Save"), this);
  lblSaved = new QLabel(this);
  lblSaved->setTextInteractionFlags(Qt::TextSelectableByMouse);
  connect(cmdPrint, &QPushButton::clicked, this, &frmAbout::cmdPrint_Click);
  connect(cmdSave, &QPushButton::clicked, this, &frmAbout::cmdSave_Click);
  resize(image_.width() + 2 * kMargin, image_.height() + kLineHeight + kButtonHeight + 4 * kMargin);
}

QImage frmAbout::drawPicture() {
  QImage image(360, 200, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(image.rect(), QColor(32, 40, 64));
  // A woven band: warp threads down, weft threads across.
  for (int x = 10; x < 350; x += 12) {
    painter.fillRect(x, 20, 5, 110, QColor(196, 160, 80));
  }
  for (int y = 26; y < 126; y += 12) {
    for (int x = 10; x < 350; x += 24) {
      painter.fillRect(x + ((y / 12) % 2) * 12, y, 17, 5, QColor(120, 180, 200));
    }
  }
  painter.setPen(Qt::white);
  QFont title = painter.font();
  title.setPointSize(16);
  title.setBold(true);
  painter.setFont(title);
  painter.drawText(QRect(0, 134, 360, 30), Qt::AlignCenter, QStringLiteral("Loomkit For Torque"));
  QFont small = painter.font();
  small.setPointSize(9);
  small.setBold(false);
  painter.setFont(small);
  painter.drawText(QRect(0, 166, 360, 24), Qt::AlignCenter,
                   QStringLiteral("Project files for UltraEdit-32, v1.0"));
  return image;
}

QString frmAbout::savedPicturePath() const {
  return QDir(saveFolder_).filePath(QStringLiteral("Search About.bmp"));
}

void frmAbout::cmdSave_Click() {
  if (cmdSave->text() == QStringLiteral("Done")) {
    cmdSave->setText(QStringLiteral("Save"));
    return;
  }
  cmdSave->setText(QStringLiteral("Wait..."));
  cmdSave->repaint();
  const QString path = QDir::toNativeSeparators(savedPicturePath());
  QSaveFile file(savedPicturePath());
  const bool saved = file.open(QIODevice::WriteOnly) && image_.save(&file, "BMP") && file.commit();
  if (!saved) {
    // The button stays "Save", so the user can try again.
    lblSaved->setText(QStringLiteral("Could not save %1: %2").arg(path, file.errorString()));
    lblSaved->setToolTip(lblSaved->text());
    cmdSave->setText(QStringLiteral("Save"));
    return;
  }
  lblSaved->setText(QStringLiteral("Saved to %1").arg(path));
  lblSaved->setToolTip(lblSaved->text());
  cmdSave->setText(QStringLiteral("Done"));
}

void frmAbout::cmdPrint_Click() {
  QPrinter printer;
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  QPainter painter(&printer);
  QRect page = painter.viewport();
  QSize size = image_.size().scaled(page.size(), Qt::KeepAspectRatio);
  painter.drawImage(QRect(page.topLeft(), size), image_);
}

void frmAbout::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  int pictureHeight = std::max(0, height() - kLineHeight - kButtonHeight - 4 * kMargin);
  picture->setGeometry(kMargin, kMargin, std::max(0, width() - 2 * kMargin), pictureHeight);
  picture->setPixmap(QPixmap::fromImage(image_).scaled(picture->size(), Qt::KeepAspectRatio));
  int buttonWidth = std::max(40, (width() - 3 * kMargin) / 2);
  int top = height() - kButtonHeight - kMargin;
  lblSaved->setGeometry(kMargin, top - kMargin - kLineHeight, std::max(0, width() - 2 * kMargin),
                        kLineHeight);
  cmdPrint->setGeometry(kMargin, top, buttonWidth, kButtonHeight);
  cmdSave->setGeometry(2 * kMargin + buttonWidth, top, buttonWidth, kButtonHeight);
}

}  // namespace lkit
