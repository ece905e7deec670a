#include "system/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace skidlog {

void parallelFor(int count, const std::function<void(int)>& job) {
  const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
  std::atomic<int> next{0};
  const auto work = [&] {
    for (int r = next++; r < count; r = next++) job(r);
  };
  std::vector<std::thread> helpers;
  for (unsigned t = 1; t < cores && static_cast<int>(t) < count; ++t) helpers.emplace_back(work);
  work();
  for (std::thread& h : helpers) h.join();
}

}  // namespace skidlog
