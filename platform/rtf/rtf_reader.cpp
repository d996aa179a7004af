#include "platform/rtf/rtf_reader.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/rtf/rtf_code_pages.h"
#include "recode/cp1251_unicode.h"
#include "recode/utf8.h"

namespace lirvane {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Where the document's first group opens, if it is rich text at all.
std::optional<size_t> RtfStart(std::string_view document) {
  size_t i = document.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  while (i < document.size() &&
         (document[i] == ' ' || document[i] == '\t' || document[i] == '\r' || document[i] == '\n'))
    ++i;
  if (document.substr(i, 5) != "{\\rtf") return std::nullopt;
  if (i + 5 < document.size() && IsAsciiLetter(document[i + 5])) return std::nullopt;
  return i;
}

enum class Destination : uint8_t { kBody, kFontTable, kSkip };

enum class Action : uint8_t {
  kSkipDestination,  // a group that holds no body text
  kFontTable,
  kParagraphMark,
  kLineBreak,
  kTab,
  kCharacter,
  kAnsiCodePage,
  kDefaultFont,
  kFont,
  kFontCharset,
  kFontCodePage,
  kPlain,
  kUnicodeFallbackCount,
  kUnicode,
  kBinary,
};

struct Keyword {
  Action action;
  char32_t character = 0;  // for kCharacter
};

const std::unordered_map<std::string_view, Keyword>& Keywords() {
  static const std::unordered_map<std::string_view, Keyword> keywords = [] {
    std::unordered_map<std::string_view, Keyword> k;
    for (std::string_view word : {"colortbl",
                                  "stylesheet",
                                  "info",
                                  "pict",
                                  "object",
                                  "fldinst",
                                  "header",
                                  "headerl",
                                  "headerr",
                                  "headerf",
                                  "footer",
                                  "footerl",
                                  "footerr",
                                  "footerf",
                                  "footnote",
                                  "annotation",
                                  "atnid",
                                  "atnauthor",
                                  "atndate",
                                  "atnref",
                                  "listtable",
                                  "listoverridetable",
                                  "rsidtbl",
                                  "generator",
                                  "xmlnstbl",
                                  "themedata",
                                  "datastore",
                                  "latentstyles",
                                  "colorschememapping",
                                  "filetbl",
                                  "revtbl",
                                  "pgdsctbl",
                                  "userprops",
                                  "docvar",
                                  "template",
                                  "pn",
                                  "pntxta",
                                  "pntxtb",
                                  "shp",
                                  "shpinst",
                                  "sp",
                                  "sn",
                                  "sv",
                                  "nonshppict",
                                  "shppict",
                                  "do",
                                  "comment",
                                  "title",
                                  "subject",
                                  "author",
                                  "operator",
                                  "keywords",
                                  "doccomm",
                                  "company",
                                  "manager",
                                  "category",
                                  "hlinkbase",
                                  "xe",
                                  "tc",
                                  "tcn",
                                  "txe",
                                  "rxe",
                                  "bkmkstart",
                                  "bkmkend",
                                  "objdata",
                                  "objclass",
                                  "objname",
                                  "formfield",
                                  "datafield",
                                  "fname",
                                  "falt",
                                  "panose",
                                  "ftnsep",
                                  "ftnsepc",
                                  "ftncn",
                                  "aftnsep",
                                  "aftnsepc",
                                  "aftncn",
                                  "passwordhash",
                                  "protusertbl",
                                  "mhtmltag",
                                  "htmltag",
                                  "wgrffmtfilter",
                                  "blipuid"})
      k.emplace(word, Keyword{Action::kSkipDestination});
    k.emplace("fonttbl", Keyword{Action::kFontTable});
    for (std::string_view word : {"par", "sect", "page"})
      k.emplace(word, Keyword{Action::kParagraphMark});
    for (std::string_view word : {"line", "row", "nestrow"})
      k.emplace(word, Keyword{Action::kLineBreak});
    for (std::string_view word : {"tab", "cell", "nestcell"})
      k.emplace(word, Keyword{Action::kTab});
    const std::pair<std::string_view, char32_t> characters[] = {
        {"emdash", 0x2014}, {"endash", 0x2013},    {"bullet", 0x2022},    {"lquote", 0x2018},
        {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", ' '},
        {"enspace", ' '},   {"qmspace", ' '}};
    for (const auto& [word, c] : characters) k.emplace(word, Keyword{Action::kCharacter, c});
    k.emplace("ansicpg", Keyword{Action::kAnsiCodePage});
    k.emplace("deff", Keyword{Action::kDefaultFont});
    k.emplace("f", Keyword{Action::kFont});
    k.emplace("fcharset", Keyword{Action::kFontCharset});
    k.emplace("cpg", Keyword{Action::kFontCodePage});
    k.emplace("plain", Keyword{Action::kPlain});
    k.emplace("uc", Keyword{Action::kUnicodeFallbackCount});
    k.emplace("u", Keyword{Action::kUnicode});
    k.emplace("bin", Keyword{Action::kBinary});
    return k;
  }();
  return keywords;
}

struct GroupState {
  Destination destination = Destination::kBody;
  int32_t font = -1;           // -1: the document's default font
  int32_t fallback_chars = 1;  // \ucN: characters that follow each \uN
};

struct FontCodePage {
  int from_charset = kDocumentCodePage;
  int from_cpg = 0;  // \cpg wins over \fcharset when given
};

class Reader {
 public:
  Reader(std::string_view document, bool utf8) : doc_(document), utf8_(utf8) {}

  std::optional<std::string> Read(size_t start) {
    pos_ = start;
    while (pos_ < doc_.size()) {
      const char c = doc_[pos_];
      if (c == '{') {
        ++pos_;
        pending_fallback_ = 0;
        groups_.push_back(groups_.empty() ? GroupState{} : groups_.back());
      } else if (c == '}') {
        ++pos_;
        pending_fallback_ = 0;
        groups_.pop_back();
        if (groups_.empty()) break;  // the document's last brace
      } else if (c == '\\') {
        ReadControl();
      } else {
        ++pos_;
        OnRawByte(static_cast<uint8_t>(c));
      }
    }
    // Cut short before any text of its body (inside the font table, say):
    // nothing of it reads as rich text.
    EndPendingSurrogate();
    if (!groups_.empty() && out_.empty()) return std::nullopt;
    // The last paragraph's mark ends it; it is not an empty line after it.
    if (ended_by_paragraph_mark_) out_.resize(out_.size() - 2);
    return std::move(out_);
  }

 private:
  GroupState& Group() { return groups_.back(); }

  // True when the token just read is part of a \uN fallback and is dropped.
  bool SwallowedAsFallback() {
    if (pending_fallback_ == 0) return false;
    --pending_fallback_;
    return true;
  }

  void ReadControl() {
    ++pos_;  // the backslash
    if (pos_ >= doc_.size()) return;
    const char c = doc_[pos_];
    if (IsAsciiLetter(c)) {
      const size_t start = pos_;
      while (pos_ < doc_.size() && IsAsciiLetter(doc_[pos_])) ++pos_;
      const std::string_view word = doc_.substr(start, pos_ - start);
      bool negative = false;
      if (pos_ + 1 < doc_.size() && doc_[pos_] == '-' && IsDigit(doc_[pos_ + 1])) {
        negative = true;
        ++pos_;
      }
      bool has_param = false;
      int64_t param = 0;
      for (; pos_ < doc_.size() && IsDigit(doc_[pos_]); ++pos_) {
        has_param = true;
        param = std::min<int64_t>(param * 10 + (doc_[pos_] - '0'), INT32_MAX);
      }
      if (pos_ < doc_.size() && doc_[pos_] == ' ') ++pos_;  // the delimiter
      OnControlWord(word, has_param, static_cast<int32_t>(negative ? -param : param));
    } else if (c == '\'') {
      ++pos_;
      int value = 0, digits = 0;
      for (; digits < 2 && pos_ < doc_.size() && HexValue(doc_[pos_]) >= 0; ++digits, ++pos_)
        value = value * 16 + HexValue(doc_[pos_]);
      if (digits == 2) OnHexByte(static_cast<uint8_t>(value));  // else a cut-off escape
    } else {
      ++pos_;
      OnControlSymbol(c);
    }
  }

  void OnControlWord(std::string_view word, bool has_param, int32_t param) {
    const auto found = Keywords().find(word);
    const bool known = found != Keywords().end();
    const Action action = known ? found->second.action : Action::kCharacter;
    if (known && action == Action::kBinary) {
      // The data is never text, whatever group it stands in.
      SwallowedAsFallback();
      const size_t length = has_param && param > 0 ? static_cast<size_t>(param) : 0;
      pos_ += std::min(length, doc_.size() - pos_);
      return;
    }
    if (Group().destination == Destination::kSkip) return;
    if (Group().destination == Destination::kFontTable) {
      if (known) OnFontTableWord(action, has_param, param);
      return;
    }
    if (SwallowedAsFallback() || !known) return;
    switch (action) {
      case Action::kSkipDestination:
        Group().destination = Destination::kSkip;
        break;
      case Action::kFontTable:
        Group().destination = Destination::kFontTable;
        break;
      case Action::kParagraphMark:
        EmitLineBreak(/*paragraph_mark=*/true);
        break;
      case Action::kLineBreak:
        EmitLineBreak(/*paragraph_mark=*/false);
        break;
      case Action::kTab:
        EmitByte('\t');
        break;
      case Action::kCharacter:
        EmitCharacter(found->second.character);
        break;
      case Action::kAnsiCodePage:
        if (has_param && param > 0) document_code_page_ = param;
        break;
      case Action::kDefaultFont:
        default_font_ = has_param ? param : 0;
        break;
      case Action::kFont:
        Group().font = has_param ? param : 0;
        break;
      case Action::kPlain:
        Group().font = -1;
        break;
      case Action::kUnicodeFallbackCount:
        Group().fallback_chars = has_param && param > 0 ? param : 0;
        break;
      case Action::kUnicode: {
        // A 16-bit signed parameter: negative values stand for 32768-65535.
        const int64_t code = param < 0 ? int64_t{param} + 65536 : param;
        EmitCharacter(code >= 0 && code <= 0x10FFFF ? static_cast<char32_t>(code) : 0xFFFD);
        pending_fallback_ = Group().fallback_chars;
        break;
      }
      case Action::kFontCharset:
      case Action::kFontCodePage:
      case Action::kBinary:
        break;
    }
  }

  void OnFontTableWord(Action action, bool has_param, int32_t param) {
    switch (action) {
      case Action::kSkipDestination:
        Group().destination = Destination::kSkip;
        break;
      case Action::kFont:
        defined_font_ = has_param ? param : 0;
        break;
      case Action::kFontCharset:
        if (defined_font_ && has_param)
          fonts_[*defined_font_].from_charset = CodePageOfCharset(param);
        break;
      case Action::kFontCodePage:
        if (defined_font_ && has_param) fonts_[*defined_font_].from_cpg = param;
        break;
      default:
        break;
    }
  }

  void OnControlSymbol(char c) {
    if (Group().destination != Destination::kBody) {
      if (c == '*') Group().destination = Destination::kSkip;
      return;
    }
    if (SwallowedAsFallback()) return;
    switch (c) {
      case '\\':
      case '{':
      case '}':
        EmitByte(c);
        break;
      case '~':
        EmitCharacter(0x00A0);
        break;
      case '-':
        EmitCharacter(0x00AD);
        break;
      case '_':
        EmitByte('-');  // Windows-1251 has no non-breaking hyphen
        break;
      case '*':
        Group().destination = Destination::kSkip;
        break;
      case '\r':
      case '\n':
        EmitLineBreak(/*paragraph_mark=*/true);  // "\" before a line end is \par
        break;
      default:
        break;
    }
  }

  void OnHexByte(uint8_t byte) {
    if (Group().destination != Destination::kBody || SwallowedAsFallback()) return;
    EmitCharacter(DecodeCodePageByte(CurrentCodePage(), byte));
  }

  void OnRawByte(uint8_t byte) {
    if (byte == '\r' || byte == '\n') return;  // line ends in the source mean nothing
    if (Group().destination != Destination::kBody || SwallowedAsFallback()) return;
    if (byte == '\t') {
      EmitByte('\t');
    } else if (byte >= 0x20) {
      EmitCharacter(DecodeCodePageByte(CurrentCodePage(), byte));
    }
  }

  int CurrentCodePage() const {
    const int32_t font = groups_.back().font < 0 ? default_font_ : groups_.back().font;
    int code_page = kDocumentCodePage;
    if (const auto it = fonts_.find(font); it != fonts_.end())
      code_page = it->second.from_cpg > 0 ? it->second.from_cpg : it->second.from_charset;
    return code_page == kDocumentCodePage ? document_code_page_ : code_page;
  }

  void EmitByte(char b) {
    EndPendingSurrogate();
    out_.push_back(b);
    ended_by_paragraph_mark_ = false;
    after_high_surrogate_ = false;
  }

  void EmitLineBreak(bool paragraph_mark) {
    EndPendingSurrogate();
    out_.append("\r\n");
    ended_by_paragraph_mark_ = paragraph_mark;
    after_high_surrogate_ = false;
  }

  void EmitCharacter(char32_t c) {
    if (utf8_) return EmitUtf8Character(c);
    // A surrogate pair is one character, so one '?'.
    if (c >= 0xDC00 && c <= 0xDFFF && after_high_surrogate_) {
      after_high_surrogate_ = false;
      return;
    }
    const bool high_surrogate = c >= 0xD800 && c <= 0xDBFF;
    if (c == '\r' || c == '\n') return;  // lines break only at \par and its kin
    const int byte = UnicodeToCp1251(c);
    EmitByte(byte < 0 ? '?' : static_cast<char>(byte));
    after_high_surrogate_ = high_surrogate;
  }

  // \uN gives a character beyond 16 bits as two halves, high first.
  void EmitUtf8Character(char32_t c) {
    if (c == '\r' || c == '\n') return;
    if (c >= 0xDC00 && c <= 0xDFFF && pending_high_ != 0) {
      c = 0x10000 + ((pending_high_ - 0xD800) << 10) + (c - 0xDC00);
      pending_high_ = 0;
    }
    EndPendingSurrogate();
    if (c >= 0xD800 && c <= 0xDBFF) {
      pending_high_ = c;
    } else {
      AppendUtf8(out_, c >= 0xDC00 && c <= 0xDFFF ? char32_t{0xFFFD} : c);
    }
    ended_by_paragraph_mark_ = false;
  }

  // A high half with no low half after it stands for no character.
  void EndPendingSurrogate() {
    if (pending_high_ == 0) return;
    pending_high_ = 0;
    AppendUtf8(out_, 0xFFFD);
  }

  std::string_view doc_;
  bool utf8_ = false;
  char32_t pending_high_ = 0;
  size_t pos_ = 0;
  std::vector<GroupState> groups_;
  std::unordered_map<int32_t, FontCodePage> fonts_;
  std::optional<int32_t> defined_font_;  // the font table entry being read
  int32_t default_font_ = 0;
  int document_code_page_ = 1252;
  int32_t pending_fallback_ = 0;
  bool ended_by_paragraph_mark_ = false;
  bool after_high_surrogate_ = false;
  std::string out_;
};

}  // namespace

std::optional<std::string> ReadRtfText(std::string_view document) {
  const std::optional<size_t> start = RtfStart(document);
  if (!start) return std::nullopt;
  return Reader(document, /*utf8=*/false).Read(*start);
}

std::optional<std::string> ReadRtfTextUtf8(std::string_view document) {
  const std::optional<size_t> start = RtfStart(document);
  if (!start) return std::nullopt;
  return Reader(document, /*utf8=*/true).Read(*start);
}

}  // namespace lirvane
