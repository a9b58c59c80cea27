#include "sequences/verify_totals.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "link/port.h"
#include "sequences/reading_compare.h"
#include "sequences/take_reading.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"
#include "support/test_clock.h"

namespace taloven {
namespace {

namespace fs = std::filesystem;

// No printer at all: every command ends at once with "Falha no envio do
// comando", which is what a reading then stores.
class NoPorts : public PortFactory {
 public:
  std::unique_ptr<Port> Create(const std::string&) override { return nullptr; }
};

CommandSequence OneCommand() {
  CommandSequence sequence;
  sequence.name = "UM";
  CommandRecord record;
  record.SetEscapeText("25");
  sequence.InsertCommand(record);
  return sequence;
}

// The flow behind "Verificar": a reading that failed ends the pass with its
// own text, compares nothing and leaves the earlier files as they were.
TEST(VerifyTotals, AFailedReadingIsReportedAndNeverCompared) {
  struct Case {
    const char* what;
    MessageAnswer answer;
    size_t results;  // results windows shown
    bool errorShown;
  };
  const Case cases[] = {
      {"cancel does nothing", MessageAnswer::Cancel, 0, false},
      {"check without a printer reports the reading", MessageAnswer::No, 0, true},
      {"training without a printer keeps the earlier pair", MessageAnswer::Yes, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TempDirectory work;
    AppSettings settings;
    settings.workingDirectory = work.Path().string();
    for (const char* name : {kTrainingBefore, kTrainingAfter, kCheckBefore})
      std::ofstream(work.Path() / name, std::ios::binary) << "anterior " << name;
    testing::TestClock clock;
    testing::ScriptedUi ui(&clock);
    NoPorts ports;
    ExecutionContext context{settings, ui, ports, clock};
    ui.Push(c.answer);
    VerifyTotals(OneCommand(), {1, 0, false}, context);
    ASSERT_FALSE(ui.Prompts().empty());
    EXPECT_EQ(ui.Prompts()[0].text, "Treinar verificador?");
    EXPECT_TRUE(ui.Progress().empty()) << "no run after a failed reading before";
    EXPECT_EQ(ui.Results().size(), c.results);
    bool errorShown = false;
    for (const auto& prompt : ui.Prompts())
      errorShown |= prompt.kind == "message" &&
                    prompt.text.find("Falha no envio") != std::string::npos &&
                    prompt.text.find("LX1") != std::string::npos;
    EXPECT_EQ(errorShown, c.errorShown);
    for (const char* name : {kTrainingBefore, kTrainingAfter, kCheckBefore})
      EXPECT_EQ(testing::ReadFileBytes(work.Path() / name), std::string("anterior ") + name);
    EXPECT_FALSE(fs::exists(work.Path() / kCheckAfter));
  }
}

}  // namespace
}  // namespace taloven
