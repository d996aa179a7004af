// Plain byte files with failures reported as error codes, so that every
// caller can name the operation and the file in its message.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace lirvane {

// A file name as the system gives it (UTF-8 on Linux and in this program's
// messages) and back.
std::filesystem::path PathFromText(std::string_view name);
std::string PathToText(const std::filesystem::path& path);

// "<operation> "<file>": <reason>", the form of every I/O failure message.
std::string IoFailureText(std::string_view operation, std::string_view file,
                          const std::error_code& error);

class InputFile {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile();

  std::error_code Open(const std::filesystem::path& path);
  // Reads up to `capacity` bytes; `got` is 0 at the end of the file.
  std::error_code Read(char* buffer, size_t capacity, size_t& got);
  // Done with reading: Windows replaces no file that is still open.
  void Close();

  // A buffer size for reading this file: its size when that is smaller
  // than `largest` (at least 1), else `largest`. A small file then costs
  // no large buffer.
  size_t ReadSizeHint(size_t largest) const;

 private:
  int fd_ = -1;
};

// Reads a whole file into `out`.
std::error_code ReadWholeFile(const std::filesystem::path& path, std::string& out);

// Writes every byte to an open descriptor, through interrupted and short
// writes.
std::error_code WriteAllTo(int fd, std::string_view bytes);

class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();  // closes without syncing

  // Creates the file, or empties it if it exists.
  std::error_code Create(const std::filesystem::path& path);
  // Creates a new file whose name is `prefix` followed by characters of its
  // own, readable and writable by the owner only; never opens a file that
  // exists. `created` is its name.
  std::error_code CreateUnique(const std::string& prefix, std::filesystem::path& created);
  // Opens an existing file (a FIFO, a device) for writing as it is.
  std::error_code OpenExisting(const std::filesystem::path& path);
  // Writes every byte or fails.
  std::error_code Write(std::string_view bytes);
  // Flushes the data to the device and closes; only then is the file
  // complete.
  std::error_code SyncAndClose();
  // Closes without waiting for the device, reporting a failed close; does
  // nothing when the file is not open.
  std::error_code Close();

 private:
  int fd_ = -1;
};

}  // namespace lirvane
