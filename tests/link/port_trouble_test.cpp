#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <pwd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "link/serial_port.h"

namespace taloven {
namespace {

// A terminal device of the test's own.
class Terminal {
 public:
  Terminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) path_ = ptsname(master_);
  }
  ~Terminal() {
    if (master_ >= 0) close(master_);
  }
  const std::string& Path() const { return path_; }

 private:
  int master_ = -1;
  std::string path_;
};

TEST(PortTrouble, APortInUseNamesItsHolder) {
  Terminal line;
  ASSERT_FALSE(line.Path().empty());
  SerialPort holder(line.Path());
  ASSERT_EQ(holder.Open(9600), 1);
  SerialPort second(line.Path());
  EXPECT_EQ(second.Open(9600), 0);
  std::string program;
  {
    std::ifstream comm("/proc/self/comm");
    std::getline(comm, program);
  }
  EXPECT_NE(second.OpenFailure().find("; a porta est\xE1 em uso por " + program + " (processo " +
                                      std::to_string(getpid()) + ")"),
            std::string::npos)
      << second.OpenFailure();
  second.Close();
  holder.Close();
}

// A user outside the device's group is told the group and how to join it.
// Only root can play another user.
TEST(PortTrouble, APermissionRefusedNamesTheGroupAndHowToJoinIt) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to open the device as another user";
  const group* dialout = getgrnam("dialout");
  if (dialout == nullptr) GTEST_SKIP() << "no dialout group";
  Terminal line;
  ASSERT_EQ(chown(line.Path().c_str(), 0, dialout->gr_gid), 0);
  ASSERT_EQ(chmod(line.Path().c_str(), 0660), 0);
  int report[2];
  ASSERT_EQ(pipe(report), 0);
  const pid_t child = fork();
  if (child == 0) {
    close(report[0]);
    if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
    SerialPort port(line.Path());
    const std::string failure = port.Open(9600) ? "" : port.OpenFailure();
    _exit(write(report[1], failure.data(), failure.size()) < 0 ? 3 : 0);
  }
  close(report[1]);
  std::string failure;
  char buffer[512];
  for (ssize_t n; (n = read(report[0], buffer, sizeof buffer)) > 0;)
    failure.append(buffer, static_cast<size_t>(n));
  close(report[0]);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const std::string user = getpwuid(65534) ? getpwuid(65534)->pw_name : "65534";
  EXPECT_EQ(failure, "Permission denied; " + line.Path() +
                         " pertence ao grupo dialout, e o usu\xE1rio " + user +
                         " n\xE3o est\xE1 nele: sudo usermod -aG dialout " + user +
                         ", depois saia da sess\xE3o e entre de novo");
}

}  // namespace
}  // namespace taloven
