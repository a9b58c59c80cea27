#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>

#include "base/encoding.h"
#include "cli_outcome.h"
#include "emulator/emulator_process.h"
#include "link_command_support.h"
#include "support/cli_process.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using emulator::testing::EmulatorProcess;
using testing::TempDirectory;

// taloven-cli monitor run as its own program, its output in a file.
class MonitorProcess {
 public:
  MonitorProcess(const std::vector<std::string>& arguments, const fs::path& output) {
    pid_ = fork();
    if (pid_ == 0) {
      const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(out, STDOUT_FILENO);
      dup2(out, STDERR_FILENO);
      testing::ExecCli(arguments);
    }
  }
  ~MonitorProcess() { Stop(); }
  int Stop() {
    if (pid_ <= 0) return status_;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return status_;
  }

 private:
  pid_t pid_ = -1;
  int status_ = -1;
};

struct Sent {
  std::vector<std::string> args;
  size_t parameters;  // lines the monitor shows before send's text
};

// The "> " lines of a trace, without their times.
std::string SentBytes(const std::string& trace) {
  std::string sent;
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);)
    if (line.size() > 14 && line[13] == '>') sent += line.substr(14) + "\n";
  return sent;
}

class MonitorCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(TALOVEN_SOURCE_DIR "/data/comandos.xml", work_.Path() / "comandos.xml");
  }

  std::string Send(const std::string& port, const std::string& trace, const Sent& sent) {
    std::vector<std::string> args = {"-C", work_.Path().string(), "-p", port, "--trace", trace};
    args.insert(args.end(), sent.args.begin(), sent.args.end());
    // Some the printer refuses, as it would without the monitor.
    const testing::CliOutcome run = testing::RunCliCaptured(args);
    EXPECT_TRUE(run.status == 0 || run.status == kFinishedWithFaultsStatus)
        << run.status << run.err;
    return run.out;
  }

  TempDirectory work_;
};

TEST_F(MonitorCommand, ShowsEachExchangeAsSendPrintsItAndPassesEveryByte) {
  const std::vector<Sent> commands = {
      {{"send", "Cancela cupom fiscal"}, 0},
      {{"send", "Valor de uma alíquota", "01"}, 1},
      {{"send", "Leitura X pela porta serial"}, 0},
      {{"-x", "send", "Número de série (15 caracteres)"}, 0},
      {{"send", "Abre cupom fiscal", "12345678909"}, 1},
      {{"send", "Vende item", "7891234567895", "Café torrado", "01", "1,000", "2,50", ""}, 6},
      {{"send", "Cancela cupom fiscal"}, 0},
      {{"send", "Verificação completa da memória fiscal"}, 1},
  };
  // Straight to one virtual printer, then through the monitor to another.
  const std::string direct = (work_.Path() / "direct.txt").string();
  {
    const std::string link = (work_.Path() / "direct-printer").string();
    EmulatorProcess printer({"--pty", "--link", link});
    for (const Sent& sent : commands) Send(link, direct, sent);
  }
  const std::string printerLink = (work_.Path() / "printer").string();
  const std::string programLink = (work_.Path() / "program").string();
  const fs::path shown = work_.Path() / "monitor.txt";
  const std::string passed = (work_.Path() / "passed.txt").string();
  EmulatorProcess printer({"--pty", "--link", printerLink});
  MonitorProcess monitor(
      {"-C", work_.Path().string(), "-p", printerLink, "--trace", passed, "monitor", "--link",
       programLink, "--save", (work_.Path() / "saved.txt").string()},
      shown);
  for (int i = 0; i < 250 && !fs::is_symlink(programLink); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const std::string through = (work_.Path() / "through.txt").string();
  std::vector<std::string> printed;
  for (const Sent& sent : commands) printed.push_back(Send(programLink, through, sent));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(monitor.Stop(), 0);

  const std::string output = testing::ReadFileBytes(shown);
  const std::regex timeLine("\\[\\d\\d:\\d\\d:\\d\\d\\.\\d{3}\\] \\d+ ms\n");
  std::vector<std::string> blocks;
  std::sregex_iterator at(output.begin(), output.end(), timeLine), end;
  std::vector<size_t> starts;
  for (; at != end; ++at) starts.push_back(static_cast<size_t>(at->position()));
  ASSERT_EQ(starts.size(), commands.size()) << output;
  const size_t summary = output.find("Resumo do monitor:");
  ASSERT_NE(summary, std::string::npos) << output;
  starts.push_back(summary);
  for (size_t i = 0; i < commands.size(); ++i) {
    const std::string block = output.substr(starts[i], starts[i + 1] - starts[i]);
    SCOPED_TRACE(block);
    // The time line, one line per parameter, then exactly what send printed.
    size_t cut = block.find('\n') + 1;
    for (size_t p = 0; p < commands[i].parameters; ++p) {
      EXPECT_EQ(block[cut], '\t');
      cut = block.find('\n', cut) + 1;
    }
    EXPECT_EQ(block.substr(cut), printed[i]);
  }
  EXPECT_NE(output.find("\tCódigo:\t7891234567895\n\tDescrição:\tCafé torrado\n"),
            std::string::npos);
  EXPECT_NE(output.find("  trocas: 8\n"), std::string::npos);
  EXPECT_EQ(SentBytes(testing::ReadFileBytes(passed)), SentBytes(testing::ReadFileBytes(direct)))
      << "the printer got the very bytes the program sent";
  EXPECT_EQ(testing::ReadFileBytes(work_.Path() / "saved.txt"),
            Utf8ToCp1252(output.substr(output.find('['))));
  EXPECT_FALSE(fs::exists(programLink));
  // The day's log holds the program's traffic too: each command logged by
  // send straight, by send through the monitor, and by the monitor.
  size_t records = 0;
  for (const auto& file : fs::directory_iterator(work_.Path() / "log")) {
    const std::string log = testing::ReadFileBytes(file.path());
    for (size_t at = log.find(W("Título do Comando")); at != std::string::npos;
         at = log.find(W("Título do Comando"), at + 1))
      ++records;
  }
  EXPECT_EQ(records, 3 * commands.size());
}

TEST_F(MonitorCommand, RefusesWhatItCannotServe) {
  const struct {
    std::vector<std::string> args;
    const char* reason;
  } cases[] = {
      {{"monitor"}, "--link"},
      {{"monitor", "--link"}, "--link"},
      {{"monitor", "--link", "x", "sobra"}, "sobra"},
      {{"-p", "/dev/taloven-no-such-line", "monitor", "--link", "L"}, "No such file"},
      {{"-p", "USB", "monitor", "--link", "L"}, "seriais"},
      {{"-p", "/dev/null", "monitor", "--link", "L"}, "Inappropriate ioctl"},
      {{"-p", "/dev/null", "monitor", "--link", "comandos.xml"}, "link simbólico"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"-C", work_.Path().string()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    for (std::string& a : args)
      if (a == "L" || a == "comandos.xml") a = (work_.Path() / a).string();
    const testing::CliOutcome run = testing::RunCliCaptured(args);
    EXPECT_EQ(run.status, 1) << c.reason;
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
  }
  EXPECT_FALSE(fs::exists(work_.Path() / "L"));
  EXPECT_TRUE(fs::is_regular_file(work_.Path() / "comandos.xml"));
}

}  // namespace
}  // namespace taloven
