// The CLI against a virtual printer that fails or refuses: the exit status
// says what happened, stderr says why, and the files kept from earlier runs
// are left byte for byte as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "base/encoding.h"
#include "cli_outcome.h"
#include "emulator/emulator_process.h"
#include "programming/configuration_file.h"
#include "sequences/sequences_file.h"
#include "support/temp_directory.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;
using testing::CliOutcome;
using testing::ReadFileBytes;

// Every file a row may find untouched, each with content of its own.
const char* const kEarlierFiles[] = {"LX1.txt",  "LX2.txt",          "LX1B.txt",
                                     "LX2B.txt", "equipamentos.xml", "sequencias.xml"};

// A working directory as an earlier day left it: a catalogue, the sequence
// CAIXA (one withdrawal), the configuration S1, and the four readings.
class EarlierDay {
 public:
  EarlierDay() {
    fs::copy_file(TALOVEN_SOURCE_DIR "/data/comandos.xml", dir_.Path() / "comandos.xml");
    CommandRecord withdrawal;
    withdrawal.SetTitle("Sangria");
    withdrawal.SetEscapeText("25");
    CommandParameter amount;
    amount.title = "Valor";
    amount.size = 14;
    amount.type = "FINANCE";
    amount.value = "00000000001500";
    withdrawal.AppendParameter(amount);
    CommandSequence sequence;
    sequence.name = "CAIXA               ";
    sequence.InsertCommand(withdrawal);
    SavedSequences saved;
    saved.Append(sequence);
    EXPECT_TRUE(SaveSequences(saved, SequencesFilePath(Directory())).ok());
    EquipmentConfiguration configuration;
    configuration.serialNumber = "S1";
    configuration.cnpj = "11.222.333/0001-44";
    configuration.ie = "ISENTO";
    configuration.date = "010127";
    configuration.time = "080000";
    configuration.cliche = "LOJA\r\n";
    configuration.storeNumber = "0002";
    configuration.registerNumber = "003";
    EXPECT_TRUE(SaveConfigurations(ConfigurationsPath(Directory()), {configuration}).ok());
    for (const char* name : {"LX1.txt", "LX2.txt", "LX1B.txt", "LX2B.txt"})
      std::ofstream(dir_.Path() / name, std::ios::binary) << "leitura anterior " << name;
  }

  std::string Directory() const { return dir_.Path().string(); }
  fs::path Path(const char* name) const { return dir_.Path() / name; }

  CliOutcome Run(std::vector<std::string> args) const {
    args.insert(args.begin(), {"-C", Directory()});
    return testing::RunCliCaptured(args);
  }

 private:
  testing::TempDirectory dir_;
};

