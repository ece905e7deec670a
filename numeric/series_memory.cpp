#include "numeric/series_memory.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace skidlog {

#if defined(__linux__)
namespace {

constexpr std::size_t hugePage = std::size_t{2} << 20;
constexpr std::size_t page = 4096;

// The bytes a series of `bytes` takes: its last partial huge page made whole
// where that adds at most half a huge page, else ordinary pages to its end.
std::size_t laidOut(std::size_t bytes) {
  const std::size_t tail = bytes % hugePage;
  if (tail >= hugePage / 2) return bytes - tail + hugePage;
  return (bytes + page - 1) / page * page;
}

}  // namespace
#endif

void* allocateSeries(std::size_t bytes) {
#if defined(__linux__)
  if (bytes >= hugeSeriesBytes) {
    // Starting on a huge page, every whole 2 MiB of the series can be one.
    // posix_memalign, unlike aligned_alloc, takes a size that is no multiple
    // of the alignment.
    void* p = nullptr;
    if (::posix_memalign(&p, hugePage, laidOut(bytes)) != 0) throw std::bad_alloc();
    // Only advice: a kernel that declines backs the pages as usual.
    ::madvise(p, laidOut(bytes), MADV_HUGEPAGE);
    return p;
  }
#endif
  return ::operator new(bytes);
}

void freeSeries(void* p, [[maybe_unused]] std::size_t bytes) noexcept {
#if defined(__linux__)
  if (bytes >= hugeSeriesBytes) {
    std::free(p);
    return;
  }
#endif
  ::operator delete(p);
}

}  // namespace skidlog
