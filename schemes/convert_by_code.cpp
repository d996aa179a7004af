#include "schemes/convert_by_code.h"

#include <memory>
#include <string>
#include <system_error>

#include "schemes/conversion_target.h"
#include "schemes/file_io.h"
#include "schemes/line_recoder.h"

namespace lirvane {
namespace {

// Large enough that system calls and per-block work vanish against the
// copying, while memory stays a few MiB whatever the file size.
constexpr size_t kBlockSize = size_t{1} << 20;

}  // namespace

ConversionStatus ConvertFileByCode(std::string_view source, std::string_view target,
                                   int32_t code, MessageSink& sink) {
  ConversionTarget output(target, sink);
  if (ConversionStatus status = output.Create(source); status != ConversionStatus::kOk)
    return status;

  InputFile input;
  if (const std::error_code error = input.Open(PathFromText(source))) {
    sink.Show(MessageKind::kError, IoFailureText("Cannot open", source, error));
    return ConversionStatus::kIoError;
  }

  const auto in = std::make_unique<char[]>(kBlockSize);
  const auto out = std::make_unique<char[]>(LineRecoder::OutputCapacity(kBlockSize));
  LineRecoder recoder(code);
  while (!recoder.Ended()) {
    size_t got = 0;
    if (const std::error_code error = input.Read(in.get(), kBlockSize, got)) {
      sink.Show(MessageKind::kError, IoFailureText("Cannot read", source, error));
      return ConversionStatus::kIoError;
    }
    if (got == 0) break;
    const size_t produced = recoder.Feed(in.get(), got, out.get());
    if (ConversionStatus status = output.Write(std::string_view(out.get(), produced));
        status != ConversionStatus::kOk)
      return status;
  }
  input.Close();  // the source may be the target it is about to replace
  const size_t tail = recoder.Finish(out.get());
  if (ConversionStatus status = output.Write(std::string_view(out.get(), tail));
      status != ConversionStatus::kOk)
    return status;
  return output.Commit();
}

}  // namespace lirvane
