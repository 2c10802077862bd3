#pragma once
// Packed binary forms (replay files, network messages): LEB128 numbers, zig-zag signed
// numbers, bytes and short texts. The reader checks every read against the end and
// against the range the caller allows; its first failure sticks and names itself, and
// every read after it yields nothing.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

class PackedWriter {
 public:
  // Texts longer than this are cut.
  static constexpr std::size_t MaxTextBytes = 256;

  void Unsigned(uint64_t v) {
    do {
      uint8_t b = v & 0x7f;
      v >>= 7;
      if (v) b |= 0x80;
      out_ += static_cast<char>(b);
    } while (v);
  }
  void Signed(int64_t v) { Unsigned((static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63)); }
  void Byte(uint8_t b) { out_ += static_cast<char>(b); }
  void Flag(bool b) { Byte(b ? 1 : 0); }
  void Fixed64(uint64_t v) {
    for (int i = 0; i < 8; ++i) Byte(static_cast<uint8_t>(v >> (i * 8)));
  }
  void Bytes(const void* data, std::size_t size) { out_.append(static_cast<const char*>(data), size); }
  void Text(const std::string& s) {
    const std::size_t n = std::min(s.size(), MaxTextBytes);
    Unsigned(n);
    out_.append(s, 0, n);
  }
  std::string& Out() { return out_; }

 private:
  std::string out_;
};

class PackedReader {
 public:
  explicit PackedReader(std::string_view bytes) : p_(bytes) {}
  bool Failed() const { return !why_.empty(); }
  const std::string& Why() const { return why_; }
  std::size_t Left() const { return p_.size() - pos_; }

  uint64_t Unsigned() {
    uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      if (pos_ >= p_.size()) return Fail("it ends too early");
      const auto b = static_cast<uint8_t>(p_[pos_++]);
      v |= uint64_t{b & 0x7fu} << shift;
      if (!(b & 0x80)) return v;
    }
    return Fail("a number in it is too long");
  }
  int64_t Signed() {
    const uint64_t v = Unsigned();
    return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
  }
  // A value that must fit `lo`..`hi`.
  int32_t Int(int64_t lo, int64_t hi) {
    const int64_t v = Signed();
    if (v < lo || v > hi) return static_cast<int32_t>(Fail("a value in it is out of range"));
    return static_cast<int32_t>(v);
  }
  uint32_t Count(uint64_t hi) {
    const uint64_t v = Unsigned();
    if (v > hi) return static_cast<uint32_t>(Fail("a value in it is out of range"));
    return static_cast<uint32_t>(v);
  }
  // A number of entries, each at least `minBytes` long: never more than the rest holds.
  uint32_t Entries(std::size_t minBytes) {
    const uint64_t v = Unsigned();
    if (v > Left() / minBytes) return static_cast<uint32_t>(Fail("it claims more entries than it holds"));
    return static_cast<uint32_t>(v);
  }
  uint8_t Byte() {
    if (pos_ >= p_.size()) return static_cast<uint8_t>(Fail("it ends too early"));
    return static_cast<uint8_t>(p_[pos_++]);
  }
  bool Flag() {
    const uint8_t b = Byte();
    if (b > 1) Fail("a value in it is out of range");
    return b == 1;
  }
  uint64_t Fixed64() {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= uint64_t{Byte()} << (i * 8);
    return v;
  }
  void Bytes(void* data, std::size_t size) {
    if (Left() < size) {
      Fail("it ends too early");
      return;
    }
    std::memcpy(data, p_.data() + pos_, size);
    pos_ += size;
  }
  // A text of at most `maxBytes`.
  std::string Text(std::size_t maxBytes = PackedWriter::MaxTextBytes) {
    const uint32_t n = Count(maxBytes);
    if (Failed() || Left() < n) {
      Fail("it ends too early");
      return {};
    }
    std::string s(p_.substr(pos_, n));
    pos_ += n;
    return s;
  }
  uint64_t Fail(const char* why) {
    if (why_.empty()) why_ = why;
    pos_ = p_.size();
    return 0;
  }

 private:
  std::string_view p_;
  std::size_t pos_ = 0;
  std::string why_;
};
