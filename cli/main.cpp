#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli_command.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  // Input too big for memory must end the command with a message, not with
  // an abort and a core file.
  try {
    return taloven::RunCli(args, std::cin, std::cout, std::cerr);
  } catch (const std::bad_alloc&) {
    std::cerr << "taloven-cli: memória insuficiente para a operação\n";
  } catch (const std::exception& failure) {
    std::cerr << "taloven-cli: falha inesperada (" << failure.what() << ")\n";
  }
  return 1;
}
