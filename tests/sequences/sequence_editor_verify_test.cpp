#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/encoding.h"
#include "sequences/sequence_editor.h"
#include "sequences/take_reading.h"
#include "support/scripted_port.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"
#include "support/test_clock.h"

namespace taloven {
namespace {

// "Verificar" in the sequences window: the window's fields are read as for
// "Executar", then the verifier runs the sequence loaded in the window.
TEST(SequenceEditorVerify, ReadsTheFieldsAndVerifiesTheCurrentSequence) {
  testing::TempDirectory work;
  std::ofstream(work.Path() / "sequencias.xml")
      << "<?xml version='1.0' encoding='Windows-1252'?><sequencias>"
         "<sequencia><titulo>CAIXA</titulo><cmd><tipo>N</tipo><titulo>Sangria</titulo>"
         "<escape>25</escape></cmd></sequencia></sequencias>";
  AppSettings settings;
  settings.workingDirectory = work.Path().string();
  testing::TestClock clock;
  testing::ScriptedUi ui(&clock);
  testing::ScriptedLine silentPrinter;
  silentPrinter.clock = &clock;
  testing::ScriptedPortFactory ports(silentPrinter);
  SequenceEditor editor(settings, ui, ports, clock);
  editor.Open();
  editor.SelectSaved(0);

  ui.Push(MessageAnswer::No);
  editor.Verify("x", "0", false);

  bool toldNumber = false, asked = false;
  for (const auto& prompt : ui.Prompts()) {
    toldNumber |= prompt.text == W("Digite um número inteiro.");
    asked |= prompt.text == "Treinar verificador?";
  }
  EXPECT_TRUE(toldNumber);
  EXPECT_TRUE(asked);
  // The silent printer gave no reading before: that ends the pass, with
  // nothing run, stored or compared.
  EXPECT_TRUE(ui.Results().empty());
  EXPECT_NE(ui.Prompts().back().text.find("LX1B.txt"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(work.Path() / kCheckBefore));
  EXPECT_FALSE(std::filesystem::exists(work.Path() / kCheckAfter));
  EXPECT_EQ(silentPrinter.frames.size(), 1u);
}

}  // namespace
}  // namespace taloven
