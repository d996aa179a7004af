// The file a conversion writes: its text goes into target + "~tmp" in the
// target's folder, which takes the target's name in one rename once it is
// complete and flushed. So the target is never half written, and a
// conversion of a file into itself cannot lose it.
#pragma once

#include <string>
#include <string_view>

#include "schemes/conversion_status.h"
#include "schemes/file_io.h"
#include "schemes/message_sink.h"

namespace lirvane {

class ConversionTarget {
 public:
  // `target` is the name as given; messages show it as it is.
  ConversionTarget(std::string_view target, MessageSink& sink);
  ConversionTarget(const ConversionTarget&) = delete;
  ConversionTarget& operator=(const ConversionTarget&) = delete;
  // An unfinished temporary file holds a partial text: it is removed.
  ~ConversionTarget();

  // Each step shows its own message on failure and returns a status other
  // than kOk; after a failure only the destructor may follow.
  // `source` is the file being converted: a temporary name that already
  // names it (a source called "out.txt~tmp" converted into "out.txt") is
  // refused, since emptying it would destroy the text before it is read.
  ConversionStatus Create(std::string_view source);
  ConversionStatus Write(std::string_view bytes);
  // Flushes, closes and renames. If the rename fails the converted text
  // stays in the temporary file.
  ConversionStatus Commit();

 private:
  std::string target_;
  std::string temp_;
  MessageSink& sink_;
  OutputFile file_;
  bool created_ = false;
  bool keep_temp_ = false;
};

}  // namespace lirvane
