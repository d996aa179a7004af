// Messages of a run without a display: one UTF-8 line each on standard
// error, in the same words the message boxes use.
#pragma once

#include <cstdio>
#include <string>

#include "base/message_sink.h"

namespace lirvane {

class StderrMessageSink : public MessageSink {
 public:
  void Show(MessageKind, std::string_view text) override {
    std::string line(text);
    for (char& c : line)
      if (c == '\n' || c == '\r') c = ' ';
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
  }
};

}  // namespace lirvane
