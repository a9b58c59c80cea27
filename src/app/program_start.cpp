#include "app/program_start.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace taloven {

int StartProgram(const std::vector<std::string>& arguments, const std::string& directory) {
  if (arguments.empty()) return ENOENT;
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return ENOMEM;
  int result =
      directory.empty() ? 0 : posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  pid_t child = -1;
  if (result == 0) result = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (result != 0) return result;
  // Nobody waits for its outcome, but its end is collected so that it does
  // not linger as a zombie.
  std::thread([child] {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return 0;
}

bool DesktopSession() {
  for (const char* variable : {"WAYLAND_DISPLAY", "DISPLAY"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return true;
  }
  return false;
}

}  // namespace taloven
