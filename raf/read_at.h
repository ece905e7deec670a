// The one primitive through which every byte of a replay is read.
#ifndef SKIDLOG_RAF_READ_AT_H_
#define SKIDLOG_RAF_READ_AT_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>

namespace skidlog {

// A replay file's bytes, read like a binary stream: once one read comes up
// short, the input is failed for good and every later read delivers nothing,
// whatever its offset. The bytes are borrowed and must outlive the input.
class ReplayInput {
 public:
  explicit ReplayInput(std::span<const std::byte> bytes) : bytes_(bytes) {}

  std::uint64_t size() const { return bytes_.size(); }
  bool failed() const { return failed_; }

  // The `count` bytes at `offset` when the input has not failed and holds them
  // all, else null.
  const std::byte* whole(std::uint64_t offset, std::size_t count) const {
    if (failed_ || offset > bytes_.size() || count > bytes_.size() - offset) return nullptr;
    return bytes_.data() + offset;
  }

  // Copies up to `count` bytes at `offset` to `destination` and returns how many
  // were delivered; fewer than `count` marks the input failed.
  std::size_t deliver(std::uint64_t offset, std::byte* destination, std::size_t count) {
    if (failed_) return 0;
    // Positioning past the end is allowed; it only makes the read come up short.
    const std::uint64_t available = offset < bytes_.size() ? bytes_.size() - offset : 0;
    const std::size_t got = count < available ? count : static_cast<std::size_t>(available);
    if (got > 0) std::memcpy(destination, bytes_.data() + offset, got);
    if (got < count) failed_ = true;
    return got;
  }

 private:
  std::span<const std::byte> bytes_;
  bool failed_ = false;
};

template <class T>
concept FileItem = std::is_same_v<T, std::uint8_t> || std::is_same_v<T, std::int16_t> ||
                   std::is_same_v<T, std::uint16_t> || std::is_same_v<T, std::int32_t> ||
                   std::is_same_v<T, float>;

// Assembles one little-endian item from its bytes.
template <FileItem T>
T decodeLittleEndian(const std::byte* bytes) {
  using Bits = std::conditional_t<sizeof(T) == 1, std::uint8_t,
                                  std::conditional_t<sizeof(T) == 2, std::uint16_t, std::uint32_t>>;
  Bits bits = 0;
  for (std::size_t k = 0; k < sizeof(T); ++k) {
    bits = static_cast<Bits>(bits | static_cast<Bits>(std::to_integer<unsigned>(bytes[k]) << (8 * k)));
  }
  return std::bit_cast<T>(bits);
}

// Reads `count` consecutive items at the absolute file `offset` into
// `destination`. A failed input delivers nothing. A short read marks the input
// failed; items no delivered byte reached keep what they held, and a partly
// delivered item takes the delivered bytes as its low-order bytes.
template <FileItem T>
void readAt(ReplayInput& input, std::uint64_t offset, T* destination, std::size_t count) {
  if (const std::byte* bytes = input.whole(offset, count * sizeof(T))) {
    // On a little-endian machine the file's bytes are the items' own.
    if constexpr (std::endian::native == std::endian::little) {
      if (count > 0) std::memcpy(destination, bytes, count * sizeof(T));
    } else {
      for (std::size_t k = 0; k < count; ++k) destination[k] = decodeLittleEndian<T>(bytes + k * sizeof(T));
    }
    return;
  }
  // Item by item delivers the same bytes as one request of count items: the
  // first short item fails the input and nothing after it is delivered.
  for (std::size_t k = 0; k < count; ++k) {
    std::byte raw[sizeof(T)];
    const std::size_t got = input.deliver(offset + k * sizeof(T), raw, sizeof(T));
    if (got == sizeof(T)) {
      destination[k] = decodeLittleEndian<T>(raw);
      continue;
    }
    std::byte item[sizeof(T)];
    std::memcpy(item, &destination[k], sizeof(T));
    for (std::size_t b = 0; b < got; ++b) {
      item[std::endian::native == std::endian::little ? b : sizeof(T) - 1 - b] = raw[b];
    }
    std::memcpy(&destination[k], item, sizeof(T));
    return;
  }
}

// Reads one item at `offset`; `fallback` is what it yields when the read fails.
template <FileItem T>
T readOne(ReplayInput& input, std::uint64_t offset, T fallback = T{}) {
  T value = fallback;
  readAt(input, offset, &value, 1);
  return value;
}

}  // namespace skidlog

#endif  // SKIDLOG_RAF_READ_AT_H_
