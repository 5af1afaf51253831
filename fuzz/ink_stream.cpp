// The ink control's content reader on any bytes: it never reads past them, never allocates
// beyond what they hold, and whatever it loads writes out and reads back as the same page.
#include <cstdint>
#include <cstdlib>

#include "ink_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace handheld::inkx;
  const ReadResult read = readStream({data, size});
  const auto bytes = writeStream(read.document);
  const ReadResult again = readStream(bytes);
  if (again.status != ReadStatus::ok || !(again.document == read.document) || writeStream(again.document) != bytes)
    std::abort();
  return 0;
}
