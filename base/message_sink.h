// Where the non-visual code sends the messages a user must see. The windows
// show them as message boxes; a run without a display writes them to
// standard error. Texts are UTF-8.
#pragma once

#include <string_view>

namespace lirvane {

enum class MessageKind {
  kPlain,  // plain message box: the text and one OK button
  kError,  // error box: error icon, one OK button
  kNote,   // a remark on a run that went on: standard error, never a box
};

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Show(MessageKind kind, std::string_view text) = 0;
};

}  // namespace lirvane
