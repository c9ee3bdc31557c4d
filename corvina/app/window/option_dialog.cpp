#include "app/window/option_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <map>
#include <set>

#include "app/window/field_validation.h"

namespace corvina::window {

namespace {

QString text(const std::string& s) {
  return QString::fromStdString(s);
}

// The number field whose label is the text of one of a choice's buttons: its
// edit belongs beside that button ("By Position with Offset of [ 0.0 ]"), as
// the value it holds matters only with that choice.
OptionField* fieldBesideButton(OptionDialog& dialog, const std::string& buttonText) {
  for (OptionField& field : dialog.fields) {
    const bool number =
        field.kind == OptionField::Kind::Int || field.kind == OptionField::Kind::Float;
    if (number && field.label == buttonText) return &field;
  }
  return nullptr;
}

}  // namespace

OptionDialogWidget::OptionDialogWidget(
    OptionDialog& dialog, QWidget* parent,
    std::function<std::optional<std::string>(const FileRequest&)> browse,
    std::function<void(const std::string&)> warn)
    : QDialog(parent), warn_(std::move(warn)) {
  setWindowTitle(text(dialog.caption));
  auto* layout = new QVBoxLayout(this);
  QFormLayout* form = nullptr;  // consecutive edits share one form
  auto formLayout = [&]() {
    if (form == nullptr) {
      form = new QFormLayout;
      form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
      layout->addLayout(form);
    }
    return form;
  };
  // Edits that sit beside a radio button: made first, placed with their choice.
  std::map<const OptionField*, QLineEdit*> besideButtons;
  auto numberEdit = [this](const OptionField& field) {
    auto* edit = new QLineEdit(text(numberFieldText(field)), this);
    edit->setObjectName(text(field.name));
    return edit;
  };
  auto buttonText = [](const OptionField& field, std::size_t i) {
    const bool labelled = field.choiceLabels.size() == field.choices.size();
    return labelled ? field.choiceLabels[i] : field.choices[i];
  };
  for (const OptionField& field : dialog.fields) {
    if (field.kind != OptionField::Kind::Choice) continue;
    for (std::size_t i = 0; i < field.choices.size(); ++i) {
      const OptionField* beside = fieldBesideButton(dialog, buttonText(field, i));
      if (beside != nullptr && besideButtons.count(beside) == 0)
        besideButtons[beside] = numberEdit(*beside);
    }
  }
  std::set<const OptionField*> placed;
  for (OptionField& field : dialog.fields) {
    Control control;
    control.field = &field;
    switch (field.kind) {
      case OptionField::Kind::Bool: {
        form = nullptr;
        control.check = new QCheckBox(text(field.label), this);
        control.check->setChecked(field.boolValue != nullptr && *field.boolValue);
        layout->addWidget(control.check);
        break;
      }
      case OptionField::Kind::Choice: {
        form = nullptr;
        auto* box = new QGroupBox(text(field.label), this);
        auto* boxLayout = new QVBoxLayout(box);
        control.choice = new QButtonGroup(box);
        for (std::size_t i = 0; i < field.choices.size(); ++i) {
          auto* button = new QRadioButton(text(buttonText(field, i)), box);
          control.choice->addButton(button, static_cast<int>(i));
          const OptionField* beside = fieldBesideButton(dialog, buttonText(field, i));
          if (beside != nullptr && placed.insert(beside).second) {
            auto* row = new QHBoxLayout;
            row->addWidget(button);
            row->addWidget(besideButtons[beside], 1);
            boxLayout->addLayout(row);
          } else {
            boxLayout->addWidget(button);
          }
          if (field.intValue != nullptr && *field.intValue == static_cast<int>(i))
            button->setChecked(true);
        }
        layout->addWidget(box);
        break;
      }
      case OptionField::Kind::Int:
      case OptionField::Kind::Float: {
        if (besideButtons.count(&field) != 0) {  // already beside its button
          control.edit = besideButtons[&field];
          break;
        }
        control.edit = numberEdit(field);
        formLayout()->addRow(text(field.label), control.edit);
        break;
      }
      case OptionField::Kind::Text: {
        control.edit =
            new QLineEdit(field.textValue != nullptr ? text(*field.textValue) : QString(), this);
        control.edit->setObjectName(text(field.name));
        if (field.maxLength > 0) control.edit->setMaxLength(field.maxLength);
        control.edit->setMinimumWidth(control.edit->fontMetrics().averageCharWidth() * 40);
        QWidget* editor = control.edit;
        if (field.browse) {
          editor = new QWidget(this);
          auto* row = new QHBoxLayout(editor);
          row->setContentsMargins(0, 0, 0, 0);
          row->addWidget(control.edit, 1);
          auto* button = new QPushButton(QStringLiteral("Browse...."), editor);
          row->addWidget(button);
          QLineEdit* edit = control.edit;
          const FileRequest request = *field.browse;
          connect(button, &QPushButton::clicked, this, [edit, request, browse] {
            if (!browse) return;
            if (const std::optional<std::string> path = browse(request))
              edit->setText(QString::fromStdString(*path));
          });
        }
        formLayout()->addRow(text(field.label), editor);
        break;
      }
    }
    controls_.push_back(control);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QLineEdit* OptionDialogWidget::editNamed(const std::string& name) const {
  for (const Control& control : controls_)
    if (control.edit != nullptr && control.field->name == name) return control.edit;
  return nullptr;
}

void OptionDialogWidget::accept() {
  // Check every edit before writing anything, so a refused value leaves the
  // whole record as it was.
  std::vector<std::optional<double>> numbers(controls_.size());
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const Control& control = controls_[i];
    if (control.edit == nullptr || control.field->kind == OptionField::Kind::Text) continue;
    const FieldReading reading =
        readNumberField(*control.field, control.edit->text().toStdString());
    if (!reading.value) {
      warn_(reading.message);
      control.edit->setFocus();
      control.edit->selectAll();
      return;
    }
    numbers[i] = reading.value;
  }
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const Control& control = controls_[i];
    OptionField& field = *control.field;
    if (control.check != nullptr && field.boolValue != nullptr)
      *field.boolValue = control.check->isChecked();
    if (control.choice != nullptr && field.intValue != nullptr && control.choice->checkedId() >= 0)
      *field.intValue = control.choice->checkedId();
    if (field.kind == OptionField::Kind::Text && field.textValue != nullptr)
      *field.textValue = control.edit->text().toStdString();
    if (numbers[i]) {
      if (field.kind == OptionField::Kind::Int && field.intValue != nullptr)
        *field.intValue = static_cast<int>(*numbers[i]);
      if (field.kind == OptionField::Kind::Float && field.floatValue != nullptr)
        *field.floatValue = static_cast<float>(*numbers[i]);
    }
  }
  QDialog::accept();
}

}  // namespace corvina::window
