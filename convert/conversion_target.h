// The file a conversion writes, replaced as base/file_replace.h describes:
// never half written, never through another user's link, FIFO or file in a
// shared folder, and with no temporary file left behind. Each failure is
// shown as a message and given its exit status.
#pragma once

#include <string>
#include <string_view>

#include "base/file_replace.h"
#include "base/message_sink.h"
#include "convert/conversion_status.h"

namespace lirvane {

class ConversionTarget {
 public:
  // `target` is the name as given; messages show it as it is.
  ConversionTarget(std::string_view target, MessageSink& sink);
  ConversionTarget(const ConversionTarget&) = delete;
  ConversionTarget& operator=(const ConversionTarget&) = delete;

  // Each step shows its own message on failure and returns a status other
  // than kOk; after a failure only the destructor may follow, which
  // removes a temporary file that holds a partial text.
  ConversionStatus Create();
  ConversionStatus Write(std::string_view bytes);
  // Completes the file. If the rename fails the converted text stays in
  // the temporary file, which the message names.
  ConversionStatus Commit();
  // For a file repaired in place, whose old text is still there when the
  // rename fails: the temporary file is removed then too.
  void DiscardTextIfRenameFails() { keep_text_on_rename_failure_ = false; }

 private:
  ConversionStatus WriteFailed(const std::error_code& error);

  std::string target_;
  MessageSink& sink_;
  FileReplacement file_;
  bool keep_text_on_rename_failure_ = true;
};

}  // namespace lirvane
