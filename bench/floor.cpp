// floor: the least any CSV writer of this shape can cost. It formats the given
// number of lines of `fields` numbers each with std::to_chars (shortest form)
// and writes every line with one system call, as the tool does.
//
//   floor <output> <lines> <fields>
#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: floor <output> <lines> <fields>\n");
    return 1;
  }
  const long lines = std::atol(argv[2]);
  const long fields = std::atol(argv[3]);
  // Telemetry-like values: a few digits before the point, several after.
  std::vector<float> values(4096);
  for (std::size_t k = 0; k < values.size(); ++k) {
    values[k] = static_cast<float>(std::sin(static_cast<double>(k) * 0.7) * std::pow(10.0, static_cast<double>(k % 7) - 2.0));
  }
  const int fd = ::open(argv[1], O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0) return 1;
  std::vector<char> line(static_cast<std::size_t>(fields) * 32 + 2);
  std::size_t next = 0;
  for (long l = 0; l < lines; ++l) {
    char* p = line.data();
    for (long f = 0; f < fields; ++f) {
      if (f > 0) {
        *p++ = ',';
        *p++ = ' ';
      }
      p = std::to_chars(p, p + 32, values[next++ & 4095]).ptr;
    }
    *p++ = '\n';
    if (::write(fd, line.data(), static_cast<std::size_t>(p - line.data())) != p - line.data()) return 1;
  }
  return ::close(fd) == 0 ? 0 : 1;
}
