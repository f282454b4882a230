// A growable block of bytes that images are decoded from and encoded into.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace rc {

class MemoryStream {
 public:
  // Replaces the contents with a copy of `bytes`.
  void OpenOnBytes(std::span<const uint8_t> bytes) { block_.assign(bytes.begin(), bytes.end()); }
  void Release() { std::vector<uint8_t>().swap(block_); }
  std::vector<uint8_t> ReadAll() const { return block_; }
  std::span<const uint8_t> Bytes() const { return block_; }
  size_t Size() const { return block_.size(); }
  void Append(std::span<const uint8_t> bytes) { block_.insert(block_.end(), bytes.begin(), bytes.end()); }

 private:
  std::vector<uint8_t> block_;
};

}  // namespace rc
