#include <gtest/gtest.h>

#include "link/progress_window.h"
#include "support/scripted_ui.h"

namespace taloven {
namespace {

using testing::ScriptedUi;

TEST(ProgressWindow, CaptionShowsThePercentageOnlyWhenItChanges) {
  ScriptedUi ui;
  ProgressWindow progress(ui);
  ASSERT_TRUE(progress.Create("Progresso", false));
  progress.SetRange(0, 200, 1);
  for (int i = 0; i < 100; ++i) progress.StepIt();
  EXPECT_EQ(progress.Position(), 100);
  EXPECT_EQ(progress.Caption(), "Progresso [50%]");
  const auto& record = *ui.Progress().at(0);
  // The title first, then one caption per percentage 1..50 (199 rounds up).
  ASSERT_EQ(record.captions.size(), 51u);
  EXPECT_EQ(record.captions.front(), "Progresso");
  EXPECT_EQ(record.captions[1], "Progresso [1%]");
  EXPECT_EQ(record.position, 100);
}

TEST(ProgressWindow, PercentageRoundsAndEmptyRangeShowsZero) {
  ScriptedUi ui;
  ProgressWindow progress(ui);
  progress.Create("T", false);
  progress.SetRange(10, 13, 1);
  EXPECT_EQ(progress.SetPos(11), 11);
  EXPECT_EQ(progress.Caption(), "T [33%]");
  progress.SetPos(12);
  EXPECT_EQ(progress.Caption(), "T [67%]");
  progress.SetRange(5, 5, 1);
  progress.SetPos(9);
  EXPECT_EQ(progress.Caption(), "T [0%]");
}

TEST(ProgressWindow, StepWrapCyclesWithoutTouchingTheCaption) {
  ScriptedUi ui;
  ProgressWindow progress(ui);
  progress.Create("Progresso", false);
  progress.SetRange(0, 1000, 1);
  for (int i = 0; i < 999; ++i) progress.StepWrap();
  EXPECT_EQ(progress.Position(), 999);
  EXPECT_EQ(progress.StepWrap(), 0);
  EXPECT_EQ(ui.Progress()[0]->captions.size(), 1u);
  EXPECT_EQ(progress.Caption(), "Progresso");
}

struct PumpCase {
  ProgressEvents events;
  bool cancelOnEscape;
  bool cancelled;
  bool keepsGoing;
};

class ProgressPump : public ::testing::TestWithParam<PumpCase> {};

TEST_P(ProgressPump, ReportsWhatTheUserDid) {
  const PumpCase& c = GetParam();
  ScriptedUi ui;
  ui.onProgressPump = [&](ScriptedUi::ProgressRecord&) { return c.events; };
  ProgressWindow progress(ui);
  progress.GoModal("Progresso", false);
  EXPECT_EQ(progress.PeekAndPump(c.cancelOnEscape), c.keepsGoing);
  EXPECT_EQ(progress.Cancelled(), c.cancelled);
  EXPECT_EQ(ui.Progress()[0]->hidden, c.cancelled);
}

INSTANTIATE_TEST_SUITE_P(Events, ProgressPump,
                         ::testing::Values(PumpCase{{}, true, false, true},
                                           PumpCase{{.escapePressed = true}, true, true, true},
                                           PumpCase{{.escapePressed = true}, false, false, true},
                                           PumpCase{{.cancelClicked = true}, false, true, true},
                                           PumpCase{{.cancelClicked = true}, true, true, true},
                                           PumpCase{{.quitRequested = true}, true, false, false}));

TEST(ProgressWindow, ModalOwnerIsReleasedWhenDestroyed) {
  ScriptedUi ui;
  {
    ProgressWindow progress(ui);
    progress.GoModal("Progresso", true);
    EXPECT_TRUE(ui.Progress()[0]->modal);
  }
  EXPECT_FALSE(ui.Progress()[0]->modal);
  EXPECT_TRUE(ui.Progress()[0]->destroyed);
}

TEST(ProgressWindow, CancelledStaysCancelledAndStopsPumping) {
  ScriptedUi ui;
  ProgressWindow progress(ui);
  progress.Create("Progresso", false);
  progress.Cancel();
  EXPECT_TRUE(progress.PeekAndPump(true));
  EXPECT_TRUE(progress.Cancelled());
  EXPECT_EQ(ui.Progress()[0]->pumps, 0);
}

TEST(ProgressWindow, OperationsOnAWindowThatIsGoneDoNothing) {
  ScriptedUi ui;
  ProgressWindow progress(ui);
  progress.Create("Progresso", false);
  progress.SetRange(0, 10, 2);
  progress.StepIt();
  progress.Destroy();
  EXPECT_EQ(progress.StepIt(), 2);
  EXPECT_EQ(progress.SetPos(7), 2);
  EXPECT_EQ(progress.StepWrap(), 2);
  EXPECT_TRUE(progress.PeekAndPump(true));
  progress.SetText("x");
  EXPECT_TRUE(ui.Progress()[0]->messages.empty());

  ProgressWindow never(ui);  // never created
  EXPECT_EQ(never.StepIt(), 0);
  EXPECT_FALSE(never.Cancelled());
}

}  // namespace
}  // namespace taloven
