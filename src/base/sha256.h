#pragma once
// SHA-256, for telling files apart by their contents (level files a replay was
// recorded on, a replay's own checksum).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using Sha256Digest = std::array<uint8_t, 32>;

class Sha256 {
 public:
  Sha256();
  void Add(const void* data, std::size_t size);
  void Add(std::string_view bytes) { Add(bytes.data(), bytes.size()); }
  Sha256Digest Finish();

 private:
  void Block(const uint8_t* block);

  std::array<uint32_t, 8> state_;
  std::array<uint8_t, 64> buffer_{};
  std::size_t buffered_ = 0;
  uint64_t length_ = 0;
};

Sha256Digest Sha256Of(std::string_view bytes);
// Lower-case hexadecimal, 64 characters.
std::string HexOf(const Sha256Digest& digest);
