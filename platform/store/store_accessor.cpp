#include "platform/store/store_accessor.h"

#include <optional>
#include <utility>

#include "platform/store/store_backend.h"
#include "platform/store/store_names.h"

namespace lirvane {

struct StoreAccessor::State {
  std::unique_ptr<StoreBackend> backend;
  StoreRoot root = StoreRoot::kLocalMachine;
  // Normalised path of the open key, "" for the root; nothing when closed.
  std::optional<std::string> key;
  bool read_only = false;
};

namespace {

std::string Message(const char* what, std::string_view name) {
  std::string text = what;
  text += " '";
  text += name;
  text += "'";
  return text;
}

[[noreturn]] void FailGet(std::string_view name) {
  throw StoreError(Message("Failed to get data for", name));
}
[[noreturn]] void FailType(std::string_view name) {
  throw StoreError(Message("Invalid data type for", name));
}
[[noreturn]] void FailSet(std::string_view name) {
  throw StoreError(Message("Failed to set data for", name));
}

}  // namespace

StoreAccessor::StoreAccessor(std::unique_ptr<StoreBackend> backend)
    : state_(std::make_unique<State>()) {
  state_->backend = std::move(backend);
}

StoreAccessor::~StoreAccessor() = default;

void StoreAccessor::SetRoot(StoreRoot root) {
  if (root == state_->root) return;
  state_->root = root;
  state_->key.reset();
  state_->read_only = false;
}

StoreRoot StoreAccessor::Root() const { return state_->root; }

bool StoreAccessor::OpenKey(std::string_view path, bool create) {
  State& s = *state_;
  std::string full;
  if (!path.empty() && path.front() != '\\' && s.key && !s.key->empty()) {
    full = *s.key + '\\' + std::string(path);
  } else {
    full = std::string(path);
  }
  full = NormalizeStorePath(full);

  bool read_only;
  if (create && s.backend->CreateKey(s.root, full)) {
    read_only = false;
  } else if (s.backend->KeyExists(s.root, full)) {
    // Reached also when creating was refused for a key that is already
    // there: reading it still works, and its writes fail loudly instead of
    // landing in whatever key was current before.
    read_only = !s.backend->KeyWritable(s.root, full);
  } else {
    return false;
  }
  s.key = std::move(full);
  s.read_only = read_only;
  return true;
}

std::string StoreAccessor::CurrentKey() const {
  if (!state_->key) return {};
  return '\\' + *state_->key;
}

bool StoreAccessor::CurrentKeyReadOnly() const { return state_->key && state_->read_only; }

int32_t StoreAccessor::ReadInteger(std::string_view name) {
  if (!state_->key) FailGet(name);
  StoreReadResult r = state_->backend->ReadValue(state_->root, *state_->key, name);
  if (r.status != StoreReadStatus::kFound) FailGet(name);
  if (r.value.kind != StoreValueKind::kInteger) FailType(name);
  return r.value.integer;
}

bool StoreAccessor::ReadBool(std::string_view name) { return ReadInteger(name) != 0; }

std::string StoreAccessor::ReadString(std::string_view name) {
  if (!state_->key) return {};
  StoreReadResult r = state_->backend->ReadValue(state_->root, *state_->key, name);
  switch (r.status) {
    case StoreReadStatus::kMissing:
      return {};
    case StoreReadStatus::kFailed:
      // A store that cannot be read is not an empty value.
      FailGet(name);
    case StoreReadStatus::kFound:
      break;
  }
  if (r.value.kind != StoreValueKind::kString) FailType(name);
  std::string& text = r.value.bytes;
  if (size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
  return std::move(text);
}

void StoreAccessor::WriteString(std::string_view name, std::string_view value) {
  if (!state_->key || state_->read_only ||
      !state_->backend->WriteString(state_->root, *state_->key, name, value)) {
    FailSet(name);
  }
}

void StoreAccessor::WriteInteger(std::string_view name, int32_t value) {
  if (!state_->key || state_->read_only ||
      !state_->backend->WriteInteger(state_->root, *state_->key, name, value)) {
    FailSet(name);
  }
}

void StoreAccessor::WriteBool(std::string_view name, bool value) {
  WriteInteger(name, value ? 1 : 0);
}

void StoreAccessor::DeleteValue(std::string_view name) {
  // The outcome is of no use to any caller; a refused delete leaves the
  // value as it was.
  if (!state_->key || state_->read_only) return;
  state_->backend->DeleteValue(state_->root, *state_->key, name);
}

StoreBackend& StoreAccessor::Backend() { return *state_->backend; }

}  // namespace lirvane
