// Holds a text in a heap block of exactly its size, so that a read past its
// end is caught by AddressSanitizer; the bytes that follow in the caller's
// literal are a trap that changes the result of a plain overrun too.
#pragma once

#include <cstring>
#include <memory>
#include <string_view>

namespace kelvorat::testing {

class ExactBuffer {
 public:
  // Keeps the first length bytes of source.
  ExactBuffer(std::string_view source, std::size_t length)
      : size_(length), bytes_(new char[length]) {
    std::memcpy(bytes_.get(), source.data(), length);
  }
  [[nodiscard]] std::string_view view() const { return {bytes_.get(), size_}; }

 private:
  std::size_t size_;
  std::unique_ptr<char[]> bytes_;
};

}  // namespace kelvorat::testing
