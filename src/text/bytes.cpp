// Byte arrays, and moving between Bytes and Text.
#include <algorithm>
#include <cstring>

#include "text/text.h"

namespace kelvorat {

int BytesLength(const Bytes& bytes) { return static_cast<int>(bytes.size()); }

Bytes BytesLeft(const Bytes& bytes, int n) {
  const std::size_t count = std::min(bytes.size(), static_cast<std::size_t>(std::max(n, 0)));
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

Bytes BytesMid(const Bytes& bytes, int start, int n) {
  const std::size_t from =
      std::clamp<std::size_t>(static_cast<std::size_t>(std::max(start, 1)), 1, bytes.size() + 1) - 1;
  const std::size_t count =
      std::min(bytes.size() - from, static_cast<std::size_t>(std::max(n, 0)));
  const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(from);
  return Bytes(begin, begin + static_cast<std::ptrdiff_t>(count));
}

Bytes BlankBytes(int n) { return n <= 0 ? Bytes() : Bytes(static_cast<std::size_t>(n), 0); }

Bytes ConcatBytesList(std::initializer_list<const Bytes*> parts) {
  std::size_t size = 0;
  for (const Bytes* part : parts) size += part->size();
  Bytes result;
  result.reserve(size);
  for (const Bytes* part : parts) result.insert(result.end(), part->begin(), part->end());
  return result;
}

bool CompareBytes(const Bytes& a, const Bytes& b) { return a == b; }

Text BytesToText(const Bytes& bytes) {
  if (bytes.empty()) return {};
  const auto* data = reinterpret_cast<const char*>(bytes.data());
  const void* zero = std::memchr(data, 0, bytes.size());
  const std::size_t length =
      zero == nullptr ? bytes.size() : static_cast<std::size_t>(static_cast<const char*>(zero) - data);
  return Text(data, length);
}

Bytes TextToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

}  // namespace kelvorat
