#include "app/run.h"
#include "system/system.h"

int main(int argc, char** argv) {
  const skidlog::CommandLine commandLine(argc, argv);
  return skidlog::run(commandLine.arguments(), skidlog::messageStream());
}
