// Writes the starter scheme file that an installed copy ships in
// <prefix>/share/lirvane/starter/circuits.dat, through the program's own writer so
// that its format is the one the program reads: 22 lines per scheme,
// Windows-1251, CR LF. Usage: make_starter_schemes OUTPUT
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "schemes/scheme_file.h"
#include "schemes/scheme_table.h"
#include "recode/utf8_cp1251.h"

namespace {

using lirvane::TCustomCode;

// The captions the scheme editor stores with each code.
std::string Caption(int code) {
  switch (code) {
    case 1251:
      return "Win-1251";
    case 8:
      return "KOI-8-R";
    case 866:
      return "Alt-866";
    case 111:
      return "Macintosh";
    case 595:
      return "ISO8859-5";
  }
  return {};
}

TCustomCode Scheme(std::string_view utf8_name, std::initializer_list<std::pair<int, int>> rules) {
  TCustomCode record = lirvane::NewSchemeRecord(lirvane::ArgumentToWindows1251(utf8_name));
  int k = 0;
  for (const auto& [from, to] : rules) {
    ++k;
    record.From(k) = from;
    record.FromName(k) = Caption(from);
    record.To(k) = to;
    record.ToName(k) = Caption(to);
  }
  record.Count = k;
  return record;
}

class StderrSink final : public lirvane::MessageSink {
 public:
  void Show(lirvane::MessageKind, std::string_view text) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_starter_schemes OUTPUT\n");
    return 2;
  }
  lirvane::SchemeTable table;
  // Between the code pages that still meet each other: mail in KOI8-R,
  // DOS files in 866, old Unix and Mac texts.
  table.AppendScheme(Scheme("Кои в Альт", {{8, 866}}));
  table.AppendScheme(Scheme("Альт в Кои", {{866, 8}}));
  table.AppendScheme(Scheme("Iso в Кои", {{595, 8}}));
  table.AppendScheme(Scheme("Кои в Iso", {{8, 595}}));
  table.AppendScheme(Scheme("Мак в Альт", {{111, 866}}));
  // A KOI8-R letter that went through a KOI8-R reader twice.
  table.AppendScheme(Scheme("Дважды Кои в Win", {{8, 1251}, {8, 1251}}));
  StderrSink sink;
  return lirvane::SaveSchemes(table, argv[1], sink) ? 0 : 1;
}
