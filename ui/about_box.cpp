#include "base/version.h"
#include "ui/about_box.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <memory>

#include "platform/dialogs.h"
#include "platform/glyphs.h"
#include "ui/copyright_frm.h"
#include "ui/go_to_web.h"
#include "ui/help_topics.h"

namespace lirvane {
namespace {

QLabel* CentredLabel(QWidget* parent, const char* name, const QString& text, int top) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignCenter);
  label->setGeometry(8, top, 249, 18);
  return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("AboutBox");
  setWindowTitle(QStringLiteral("About..."));
  setFixedSize(369, 177);
  QFont f(QStringLiteral("MS Sans Serif"));
  f.setPointSize(8);
  setFont(f);
  SetHelpTopic(this, kAboutBoxTopic);

  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setGeometry(8, 8, 265, 161);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setAutoFillBackground(true);
  QPalette white = Panel1->palette();
  white.setColor(QPalette::Window, Qt::white);
  white.setColor(QPalette::WindowText, Qt::black);
  Panel1->setPalette(white);
  Bevel1 = new QFrame(Panel1);
  Bevel1->setObjectName("Bevel1");
  Bevel1->setGeometry(4, 4, 257, 153);
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);

  ProgramIcon = new QLabel(Panel1);
  ProgramIcon->setObjectName("ProgramIcon");
  ProgramIcon->setGeometry((265 - 150) / 2, 10, 150, 60);
  ProgramIcon->setPixmap(Logo(150, 60));

  ProductName = CentredLabel(Panel1, "ProductName", QStringLiteral("Lirvane!"), 74);
  QFont bold = ProductName->font();
  bold.setBold(true);
  ProductName->setFont(bold);
  Version = CentredLabel(Panel1, "Version",
                         QStringLiteral("Version ") + QLatin1String(kProgramVersion), 94);
  Copyright = CentredLabel(Panel1, "Copyright",
                           QString::fromUtf8("Copyright © 1998-2026 Velkor Software"), 112);
  Label1 = CentredLabel(Panel1, "Label1", QString::fromLatin1(kMakerSiteCaption), 134);
  QFont link = Label1->font();
  link.setUnderline(true);
  Label1->setFont(link);
  QPalette navy = Label1->palette();
  navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
  Label1->setPalette(navy);
  Label1->setCursor(Qt::PointingHandCursor);
  Label1->installEventFilter(this);

  OKButton = new QPushButton(QStringLiteral("Ok"), this);
  OKButton->setObjectName("OKButton");
  OKButton->setGeometry(286, 8, 75, 25);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
  CopyrigBtn = new QPushButton(QStringLiteral("&Copyright..."), this);
  CopyrigBtn->setObjectName("CopyrigBtn");
  CopyrigBtn->setGeometry(286, 40, 75, 25);
  CopyrigBtn->setToolTip(QString::fromUtf8("Авторские права"));
  CopyrigBtn->setAutoDefault(false);
  connect(CopyrigBtn, &QPushButton::clicked, this, &TAboutBox::CopyrigBtnClick);

  GoToWeb = new TGoToWeb(this);
  GoToWeb->setObjectName("GoToWeb");
  GoToWeb->SetUrl(QString::fromLatin1(kMakerSiteUrl));

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void TAboutBox::OKButtonClick() { accept(); }

void TAboutBox::Label1Click() {
  // The label shows the maker's site but leads to the program's own page;
  // the address stays set for later clicks.
  GoToWeb->SetUrl(QString::fromLatin1(kLirvanePageUrl));
  GoToWeb->OpenUrl();
}

void TAboutBox::CopyrigBtnClick() {
  // A new window each time, gone as soon as it is closed.
  auto copyright = std::make_unique<TCopyrightFrm>(this);
  AppDialogs().ExecModal(*copyright);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Label1 && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
      Label1->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
    Label1Click();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace lirvane
