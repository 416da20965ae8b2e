// Feeds arbitrary bytes to the BMP loader. Whatever it accepts must save and
// load back as the same image, ending exactly where the saved bytes end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "SilentPrompts.h"
#include "graphics/CDIB.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static mapvine::fuzzing::SilentPrompts silent;
  mapvine::InstallPrompts(&silent);

  mapvine::ByteReader reader({data, size});
  mapvine::CDIB image;
  if (!image.Load(reader)) {
    if (reader.Position() != 0) std::abort();
    return 0;
  }

  mapvine::VectorSink sink;
  if (!image.Save(sink)) std::abort();
  mapvine::ByteReader again(sink.Bytes());
  mapvine::CDIB reloaded;
  if (!reloaded.Load(again) || again.Position() != sink.Bytes().size() ||
      !reloaded.IsSameImage(image)) {
    std::abort();
  }
  return 0;
}
