#include "link/port_trouble.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace taloven {
namespace {

namespace fs = std::filesystem;

constexpr char kProc[] = "/proc";

std::string UserName() {
  const passwd* user = getpwuid(geteuid());
  return user != nullptr ? user->pw_name : std::to_string(geteuid());
}

// Whether the group list of the system names the user, whatever this
// session's own groups are.
bool ListedInGroup(const group& entry, const std::string& user) {
  for (char** member = entry.gr_mem; member != nullptr && *member != nullptr; ++member)
    if (user == *member) return true;
  const passwd* account = getpwnam(user.c_str());
  return account != nullptr && account->pw_gid == entry.gr_gid;
}

bool SessionInGroup(gid_t gid) {
  if (getegid() == gid) return true;
  const int count = getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<size_t>(count));
  if (getgroups(count, groups.data()) < 0) return false;
  return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

std::string ExplainPermission(const std::string& device) {
  struct stat info {};
  if (stat(device.c_str(), &info) != 0) return {};
  const group* owner = getgrgid(info.st_gid);
  if (owner == nullptr || info.st_gid == 0) return {};
  const std::string name = owner->gr_name;
  const std::string user = UserName();
  if (SessionInGroup(info.st_gid)) return "; " + device + " pertence ao grupo " + name;
  if (ListedInGroup(*owner, user))
    return "; " + device + " pertence ao grupo " + name + ", e o usu\xE1rio " + user +
           " j\xE1 est\xE1 nele, mas esta sess\xE3o come\xE7ou antes: saia e entre de novo";
  return "; " + device + " pertence ao grupo " + name + ", e o usu\xE1rio " + user +
         " n\xE3o est\xE1 nele: sudo usermod -aG " + name + " " + user +
         ", depois saia da sess\xE3o e entre de novo";
}

std::string ProgramName(const std::string& pid) {
  std::ifstream comm(std::string(kProc) + "/" + pid + "/comm");
  std::string name;
  std::getline(comm, name);
  return name;
}

// The process that holds the device: the one a lock file under /var/lock
// names, else the first whose open descriptors lead to it.
std::string Holder(const std::string& device) {
  std::error_code error;
  const fs::path target = fs::canonical(device, error);
  if (error) return {};
  std::string pid;
  std::ifstream lock("/var/lock/LCK.." + target.filename().string());
  if (lock >> pid && !fs::exists(std::string(kProc) + "/" + pid, error)) pid.clear();
  for (fs::directory_iterator process(kProc, error), end; pid.empty() && !error && process != end;
       process.increment(error)) {
    const std::string name = process->path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code unreadable;  // another user's process hides its descriptors
    for (fs::directory_iterator fd(process->path() / "fd", unreadable), last;
         !unreadable && fd != last; fd.increment(unreadable)) {
      std::error_code dangling;
      if (fs::read_symlink(fd->path(), dangling) == target) {
        pid = name;
        break;
      }
    }
  }
  if (pid.empty()) return {};
  const std::string program = ProgramName(pid);
  return "; a porta est\xE1 em uso por " +
         (program.empty() ? std::string("outro programa") : program) + " (processo " + pid + ")";
}

}  // namespace

std::string ExplainOpenFailure(const std::string& device, int error) {
  std::string text = std::strerror(error);
  if (error == EACCES || error == EPERM) text += ExplainPermission(device);
  if (error == EBUSY || error == EWOULDBLOCK) {
    const std::string holder = Holder(device);
    text += holder.empty() ? "; a porta est\xE1 em uso por outro programa" : holder;
  }
  return text;
}

}  // namespace taloven
