// Memory for the long series of a replay. An hour holds series of several
// megabytes each, and a fresh page costs the kernel a fault: a series this
// large is laid on 2 MiB pages, where the kernel backs them so (Linux,
// transparent huge pages on request), and takes a few faults instead of
// hundreds; its last partial huge page is made whole where that adds at most
// half a huge page. Smaller series, and other platforms, use the ordinary heap.
#ifndef SKIDLOG_NUMERIC_SERIES_MEMORY_H_
#define SKIDLOG_NUMERIC_SERIES_MEMORY_H_

#include <cstddef>
#include <new>

namespace skidlog {

// From this many bytes a series is laid on huge pages.
inline constexpr std::size_t hugeSeriesBytes = std::size_t{1} << 20;

// Room for `bytes` bytes, aligned for any series entry. Throws std::bad_alloc.
void* allocateSeries(std::size_t bytes);
// Frees what allocateSeries(bytes) gave.
void freeSeries(void* p, std::size_t bytes) noexcept;

// The allocator of every series.
template <class T>
struct SeriesAllocator {
  using value_type = T;
  SeriesAllocator() = default;
  template <class U>
  constexpr SeriesAllocator(const SeriesAllocator<U>&) noexcept {}  // NOLINT: converts like std::allocator
  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(allocateSeries(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept { freeSeries(p, n * sizeof(T)); }
  template <class U>
  bool operator==(const SeriesAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace skidlog

#endif  // SKIDLOG_NUMERIC_SERIES_MEMORY_H_
