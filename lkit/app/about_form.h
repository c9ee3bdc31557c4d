#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;

namespace lkit {

// The about window: a picture of our own with Print and Save buttons.
class frmAbout : public QWidget {
  Q_OBJECT

 public:
  explicit frmAbout(QWidget* parent = nullptr);

  // Where Save puts "Search About.bmp"; the user's home folder by default.
  void setSaveFolder(const QString& folder) { saveFolder_ = folder; }
  QString savedPicturePath() const;

  // The picture the window shows, drawn once.
  static QImage drawPicture();

  void cmdSave_Click();
  void cmdPrint_Click();

  QLabel* picture;
  // Where the last Save put the picture, or why it could not.
  QLabel* lblSaved;
  QPushButton* cmdPrint;
  QPushButton* cmdSave;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QImage image_;
  QString saveFolder_;
};

}  // namespace lkit
