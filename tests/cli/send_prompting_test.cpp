#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "emulator/emulator_process.h"
#include "support/cli_process.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;

const char* const kCatalogue = R"(<?xml version="1.0" encoding="UTF-8"?>
<comandos>
  <cmd><tipo>Cupom Fiscal</tipo><titulo>Abre cupom fiscal</titulo><escape>0</escape>
    <parametro><titulo>CPF ou CNPJ do consumidor</titulo><tamanho>29</tamanho>
      <formato>STRING_VAR_SIZE</formato><obrigatorio>N</obrigatorio><valor></valor></parametro>
  </cmd>
  <cmd><tipo>Informações</tipo><titulo>Programa CGC</titulo><escape>4</escape>
    <parametro><titulo>Fixo</titulo><tamanho>1</tamanho><formato>NOT_EDITABLE</formato>
      <obrigatorio>S</obrigatorio><valor>1</valor></parametro>
    <parametro><titulo>CGC</titulo><tamanho>6</tamanho><formato>STRING</formato>
      <obrigatorio>S</obrigatorio><valor></valor></parametro>
    <parametro><titulo>Quantidade</titulo><tamanho>3</tamanho><formato>INTEGER</formato>
      <obrigatorio>S</obrigatorio><valor>5</valor></parametro>
  </cmd>
</comandos>
)";

// taloven-cli run on the far side of a pseudo-terminal, so that its input
// is a terminal as when a technician types.
class TerminalRun {
 public:
  explicit TerminalRun(const std::vector<std::string>& arguments) {
    pid_ = forkpty(&master_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
      testing::ExecCli(arguments);
    }
  }
  ~TerminalRun() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) close(master_);
  }

  // Reads until the screen shows text; false when it never came. A quiet
  // moment is no end: a program under the sanitizers starts slowly.
  bool WaitFor(const std::string& text) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (screen_.find(text, seen_) == std::string::npos) {
      if (std::chrono::steady_clock::now() > end || closed_) return false;
      ReadSome(200);
    }
    seen_ = screen_.find(text, seen_) + text.size();
    return true;
  }
  void Type(const std::string& keys) {
    if (write(master_, keys.data(), keys.size()) < 0) ADD_FAILURE() << "cannot type";
  }
  // Reads everything up to the program's end; its exit status.
  int Finish() {
    while (ReadSome(20000)) {
    }
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  const std::string& Screen() const { return screen_; }

 private:
  bool ReadSome(int timeoutMs) {
    pollfd wait{master_, POLLIN, 0};
    if (poll(&wait, 1, timeoutMs) <= 0) return false;
    char buffer[512];
    const ssize_t n = read(master_, buffer, sizeof buffer);
    if (n <= 0) {  // EIO once the program closed its side
      closed_ = true;
      return false;
    }
    screen_.append(buffer, static_cast<size_t>(n));
    return true;
  }

  pid_t pid_ = -1;
  int master_ = -1;
  std::string screen_;
  size_t seen_ = 0;
  bool closed_ = false;
};

class SendPrompting : public ::testing::Test {
 protected:
  void SetUp() override { std::ofstream(work_.Path() / "comandos.xml") << kCatalogue; }

  std::vector<std::string> Send(const std::vector<std::string>& values) {
    std::vector<std::string> arguments{"-C", work_.Path().string(), "-p", link_, "send"};
    arguments.insert(arguments.end(), values.begin(), values.end());
    return arguments;
  }
  // The day's log, where every command sent leaves its parameter values.
  std::string Log() const {
    if (!fs::exists(work_.Path() / "log")) return {};
    std::string all;
    for (const auto& file : fs::directory_iterator(work_.Path() / "log"))
      all += testing::ReadFileBytes(file.path());
    return all;
  }

  testing::TempDirectory work_;
  std::string link_ = work_.Path().string() + "/printer";
  emulator::testing::EmulatorProcess printer_{{"--pty", "--link", link_}};
};

TEST_F(SendPrompting, AsksEveryEditableParameterThroughItsEntryChain) {
  TerminalRun run(Send({"1"}));
  ASSERT_TRUE(run.WaitFor("Programa CGC"));
  ASSERT_TRUE(run.WaitFor("CGC"));
  run.Type("abc\n");
  ASSERT_TRUE(run.WaitFor("Quantidade [5]"));  // the catalogue value is the preset
  run.Type("\n");
  // The made-up command's parameters are not the printer's, which refuses it.
  EXPECT_EQ(run.Finish(), 10) << run.Screen();
  EXPECT_EQ(run.Screen().find("Fixo"), std::string::npos) << run.Screen();
  const std::string log = Log();
  EXPECT_NE(log.find("Fixo\t1"), std::string::npos) << log;
  EXPECT_NE(log.find("CGC\tabc   "), std::string::npos) << log;
  EXPECT_NE(log.find("Quantidade\t005"), std::string::npos) << log;
}

TEST_F(SendPrompting, EndOfInputCancelsAndSendsNothing) {
  TerminalRun run(Send({"1"}));
  ASSERT_TRUE(run.WaitFor("CGC"));
  run.Type("\x04");
  EXPECT_EQ(run.Finish(), 1);
  EXPECT_NE(run.Screen().find("cancelada"), std::string::npos) << run.Screen();
  EXPECT_EQ(Log(), "");
}

TEST_F(SendPrompting, GivenValuesAsksNothing) {
  TerminalRun run(Send({"0", "12345678901"}));
  EXPECT_EQ(run.Finish(), 0) << run.Screen();
  EXPECT_EQ(run.Screen().find("CPF"), std::string::npos) << run.Screen();
  EXPECT_NE(run.Screen().find("CUPOM ABERTO"), std::string::npos) << run.Screen();
  EXPECT_NE(Log().find("CPF ou CNPJ do consumidor\t12345678901"), std::string::npos);
}

TEST_F(SendPrompting, InputFromAFileLeavesTheValuesEmpty) {
  const fs::path err = work_.Path() / "err.txt";
  std::string line = std::string(TALOVEN_CLI_PATH);
  for (const std::string& a : Send({"0"})) line += " '" + a + "'";
  line += " </dev/null >/dev/null 2>'" + err.string() + "'";
  EXPECT_EQ(std::system(line.c_str()), 0);
  EXPECT_EQ(testing::ReadFileBytes(err), "");
  EXPECT_NE(Log().find("CPF ou CNPJ do consumidor\t\r\n"), std::string::npos) << Log();
}

}  // namespace
}  // namespace taloven
