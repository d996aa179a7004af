#include "convert/convert_by_code.h"

#include <memory>
#include <string>
#include <system_error>

#include "recode/recode.h"
#include "recode/recode_stream.h"
#include "convert/conversion_target.h"
#include "base/file_io.h"
#include "convert/line_recoder.h"

namespace lirvane {
namespace {

// Large enough that system calls and per-block work vanish against the
// copying, small enough that both buffers stay in the processor's caches.
constexpr size_t kBlockSize = size_t{256} << 10;

}  // namespace

ConversionStatus ConvertFileByCode(std::string_view source, std::string_view target, int32_t code,
                                   MessageSink& sink) {
  ConversionTarget output(target, sink);
  if (ConversionStatus status = output.Create(); status != ConversionStatus::kOk) return status;

  InputFile input;
  if (const std::error_code error = input.Open(PathFromText(source))) {
    sink.Show(MessageKind::kError, IoFailureText("Cannot open", source, error));
    return ConversionStatus::kIoError;
  }

  // A small file gets buffers of its own size, not zero-filled.
  const size_t block = input.ReadSizeHint(kBlockSize);
  const auto in = std::make_unique_for_overwrite<char[]>(block);
  const auto out = std::make_unique_for_overwrite<char[]>(LineRecoder::OutputCapacity(block));
  // A code that changes the length (UTF-8) also carries sequences across
  // blocks: the lines are cut first and then recoded as one stream. Every
  // other code maps byte for byte, in place.
  const bool in_place = !ChangesLength(code);
  LineRecoder recoder(in_place ? code : 0);
  RecodeStream stream(code);
  std::string recoded;
  // Writes the lines, through the stream when it is needed.
  const auto write = [&](std::string_view lines) {
    if (in_place) return output.Write(lines);
    recoded.clear();
    stream.Feed(lines, recoded);
    return output.Write(recoded);
  };
  while (!recoder.Ended()) {
    size_t got = 0;
    if (const std::error_code error = input.Read(in.get(), block, got)) {
      sink.Show(MessageKind::kError, IoFailureText("Cannot read", source, error));
      return ConversionStatus::kIoError;
    }
    if (got == 0) break;
    if (ConversionStatus status = write(recoder.FeedView(in.get(), got, out.get()));
        status != ConversionStatus::kOk)
      return status;
  }
  input.Close();  // the source may be the target it is about to replace
  if (ConversionStatus status = write(std::string_view(out.get(), recoder.Finish(out.get())));
      status != ConversionStatus::kOk)
    return status;
  if (!in_place) {
    recoded.clear();
    stream.Finish(recoded);
    if (ConversionStatus status = output.Write(recoded); status != ConversionStatus::kOk)
      return status;
  }
  return output.Commit();
}

}  // namespace lirvane
