// The about box: product name, version, the maker's notice and web
// address, and the way to the copyright window. One instance lives for the
// whole run.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace lirvane {

class TGoToWeb;

// The maker's web site: what the about box shows and the address that the
// main window's "Velkor software online" opens.
inline constexpr char kMakerSiteCaption[] = "www.velkor.example";
inline constexpr char kMakerSiteUrl[] = "https://www.velkor.example/";
// The program's own page, opened from the about box's link.
inline constexpr char kLirvanePageUrl[] = "https://www.velkor.example/lirvane/";

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  void OKButtonClick();
  void Label1Click();
  void CopyrigBtnClick();

  QFrame* Panel1 = nullptr;
  QFrame* Bevel1 = nullptr;
  QLabel* ProgramIcon = nullptr;
  QLabel* ProductName = nullptr;
  QLabel* Version = nullptr;
  QLabel* Copyright = nullptr;
  QLabel* Label1 = nullptr;
  QPushButton* OKButton = nullptr;
  QPushButton* CopyrigBtn = nullptr;
  TGoToWeb* GoToWeb = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace lirvane
