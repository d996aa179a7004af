#include "convert/conversion_target.h"

#include <system_error>

#include "base/file_io.h"

namespace lirvane {
namespace {

// Why the target cannot be written, in the words of the message that
// follows "Невозможно создать файл "…"", or empty for the plain message.
std::string_view Reason(const std::error_code& error) {
  if (error == ReplaceRefusal::kForeignLink) return "это ссылка другого пользователя в общей папке";
  if (error == ReplaceRefusal::kForeignFifo) return "это FIFO другого пользователя в общей папке";
  if (error == ReplaceRefusal::kForeignFile) return "это файл другого пользователя в общей папке";
  if (error == std::errc::too_many_symbolic_link_levels) return "ссылки замкнуты в круг";
  if (error == std::errc::is_a_directory) return "это папка";
  if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted ||
      error == std::errc::read_only_file_system || error == std::errc::text_file_busy)
    return "нет прав на запись";
  return {};
}

}  // namespace

ConversionTarget::ConversionTarget(std::string_view target, MessageSink& sink)
    : target_(target), sink_(sink) {}

ConversionStatus ConversionTarget::Create() {
  const std::error_code error = file_.Open(PathFromText(target_));
  if (!error) return ConversionStatus::kOk;
  const std::string_view reason = Reason(error);
  sink_.Show(MessageKind::kError, "Невозможно создать файл \"" + target_ + "\"" +
                                      (reason.empty() ? "" : ": " + std::string(reason)) + "!");
  return error.category() == ReplaceRefusalCategory() ? ConversionStatus::kRefused
                                                      : ConversionStatus::kCannotCreate;
}

ConversionStatus ConversionTarget::WriteFailed(const std::error_code& error) {
  sink_.Show(MessageKind::kError, IoFailureText("Cannot write", file_.WrittenName(), error));
  return ConversionStatus::kIoError;
}

ConversionStatus ConversionTarget::Write(std::string_view bytes) {
  if (const std::error_code error = file_.Write(bytes)) return WriteFailed(error);
  return ConversionStatus::kOk;
}

ConversionStatus ConversionTarget::Commit() {
  const std::error_code error = file_.Commit();
  if (!error) return ConversionStatus::kOk;
  if (!file_.RenameFailed()) return WriteFailed(error);
  if (!keep_text_on_rename_failure_) {
    std::error_code ignored;
    std::filesystem::remove(PathFromText(file_.WrittenName()), ignored);
  }
  sink_.Show(MessageKind::kPlain,
             "Error rename \"" + file_.WrittenName() + "\" to \"" + file_.TargetName() + "\"");
  return ConversionStatus::kRenameFailed;
}

}  // namespace lirvane
