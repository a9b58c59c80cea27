#include "sequences/verify_totals.h"

#include <gtest/gtest.h>

#include <filesystem>

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

TEST(VerifyTotals, AnUnwritableReadingIsReportedAndNeverCompared) {
  struct Case {
    const char* what;
    MessageAnswer answer;
    const char* blocked;  // reading file made unwritable (a directory in its place)
    bool missingDirectory;
    size_t runs;     // progress windows, one per run of the sequence
    size_t results;  // results windows shown
    bool errorShown;
  };
  const Case cases[] = {
      {"cancel does nothing", MessageAnswer::Cancel, nullptr, false, 0, 0, false},
      {"check without a printer still reports", MessageAnswer::No, nullptr, false, 1, 1, false},
      {"stale LX2B is not compared", MessageAnswer::No, kCheckAfter, false, 1, 0, true},
      {"no reading before, no run", MessageAnswer::Yes, nullptr, true, 0, 0, true},
      {"training shows its runs after LX2 failed", MessageAnswer::Yes, kTrainingAfter, false, 1, 1,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TempDirectory work;
    AppSettings settings;
    settings.workingDirectory = (work.Path() / (c.missingDirectory ? "gone" : "")).string();
    if (c.blocked) fs::create_directory(work.Path() / c.blocked);
    testing::TestClock clock;
    testing::ScriptedUi ui(&clock);
    NoPorts ports;
    ExecutionContext context{settings, ui, ports, clock};
    ui.Push(c.answer);
    VerifyTotals(OneCommand(), {1, 0, false}, context);
    ASSERT_FALSE(ui.Prompts().empty());
    EXPECT_EQ(ui.Prompts()[0].text, "Treinar verificador?");
    EXPECT_EQ(ui.Progress().size(), c.runs);
    EXPECT_EQ(ui.WaitTexts(), std::vector<std::string>(c.runs, "Por favor, aguarde....."));
    EXPECT_EQ(ui.Results().size(), c.results);
    bool errorShown = false;
    for (const auto& prompt : ui.Prompts())
      errorShown |= prompt.kind == "message" && prompt.text.find("gravar") != std::string::npos;
    EXPECT_EQ(errorShown, c.errorShown);
    if (c.answer == MessageAnswer::No && !c.blocked) {
      // Every reading stored the failure and reads as zero, so nothing moved.
      EXPECT_NE(testing::ReadFileBytes(work.Path() / kCheckAfter).find("Falha no envio"),
                std::string::npos);
      EXPECT_FALSE(ReportHasErrors(ui.Results().at(0).first));
    }
  }
}

}  // namespace
}  // namespace taloven
