// Option dialogs as a user reads them: the texts each control shows, and an
// edit that belongs to one choice sitting beside that choice's button.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStringList>

#include "app/dialogs/mapping_dialogs.h"
#include "app/dialogs/normal_smoothing_dialog.h"
#include "app/dialogs/obj_export_dialog.h"
#include "app/window/option_dialog.h"

namespace corvina::window {
namespace {

template <typename Widget>
QStringList textsOf(const QWidget& parent) {
  QStringList texts;
  for (const Widget* widget : parent.findChildren<Widget*>()) texts << widget->text();
  return texts;
}

QRadioButton* buttonNamed(const QWidget& parent, const QString& text) {
  for (QRadioButton* button : parent.findChildren<QRadioButton*>())
    if (button->text() == text) return button;
  return nullptr;
}

TEST(OptionDialogLayout, PlanarOffsetSitsBesideItsChoice) {
  PlanarMappingOptions options;
  OptionDialog dialog = planarMappingDialog(options);
  OptionDialogWidget widget(dialog, nullptr, nullptr, nullptr);
  widget.show();
  QApplication::processEvents();  // lays out the group boxes
  QLineEdit* offset = widget.editNamed("offset");
  QRadioButton* byPosition = buttonNamed(widget, QStringLiteral("By Position with Offset of"));
  ASSERT_NE(offset, nullptr);
  ASSERT_NE(byPosition, nullptr);
  // In the Split group, on the button's row, right of it; no label of its own.
  auto* group = qobject_cast<QGroupBox*>(byPosition->parentWidget());
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->title(), QStringLiteral("Split"));
  EXPECT_TRUE(group->isAncestorOf(offset));
  const QRect buttonArea(byPosition->mapTo(&widget, QPoint(0, 0)), byPosition->size());
  const QRect editArea(offset->mapTo(&widget, QPoint(0, 0)), offset->size());
  EXPECT_GE(editArea.left(), buttonArea.right());
  EXPECT_LE(editArea.top(), buttonArea.center().y());
  EXPECT_GE(editArea.bottom(), buttonArea.center().y());
  EXPECT_FALSE(textsOf<QLabel>(widget).contains(QStringLiteral("By Position with Offset of")));
  // The edit still writes its field.
  offset->setText(QStringLiteral("2.5"));
  widget.accept();
  EXPECT_EQ(options.offset, 2.5f);
}

TEST(OptionDialogLayout, ButtonsAndBoxesShowTheDialogsTexts) {
  SmoothingOptions smoothing;
  OptionDialog smoothingDialog = smoothingOptionsDialog(smoothing);
  const OptionDialogWidget smoothingWidget(smoothingDialog, nullptr, nullptr, nullptr);
  EXPECT_EQ(textsOf<QRadioButton>(smoothingWidget),
            (QStringList{"Using all facets", "Smooth by Group", "Smooth by Material",
                         "Smooth by Region"}));

  ObjExportOptions obj;
  OptionDialog objDialog = objExportOptionsDialog(obj);
  const OptionDialogWidget objWidget(objDialog, nullptr, nullptr, nullptr);
  EXPECT_TRUE(textsOf<QCheckBox>(objWidget).contains("Don't compess texture coordinates"));
}

}  // namespace
}  // namespace corvina::window
