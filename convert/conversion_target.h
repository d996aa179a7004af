// The file a conversion writes. Its text goes into a temporary file of the
// run's own, named target + "~tmp" + six characters, in the target's
// folder; that file takes the target's name in one rename once it is
// complete (and, when it replaces a file, flushed to the device). So the
// target is never half written, a conversion of a file into itself cannot
// lose it, and two runs into one target each write their own whole text,
// the later rename winning.
//
// The replaced file's permission bits (and owner and group, where the
// process may set them) carry over. A symbolic link stays a link: the file
// it points to is replaced. A target that exists and is no regular file (a
// FIFO, a device, /dev/stdout) is written into directly.
#pragma once

#include <string>
#include <string_view>

#include "convert/conversion_status.h"
#include "base/file_io.h"
#include "base/message_sink.h"
#include "convert/target_path.h"

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
  ConversionStatus Create();
  ConversionStatus Write(std::string_view bytes);
  // Flushes, closes and renames. If the rename fails the converted text
  // stays in the temporary file, which the message names.
  ConversionStatus Commit();
  // For a file repaired in place, whose old text is still there when the
  // rename fails: the temporary file is removed then too.
  void DiscardTextIfRenameFails() { keep_text_on_rename_failure_ = false; }

 private:
  bool WritesDirectly() const;

  std::string target_;
  ResolvedTarget resolved_;
  std::string written_;  // the file actually written, for messages
  MessageSink& sink_;
  OutputFile file_;
  bool created_ = false;
  bool keep_temp_ = false;
  bool keep_text_on_rename_failure_ = true;
};

}  // namespace lirvane
