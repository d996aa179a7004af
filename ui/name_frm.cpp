#include "ui/name_frm.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "platform/dialogs.h"
#include "platform/pane_text_codec.h"

namespace lirvane {

TNameFrm::TNameFrm(QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
  setObjectName("NameFrm");
  setWindowTitle(QString::fromUtf8("Ведите имя схемы"));
  setFixedSize(186, 69);
  QFont f(QStringLiteral("MS Sans Serif"));
  f.setPointSize(8);
  setFont(f);

  NameEd = new QLineEdit(this);
  NameEd->setObjectName("NameEd");
  NameEd->setGeometry(8, 8, 170, 21);
  Button1 = new QPushButton(QString::fromUtf8("&Отмена"), this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(8, 40, 75, 23);
  Button1->setAutoDefault(false);
  StopBtn = new QPushButton(QString::fromUtf8("&Принять"), this);
  StopBtn->setObjectName("StopBtn");
  StopBtn->setGeometry(104, 40, 75, 23);
  StopBtn->setDefault(true);
  setTabOrder(NameEd, StopBtn);
  setTabOrder(StopBtn, Button1);
  connect(StopBtn, &QPushButton::clicked, this, &TNameFrm::StopBtnClick);
  // Esc rejects a QDialog, as the cancel button does.
  connect(Button1, &QPushButton::clicked, this, &TNameFrm::Button1Click);

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

bool TNameFrm::Execute() {
  FormShow();
  return AppDialogs().ExecModal(*this) == QDialog::Accepted;
}

void TNameFrm::FormShow() { setResult(QDialog::Rejected); }

void TNameFrm::showEvent(QShowEvent* event) {
  FormShow();
  NameEd->setFocus();
  QDialog::showEvent(event);
}

void TNameFrm::StopBtnClick() {
  scheme_name_ = PaneTextToBytes(NameEd->text());
  accept();
}

void TNameFrm::Button1Click() { reject(); }

}  // namespace lirvane
