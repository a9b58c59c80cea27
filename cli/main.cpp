#include <iostream>
#include <string>
#include <vector>

#include "cli_command.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return taloven::RunCli(args, std::cin, std::cout, std::cerr);
}
