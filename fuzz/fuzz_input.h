// Shared by the fuzz targets: how an input is cut into arguments, and the
// check that stops the run when a property fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace kelvorat::fuzz {

// The input as a switch byte followed by zero-separated parts. The parts are
// valid Text (they hold no zero byte); a missing part reads as "".
//   "\x03abc\0def" -> switches 3, parts "abc" and "def"
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : whole_(reinterpret_cast<const char*>(data), size) {
    if (size == 0) return;
    switches_ = data[0];
    std::string_view rest = whole_.substr(1);
    for (;;) {
      const std::size_t zero = rest.find('\0');
      parts_.push_back(rest.substr(0, zero));
      if (zero == std::string_view::npos) break;
      rest.remove_prefix(zero + 1);
    }
  }

  [[nodiscard]] std::string_view Part(std::size_t i) const {
    return i < parts_.size() ? parts_[i] : std::string_view();
  }
  [[nodiscard]] std::size_t PartCount() const { return parts_.size(); }
  // Bit i of the switch byte.
  [[nodiscard]] bool Switch(int bit) const { return ((switches_ >> bit) & 1) != 0; }
  [[nodiscard]] std::uint8_t Switches() const { return switches_; }
  // Every byte after the switch byte, zero bytes included.
  [[nodiscard]] std::string_view Raw() const { return whole_.empty() ? whole_ : whole_.substr(1); }
  // A signed number from the bytes of part i (little-endian, up to four
  // bytes), so that small, large and negative values are all reachable.
  [[nodiscard]] std::int32_t Number(std::size_t i) const {
    std::string_view part = Part(i);
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < part.size() && k < 4; ++k) {
      value |= static_cast<std::uint32_t>(static_cast<unsigned char>(part[k])) << (8 * k);
    }
    if (part.size() == 1) return static_cast<std::int8_t>(value);
    if (part.size() == 2) return static_cast<std::int16_t>(value);
    return static_cast<std::int32_t>(value);
  }

 private:
  std::string_view whole_;
  std::uint8_t switches_ = 0;
  std::vector<std::string_view> parts_;
};

[[noreturn]] inline void PropertyFailed(const char* what, const char* file, int line) {
  std::fprintf(stderr, "property failed: %s (%s:%d)\n", what, file, line);
  std::abort();
}

[[nodiscard]] inline bool HasZeroByte(std::string_view text) {
  return text.find('\0') != std::string_view::npos;
}

// text cut at every occurrence of separator, byte by byte (no character
// walk: an item that ends in a lead byte cannot hide a separator here).
[[nodiscard]] inline std::vector<std::string> SplitAtBytes(std::string_view text, std::string_view separator) {
  std::vector<std::string> items;
  if (text.empty()) return items;
  for (;;) {
    const std::size_t at = text.find(separator);
    items.emplace_back(text.substr(0, at));
    if (at == std::string_view::npos) return items;
    text.remove_prefix(at + separator.size());
  }
}

}  // namespace kelvorat::fuzz

// Aborts the run, so that libFuzzer saves the input, when cond does not hold.
#define FUZZ_CHECK(cond) \
  ((cond) ? (void)0 : ::kelvorat::fuzz::PropertyFailed(#cond, __FILE__, __LINE__))
