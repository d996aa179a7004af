// The program-wide options that several windows read, with their values at
// every start (the settings load may replace them).
#pragma once

#include <QString>

#include "platform/system_encoding.h"

namespace lirvane {

struct ProgramOptions {
  bool show_pictures = true;  // recoding buttons show their pictures
  bool show_captions = true;  // recoding buttons show their captions
  bool print_dialog = true;   // Print shows the print dialog first
  int code_bar_row = 0;       // remembered dock rows of the toolbars
  int file_bar_row = 1;
  int path_bar_row = 1;
  int normal_font_size = 10;  // the right pane's normal font
  QString normal_font_name = QStringLiteral("Arial Cyr");
  // "Файлы в UTF-8": files open as UTF-8 when they are, and save as UTF-8.
  // On where the system itself keeps its texts in UTF-8.
  bool utf8_files = SystemEncodingIsUtf8();
};

}  // namespace lirvane
