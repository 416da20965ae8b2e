// Feeds arbitrary bytes to the saved-picture loader. A refused file must
// leave an empty picture; an accepted one must store, and what it stores
// must load back and store again to the very same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "SilentPrompts.h"
#include "model/SavedTopology.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static mapvine::fuzzing::SilentPrompts silent;
  mapvine::InstallPrompts(&silent);
  // One document for every input, as one program opens file after file.
  static mapvine::CMapvineDoc doc;
  static mapvine::CMapvineDoc reloaded;

  if (mapvine::LoadTopology(doc, {data, size}) != mapvine::LoadOutcome::Loaded) {
    if (!doc.Nodes().empty() || !doc.Links().empty() || !doc.composedBackground) std::abort();
    return 0;
  }
  mapvine::VectorSink stored;
  if (!mapvine::StoreTopology(doc, stored)) std::abort();
  if (mapvine::LoadTopology(reloaded, stored.Bytes()) != mapvine::LoadOutcome::Loaded) std::abort();
  mapvine::VectorSink again;
  if (!mapvine::StoreTopology(reloaded, again) || again.Bytes() != stored.Bytes()) std::abort();
  return 0;
}
