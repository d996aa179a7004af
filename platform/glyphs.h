// The program's own pictures, drawn in code so that they scale and need no
// image files.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <vector>

namespace lirvane {

// The nine 44 x 20 pictures of the recoding buttons, in button order
// (Koi->Win, Win->Koi, Alt->Win, Win->Alt, Koi>>Win, Iso->Win, Mac->Win,
// Uni->Win, scheme).
std::vector<QPixmap> RecodingButtonPictures();

enum class FileGlyph {
  kNew,
  kOpen,
  kPaste,
  kCopy,
  kSave,
  kPrint,
  kReload,
  kRemember,
  kSwap,
  kOpenFromList,
};

// 16 x 15 pictures of the file toolbar (20 x 19 for kOpenFromList).
QIcon FileBarIcon(FileGlyph glyph);

// The application's icon (window, tray, about box).
QIcon AppIcon();
QPixmap Logo(int width, int height);

// The 44 x 20 picture of the "Авто" recoding button.
QPixmap AutoRecodingPicture();

}  // namespace lirvane
