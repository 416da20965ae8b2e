#pragma once

#include <QByteArray>
#include <QIODevice>

namespace mapvine {

// A writer's text on its way to the device: gathered in `text` and handed
// over a megabyte at a time, so that a large file is never held whole and
// no write at the end is longer than a megabyte: a writer that looks at
// the stop flag between its items stops soon in every part of its work.
struct ChunkedText {
  static constexpr qsizetype kChunkBytes = qsizetype{1} << 20;

  QIODevice& out;
  QByteArray text;

  // Hands the text over once a megabyte gathered; false when the device
  // refused it.
  bool PassOnFull() { return text.size() < kChunkBytes || PassOn(); }
  // Hands whatever gathered over.
  bool PassOn() {
    const bool written = out.write(text) == text.size();
    text.clear();
    return written;
  }
};

}  // namespace mapvine
