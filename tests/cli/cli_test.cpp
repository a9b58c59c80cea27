#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "cli_outcome.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

using testing::CliOutcome;
using testing::ReadFileBytes;
using testing::RunCliCaptured;
using testing::TempDirectory;

// A catalogue with accents, a tab inside a title and a group met twice.
class CliCatalogue : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(dir_.Path() / "comandos.xml", std::ios::binary)
        << "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n<comandos>\n"
           "<cmd><tipo>Cupom Fiscal</tipo><titulo>Abre cupom</titulo><escape>0</escape></cmd>\n"
           "<cmd><tipo>Informa\xE7\xF5"
           "es</tipo><titulo>Marca,\tModelo e Tipo</titulo>"
           "<escape>35 60</escape></cmd>\n"
           "<cmd><tipo>Cupom Fiscal</tipo><titulo>Acr\xE9scimo</titulo></cmd>\n"
           "</comandos>\n";
  }
  std::string Dir() const { return dir_.Path().string(); }

  TempDirectory dir_;
};

TEST_F(CliCatalogue, ListPrintsOneTabSeparatedLinePerCommand) {
  CliOutcome run = RunCliCaptured({"-C", Dir(), "list"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "0\tCupom Fiscal\tAbre cupom\t0\n"
            "1\tInforma\xC3\xA7\xC3\xB5"
            "es\tMarca, Modelo e Tipo\t35 60\n"
            "2\tCupom Fiscal\tAcr\xC3\xA9scimo\t\n");
  EXPECT_EQ(run.err, "");

  CliOutcome raw = RunCliCaptured({"--raw", "-C", Dir(), "list"});
  EXPECT_EQ(raw.status, 0);
  EXPECT_NE(raw.out.find("1\tInforma\xE7\xF5"
                         "es\t"),
            std::string::npos)
      << raw.out;
  EXPECT_NE(raw.out.find("Acr\xE9scimo"), std::string::npos);
}

TEST_F(CliCatalogue, WrongUsageAndUnloadableCataloguesExitWithOneAndAMessage) {
  TempDirectory empty;
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{}, "falta o comando"},
      {{"-C"}, "falta o valor da op\xC3\xA7\xC3\xA3o -C"},
      {{"-p", ""}, "valor vazio"},
      {{"-z", "list"}, "op\xC3\xA7\xC3\xA3o desconhecida: -z"},
      {{"--timeout", "0", "list"}, "tempo inv\xC3\xA1lido para --timeout: 0"},
      {{"--timeout", "1.5", "list"}, "tempo inv\xC3\xA1lido"},
      {{"--timeout", "-3", "list"}, "tempo inv\xC3\xA1lido"},
      {{"--timeout"}, "falta o valor da op\xC3\xA7\xC3\xA3o --timeout"},
      {{"ouvir"}, "comando desconhecido: ouvir"},
      {{"-C", Dir(), "list", "demais"}, "argumento a mais: demais"},
      {{"-C", empty.Path().string(), "list"}, "N\xC3\xA3o foi poss\xC3\xADvel carregar"},
  };
  for (const auto& c : cases) {
    ::testing::internal::CaptureStderr();  // the loader's own diagnostic line
    CliOutcome run = RunCliCaptured(c.args);
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(run.status, 1) << c.message;
    EXPECT_EQ(run.out, "") << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  ::testing::internal::CaptureStderr();
  CliOutcome missing = RunCliCaptured({"-C", empty.Path().string(), "list"});
  ::testing::internal::GetCapturedStderr();
  EXPECT_NE(missing.err.find((empty.Path() / "comandos.xml").string()), std::string::npos)
      << "the reason names the file: " << missing.err;
}

TEST_F(CliCatalogue, HelpListsTheCommandsAndTheirUsage) {
  for (const char* flag : {"--help", "-h"}) {
    CliOutcome run = RunCliCaptured({flag});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("uso: taloven-cli"), std::string::npos);
    for (const CliCommand& command : CommandTable())
      EXPECT_NE(run.out.find(std::string("\n  ") + command.name), std::string::npos);
  }
  CliOutcome run = RunCliCaptured({"list", "--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("uso: taloven-cli [op\xC3\xA7\xC3\xB5"
                         "es] list"),
            std::string::npos)
      << run.out;
}

TEST(RunCli, HandsTheCommandItsOptionsArgumentsAndSettings) {
  static CommandContext* seen;
  static std::string given, converted;
  const std::vector<CliCommand> table = {{"probe", "[X...]", "", [](CommandContext& context) {
                                            seen = &context;
                                            given =
                                                context.options.portName + "|" +
                                                context.settings.portName + "|" +
                                                context.settings.workingDirectory + "|" +
                                                std::to_string(context.settings.extendedReturn) +
                                                "|" + std::to_string(context.options.raw);
                                            for (const std::string& argument : context.arguments)
                                              given += "|" + argument;
                                            converted = context.ToCore("\xC3\xA9");
                                            return 7;
                                          }}};
  EXPECT_EQ(RunCliCaptured({"-x", "-p", "USB", "-C", "/d", "probe", "-p", "a"}, table).status, 7);
  EXPECT_EQ(given, "USB|USB|/d|1|0|-p|a") << "options after the command are its own";
  EXPECT_EQ(converted, "\xE9");

  EXPECT_EQ(RunCliCaptured({"--raw", "--", "probe"}, table).status, 7);
  EXPECT_EQ(given.substr(0, 6), "COM1:|") << "COM1: is the default port";
  EXPECT_NE(given.find("|0|1"), std::string::npos) << given;
  EXPECT_EQ(converted, "\xC3\xA9") << "raw arguments stay as typed";
  EXPECT_NE(seen, nullptr);
}

TEST_F(CliCatalogue, TheProgramWritesResultsToStdoutAndMessagesToStderr) {
  const std::string err = (dir_.Path() / "err.txt").string();
  const std::string command =
      std::string(TALOVEN_CLI_PATH) + " -C '" + Dir() + "' list 2>'" + err + "'";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string out;
  char buffer[256];
  while (size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, got);
  int status = ::pclose(pipe);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3);
  EXPECT_EQ(ReadFileBytes(err), "");

  const std::string failing =
      std::string(TALOVEN_CLI_PATH) + " -C '" + Dir() + "/nada' list >/dev/null 2>&1";
  status = std::system(failing.c_str());
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

}  // namespace
}  // namespace taloven
