#include <iostream>

#include "system/system.h"
#include "report/cli/report_run.h"

int main(int argc, char** argv) {
  const skidlog::CommandLine commandLine(argc, argv);
  return skidlog::runReport(commandLine.arguments(), std::cout, skidlog::messageStream(),
                            skidlog::messagesToTerminal());
}
