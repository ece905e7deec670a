#include <iostream>
#include <span>

#include "app/run.h"

int main(int argc, char** argv) {
  return skidlog::run(std::span<const char* const>(argv, static_cast<std::size_t>(argc)), std::cerr);
}
