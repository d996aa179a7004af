// The scheme-name dialog: asks for the name under which the new scheme is
// saved. The edit keeps its text from one use to the next.
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;

namespace lirvane {

class TNameFrm : public QDialog {
  Q_OBJECT

 public:
  explicit TNameFrm(QWidget* parent = nullptr);

  // Shows the dialog modally; true when the name was accepted.
  bool Execute();

  void FormShow();
  void StopBtnClick();
  void Button1Click();

  // The name last accepted, as Windows-1251 bytes.
  const std::string& SchemeName() const { return scheme_name_; }

  QLineEdit* NameEd = nullptr;
  QPushButton* StopBtn = nullptr;
  QPushButton* Button1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::string scheme_name_;
};

}  // namespace lirvane
