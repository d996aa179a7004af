#include "base/version.h"
#include "ui/copyright_frm.h"

#include <sqlite3.h>

#include <QGuiApplication>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QTextEdit>

#include "platform/dialogs.h"
#include "platform/glyphs.h"
#include "platform/print_document.h"

namespace lirvane {
namespace {

// The year this program was built, from __DATE__ ("Mmm dd yyyy").
QString BuildYear() { return QString::fromLatin1(__DATE__).right(4); }

// SQLite's source id begins with the date of its release.
QString SqliteYear() { return QString::fromLatin1(sqlite3_sourceid()).left(4); }

}  // namespace

QString CopyrightText() {
  const QString qt = QString::fromLatin1(qVersion());
  const QString sqlite = QString::fromLatin1(sqlite3_libversion());
  QString html = QString::fromUtf8(
      "<p><b>Copyright © 1998-2026 Velkor Software. Все права защищены.</b></p>"
      "<p>Программа Lirvane! версии %5 является собственностью компании "
      "Velkor Software, которой принадлежат все имущественные права на неё.</p>"
      "<p>Программа защищена законодательством об авторском праве и "
      "международными договорами.</p>"
      "<p>Программа распространяется бесплатно. Её можно свободно копировать и "
      "передавать другим при условии, что она остаётся неизменной и за неё не "
      "взимается плата.</p>"
      "<p>Velkor, Lirvane и Lirvane! являются товарными знаками Velkor Software. "
      "Прочие названия продуктов и компаний могут быть товарными знаками их "
      "владельцев.</p>"
      "<hr>"
      "<p><b>Copyright © 1998-2026 Velkor Software. All rights reserved.</b></p>"
      "<p>Lirvane! version %5 is the property of Velkor Software, which owns "
      "all rights to it.</p>"
      "<p>This program is protected by copyright law and international "
      "treaties.</p>"
      "<p>This program is distributed free of charge. You may copy it and pass it "
      "on freely, provided that it stays unchanged and no fee is charged for "
      "it.</p>"
      "<p>Velkor, Lirvane and Lirvane! are trademarks of Velkor Software. Other "
      "product and company names may be trademarks of their respective "
      "owners.</p>"
      "<hr>"
      "<p><b>В программе использованы / This program uses:</b></p>"
      "<p>Qt %1, © %2 The Qt Company Ltd. и другие участники / and other "
      "contributors, GNU LGPL 3.</p>"
      "<p>SQLite %3, %4, общественное достояние / public domain.</p>"
      "<p>Velkor Recode — библиотека перекодировок / recoding library %5, "
      "© 1998-2026 Velkor Software.</p>"
      "<p>Velkor Dock — панели инструментов / toolbar widgets %5, "
      "© 1999-2026 Velkor Software.</p>"
      "<hr>"
      "<p>Автор программы — Андрей Велкоров. / Written by Andrey Velkorov.</p>");
  return html.arg(qt, BuildYear(), sqlite, SqliteYear(), QLatin1String(kProgramVersion));
}

TCopyrightFrm::TCopyrightFrm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
  setObjectName("CopyrightFrm");
  setWindowTitle(QString::fromLatin1(kCopyrightJobTitle));
  setWindowIcon(AppIcon());
  setFixedSize(302, 344);
  QFont f(QStringLiteral("MS Sans Serif"));
  f.setPointSize(8);
  setFont(f);

  Memo1 = new QTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setGeometry(8, 8, 286, 296);
  Memo1->setReadOnly(true);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QPalette face = Memo1->palette();
  face.setColor(QPalette::Base, face.color(QPalette::Window));
  Memo1->setPalette(face);
  Memo1->setHtml(CopyrightText());

  Button2 = new QPushButton(QString::fromUtf8("&Печать..."), this);
  Button2->setObjectName("Button2");
  Button2->setGeometry(8, 312, 75, 25);
  Button2->setAutoDefault(false);
  connect(Button2, &QPushButton::clicked, this, &TCopyrightFrm::Button2Click);
  Button1 = new QPushButton(QStringLiteral("&Ok"), this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(219, 312, 75, 25);
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &TCopyrightFrm::Button1Click);

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void TCopyrightFrm::Button1Click() { accept(); }

void TCopyrightFrm::Button2Click() {
  QPrinter printer(QPrinter::HighResolution);
  ClearPageMargins(printer);
  if (!print_output_file_.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(print_output_file_);
  }
  if (!AppDialogs().PrintDialog(this, printer)) return;
  PrintText(printer);
}

void TCopyrightFrm::PrintText(QPrinter& printer) const {
  printer.setDocName(QString::fromLatin1(kCopyrightJobTitle));
  PrintFullPage(*Memo1->document(), printer);
}

}  // namespace lirvane
