#include "schemes/conversion_target.h"

#include <filesystem>
#include <system_error>

#include "schemes/file_replace.h"

namespace lirvane {

ConversionTarget::ConversionTarget(std::string_view target, MessageSink& sink)
    : target_(target), temp_(std::string(target) + "~tmp"), sink_(sink) {}

ConversionTarget::~ConversionTarget() {
  if (created_ && !keep_temp_) {
    file_.Close();  // Windows deletes no file that is still open
    std::error_code ignored;
    std::filesystem::remove(PathFromText(temp_), ignored);
  }
}

ConversionStatus ConversionTarget::Create(std::string_view source) {
  std::error_code ignored;
  if (std::filesystem::equivalent(PathFromText(source), PathFromText(temp_), ignored) ||
      file_.Create(PathFromText(temp_))) {
    sink_.Show(MessageKind::kError, "Невозможно создать файл \"" + target_ + "\"!");
    return ConversionStatus::kCannotCreate;
  }
  created_ = true;
  return ConversionStatus::kOk;
}

ConversionStatus ConversionTarget::Write(std::string_view bytes) {
  if (const std::error_code error = file_.Write(bytes)) {
    sink_.Show(MessageKind::kError, IoFailureText("Cannot write", temp_, error));
    return ConversionStatus::kIoError;
  }
  return ConversionStatus::kOk;
}

ConversionStatus ConversionTarget::Commit() {
  // Replacing a file (the source itself, when converting in place) waits
  // until the new text is on the device, so that a crash leaves the old
  // text or the new one. A new file has nothing to lose: a crash costs at
  // most the file being made, and the conversion runs at copying speed.
  std::error_code exists_error;
  const bool replaces = std::filesystem::exists(PathFromText(target_), exists_error);
  if (const std::error_code error = replaces ? file_.SyncAndClose() : file_.Close()) {
    sink_.Show(MessageKind::kError, IoFailureText("Cannot write", temp_, error));
    return ConversionStatus::kIoError;
  }
  // The converted text is complete from here on; it must survive even if it
  // cannot take the target's name.
  keep_temp_ = true;
  if (RenameOver(PathFromText(temp_), PathFromText(target_))) {
    sink_.Show(MessageKind::kPlain,
               "Error rename \"" + temp_ + "\" to \"" + target_ + "\"");
    return ConversionStatus::kRenameFailed;
  }
  return ConversionStatus::kOk;
}

}  // namespace lirvane
