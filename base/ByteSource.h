#pragma once

#include <cstdint>
#include <span>

#include "base/ByteReader.h"

namespace mapvine {

// Bytes read front to back through a window, so that a large input need not
// be held all at once. A reader that runs out of window asks for more
// (Widen) and reads the same item again; only when the window already holds
// everything that is left does a failed read mean the input is bad.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // The window; its position is the next unread byte.
  virtual ByteReader& Reader() = 0;
  // Unread bytes of the whole input, inside the window and beyond it.
  virtual std::uint64_t Remaining() const = 0;
  // Keeps the unread part of the window and adds at least as much again
  // from the input; false when nothing was left to add.
  virtual bool Widen() = 0;

  // Runs `read` on the window until it succeeds or the window holds all
  // that is left. A failed attempt starts again where it started.
  template <typename Read>
  bool ReadWhole(Read&& read) {
    for (;;) {
      ByteReader& in = Reader();
      const std::size_t start = in.Position();
      if (read(in)) return true;
      in.Seek(start);
      if (!Widen()) return false;
    }
  }
};

// Bytes already in memory: the window is all of them.
class SpanSource final : public ByteSource {
 public:
  explicit SpanSource(std::span<const std::uint8_t> bytes) : reader_(bytes) {}
  ByteReader& Reader() override { return reader_; }
  std::uint64_t Remaining() const override { return reader_.Remaining(); }
  bool Widen() override { return false; }

 private:
  ByteReader reader_;
};

}  // namespace mapvine
