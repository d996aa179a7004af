// Shared by the scheme and command-line tests: a fresh folder per test,
// whole-file helpers and a sink that records every message.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "base/message_sink.h"

namespace lirvane::testing {

class TempFolder {
 public:
  // A new folder of a random name (Windows has no mkdtemp).
  TempFolder() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ =
          std::filesystem::temp_directory_path() / ("lirvane-schemes-" + std::to_string(random()));
      std::error_code error;
      if (std::filesystem::create_directory(path_, error)) return;
    }
    ADD_FAILURE() << "no temporary folder could be made";
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / std::string(name); }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// All 256 byte values in order.
inline std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  return bytes;
}

struct Message {
  MessageKind kind;
  std::string text;
  friend bool operator==(const Message&, const Message&) = default;
};

inline void PrintTo(const Message& m, std::ostream* os) {
  *os << (m.kind == MessageKind::kError ? "error: " : "plain: ") << m.text;
}

class RecordingSink : public MessageSink {
 public:
  void Show(MessageKind kind, std::string_view text) override {
    messages.push_back({kind, std::string(text)});
  }
  std::vector<Message> messages;
};

inline Message Plain(std::string text) { return {MessageKind::kPlain, std::move(text)}; }
inline Message Error(std::string text) { return {MessageKind::kError, std::move(text)}; }

// Runs a block with the current directory set to `folder`, then restores it.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::filesystem::path& folder)
      : saved_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentFolder() {
    std::error_code ignored;
    std::filesystem::current_path(saved_, ignored);
  }

 private:
  std::filesystem::path saved_;
};

}  // namespace lirvane::testing