TEST(FaultCases, ExitStatusMessageAndEarlierFiles) {
  const std::string password = "00112233445566778899";
  const struct {
    const char* what;
    std::vector<std::string> printer;  // emulator options
    std::vector<std::string> command;
    int status;
    const char* err;                // a part of stderr
    std::vector<const char*> kept;  // earlier files that must not change
    const char* blocked = nullptr;  // a directory put in this file's place
  } cases[] = {
      {"check, printer silent",
       {"--fault-no-reply"},
       {"verify", "check", "caixa"},
       4,
       "LX1B.txt não foi obtida; nada foi comparado",
       {"LX1.txt", "LX2.txt", "LX1B.txt", "LX2B.txt"}},
      {"check, reply stalls",
       {"--fault-stall", "3"},
       {"verify", "check", "caixa"},
       4,
       "Falha no envio do comando",
       {"LX1.txt", "LX2.txt", "LX1B.txt", "LX2B.txt"}},
      {"check, line dropped",
       {"--fault-close"},
       {"verify", "check", "caixa"},
       4,
       "Falha no envio do comando",
       {"LX1.txt", "LX2.txt", "LX1B.txt", "LX2B.txt"}},
      {"check, reading after fails",
       {"--fault-after", "2", "--fault-no-reply"},
       {"verify", "check", "caixa"},
       4,
       "LX2B.txt não foi obtida",
       {"LX1.txt", "LX2.txt", "LX1B.txt", "LX2B.txt"}},
      {"check, reading refused",
       {"--fault-nak"},
       {"verify", "check", "caixa"},
       10,
       "recusou a leitura X para LX1B.txt (COMANDO NÃO RECEBIDO)",
       {"LX1.txt", "LX2.txt", "LX1B.txt", "LX2B.txt"}},
      {"check, LX2B cannot be written",
       {},
       {"verify", "check", "caixa"},
       1,
       "não foi possível gravar",
       {"LX1.txt", "LX2.txt"},
       "LX2B.txt"},
      {"train, reading after fails",
       {"--fault-after", "2", "--fault-no-reply"},
       {"verify", "train", "caixa"},
       4,
       "LX2.txt não foi obtida; o treino anterior fica como estava",
       {"LX1.txt", "LX2.txt"}},
      {"train, reading refused",
       {"--fault-nak"},
       {"verify", "train", "caixa"},
       10,
       "recusou \"comando 69\": COMANDO NÃO RECEBIDO",
       {"LX1.txt", "LX2.txt"}},
      {"send refused",
       {"--fault-nak"},
       {"send", "Sangria", "12,34"},
       10,
       "recusou \"Sangria\": COMANDO NÃO RECEBIDO",
       {}},
      {"sequence refused",
       {"--fault-nak"},
       {"sequence", "run", "caixa"},
       10,
       "recusou \"Sangria\": COMANDO NÃO RECEBIDO",
       {"sequencias.xml"}},
      {"sequence unanswered keeps its own status",
       {"--fault-no-reply"},
       {"sequence", "run", "caixa"},
       4,
       "",
       {"sequencias.xml"}},
      {"programming out of intervention",
       {},
       {"--model", "ECF-T08", "config", "program", "S1", "--password", password},
       10,
       "recusou \"Vinculacao ao ISS\": COMANDO NÃO EXECUTADO",
       {"equipamentos.xml"}},
      {"programming refused",
       {"--intervention", "--fault-nak"},
       {"--model", "ECF-T08", "config", "program", "S1", "--password", password},
       10,
       "recusou \"Programacao Data e Hora\": COMANDO NÃO RECEBIDO",
       {"equipamentos.xml"}},
      {"reading the configuration refused",
       {"--fault-nak"},
       {"--model", "ECF-T08", "config", "read", "--save"},
       10,
       "configuração não salva",
       {"equipamentos.xml"}},
      {"reading the configuration unanswered",
       {"--fault-no-reply"},
       {"--model", "ECF-T08", "config", "read"},
       4,
       "",
       {"equipamentos.xml"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EarlierDay day;
    if (c.blocked) {
      fs::remove(day.Path(c.blocked));
      fs::create_directory(day.Path(c.blocked));
    }
    std::map<std::string, std::string> before;
    for (const char* name : kEarlierFiles)
      if (fs::is_regular_file(day.Path(name))) before[name] = ReadFileBytes(day.Path(name));
    const std::string link = (day.Path("ttyECF")).string();
    std::vector<std::string> printerArgs{"--pty", "--link", link};
    printerArgs.insert(printerArgs.end(), c.printer.begin(), c.printer.end());
    emulator::testing::EmulatorProcess printer(printerArgs);
    std::vector<std::string> args{"-p", link, "--timeout", "2"};
    args.insert(args.end(), c.command.begin(), c.command.end());

    const CliOutcome run = day.Run(args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("Ok!"), std::string::npos) << "nothing certified";
    for (const char* name : c.kept) EXPECT_EQ(ReadFileBytes(day.Path(name)), before[name]) << name;
  }
}

// A damaged sequences file is named with the parser's line, and nothing
// that would save over it does.
TEST(FaultCases, DamagedSequencesFileIsReportedAndKept) {
  std::string sound;
  {
    EarlierDay day;
    sound = ReadFileBytes(day.Path("sequencias.xml"));
  }
  std::string flipped = sound;
  flipped[flipped.find("</titulo>")] ^= 0x80;
  std::string deep = "<sequencias>";
  for (int i = 0; i < 300; ++i) deep += "<sequencia>";
  const struct {
    const char* what;
    std::string bytes;
    const char* line;
  } damages[] = {
      {"truncated", sound.substr(0, sound.size() / 2), "XML malformado na linha 10 ("},
      {"flipped byte", flipped, "XML malformado na linha 22 ("},
      {"nested too deep", deep, "XML malformado na linha 1 ("},
  };
  const std::vector<std::vector<std::string>> commands = {
      {"sequence", "list"},
      {"sequence", "new", "nova"},
      {"sequence", "add", "caixa", "Sangria"},
      {"sequence", "delete", "caixa"},
      {"verify", "check", "caixa"},
  };
  for (const auto& damage : damages) {
    for (const auto& command : commands) {
      SCOPED_TRACE(std::string(damage.what) + ": " + command[1]);
      EarlierDay day;
      std::ofstream(day.Path("sequencias.xml"), std::ios::binary | std::ios::trunc) << damage.bytes;
      const CliOutcome run = day.Run(command);
      EXPECT_EQ(run.status, 1);
      EXPECT_NE(run.err.find(damage.line), std::string::npos) << run.err;
      EXPECT_NE(run.err.find("movido para outro lugar"), std::string::npos) << run.err;
      EXPECT_EQ(ReadFileBytes(day.Path("sequencias.xml")), damage.bytes);
      EXPECT_EQ(run.out, "");
    }
  }
}

}  // namespace
}  // namespace taloven
