#include "schemes/conversion_target.h"

#include <filesystem>
#include <system_error>

namespace lirvane {

ConversionTarget::ConversionTarget(std::string_view target, MessageSink& sink)
    : target_(target), temp_(std::string(target) + "~tmp"), sink_(sink) {}

ConversionTarget::~ConversionTarget() {
  if (created_ && !keep_temp_) {
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
  if (const std::error_code error = file_.SyncAndClose()) {
    sink_.Show(MessageKind::kError, IoFailureText("Cannot write", temp_, error));
    return ConversionStatus::kIoError;
  }
  // The converted text is complete from here on; it must survive even if it
  // cannot take the target's name.
  keep_temp_ = true;
  std::error_code error;
  std::filesystem::rename(PathFromText(temp_), PathFromText(target_), error);
  if (error) {
    sink_.Show(MessageKind::kPlain,
               "Error rename \"" + temp_ + "\" to \"" + target_ + "\"");
    return ConversionStatus::kRenameFailed;
  }
  return ConversionStatus::kOk;
}

}  // namespace lirvane
