#include "convert/conversion_target.h"

#include <filesystem>
#include <system_error>

#include "base/file_replace.h"

namespace lirvane {
namespace {

// target + "~tmp", with the target's own name cut short where the six
// characters that follow would make it longer than a name may be.
std::string TemporaryPrefix(const std::filesystem::path& target) {
  constexpr size_t kLongestName = 255;
  constexpr size_t kAdded = 4 + 6;  // "~tmp" and the run's own characters
  std::string name = PathToText(target.filename());
  if (name.size() > kLongestName - kAdded) name.resize(kLongestName - kAdded);
  return PathToText(target.parent_path() / PathFromText(name)) + "~tmp";
}

}  // namespace

ConversionTarget::ConversionTarget(std::string_view target, MessageSink& sink)
    : target_(target), sink_(sink) {}

ConversionTarget::~ConversionTarget() {
  if (created_ && !keep_temp_ && !WritesDirectly()) {
    file_.Close();  // Windows deletes no file that is still open
    std::error_code ignored;
    std::filesystem::remove(PathFromText(written_), ignored);
  }
}

bool ConversionTarget::WritesDirectly() const {
  return resolved_.kind == ResolvedTarget::Kind::kWriteInto ||
         resolved_.kind == ResolvedTarget::Kind::kDescriptor;
}

ConversionStatus ConversionTarget::Create() {
  resolved_ = ResolveTarget(target_);
  std::error_code error;
  if (resolved_.kind == ResolvedTarget::Kind::kDescriptor) {
    written_ = target_;
    error = file_.AdoptDescriptor(resolved_.descriptor);
  } else if (resolved_.kind == ResolvedTarget::Kind::kWriteInto) {
    written_ = target_;
    error = file_.OpenExisting(resolved_.path);
  } else {
    std::filesystem::path temp;
    error = file_.CreateUnique(TemporaryPrefix(resolved_.path), temp);
    written_ = PathToText(temp);
  }
  if (error) {
    sink_.Show(MessageKind::kError, "Невозможно создать файл \"" + target_ + "\"!");
    return ConversionStatus::kCannotCreate;
  }
  created_ = true;
  return ConversionStatus::kOk;
}

ConversionStatus ConversionTarget::Write(std::string_view bytes) {
  if (const std::error_code error = file_.Write(bytes)) {
    sink_.Show(MessageKind::kError, IoFailureText("Cannot write", written_, error));
    return ConversionStatus::kIoError;
  }
  return ConversionStatus::kOk;
}

ConversionStatus ConversionTarget::Commit() {
  if (WritesDirectly()) {
    if (const std::error_code error = file_.Close()) {
      sink_.Show(MessageKind::kError, IoFailureText("Cannot write", written_, error));
      return ConversionStatus::kIoError;
    }
    return ConversionStatus::kOk;
  }
  // Replacing a file (the source itself, when converting in place) waits
  // until the new text is on the device, so that a crash leaves the old
  // text or the new one. A new file has nothing to lose: a crash costs at
  // most the file being made, and the conversion runs at copying speed.
  const bool replaces = resolved_.kind == ResolvedTarget::Kind::kRegularFile;
  std::error_code error =
      replaces ? file_.KeepOwnerAndMode(resolved_.kept) : file_.SetNewFileMode();
  if (!error) error = replaces ? file_.SyncAndClose() : file_.Close();
  if (error) {
    sink_.Show(MessageKind::kError, IoFailureText("Cannot write", written_, error));
    return ConversionStatus::kIoError;
  }
  // The converted text is complete from here on; it must survive even if it
  // cannot take the target's name.
  keep_temp_ = true;
  if (RenameOver(PathFromText(written_), resolved_.path)) {
    keep_temp_ = keep_text_on_rename_failure_;
    sink_.Show(MessageKind::kPlain,
               "Error rename \"" + written_ + "\" to \"" + PathToText(resolved_.path) + "\"");
    return ConversionStatus::kRenameFailed;
  }
  return ConversionStatus::kOk;
}

}  // namespace lirvane
