#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/qt/dialog_parent.h"
#include "ui/ui.h"

namespace taloven {

// The GUI's answer to the Ui seam: Qt windows owned by the given parent.
class QtUi : public Ui, public DialogParent {
 public:
  explicit QtUi(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) override { parent_ = parent; }
  QWidget* Parent() const override { return parent_; }
  DialogParent* Placement() override { return this; }

  // Windows (qt_ui_windows.cpp).
  MessageAnswer Message(const std::string& text, const std::string& caption, MessageButtons buttons,
                        MessageIcon icon) override;
  std::unique_ptr<WaitHandle> ShowWait(const std::string& text) override;
  std::unique_ptr<WaitHandle> ShowConnection(const std::string& text) override;
  std::unique_ptr<ProgressView> CreateProgress(const std::string& title, bool smooth) override;
  void Pause(int ms) override;
  std::optional<std::string> SaveFileName(const std::string& proposedName,
                                          const std::string& defaultExtension,
                                          const std::vector<FileFilter>& filters) override;
  std::optional<std::string> OpenFileName(const std::vector<FileFilter>& filters) override;
  std::optional<std::vector<std::string>> OpenFileNames(const std::string& title,
                                                        const std::vector<FileFilter>& filters,
                                                        bool several) override;

  bool ShellOpen(const std::string& path) override;
  bool ShellOpenHelp(const std::string& path, int contextId) override;
  void ShowResults(const std::string& message, const std::string& dump) override;
  // Once per run of the program: a log that fails once will fail again.
  void LogWriteFailed(const std::string& text) override;

  // Entry dialogs (qt_ui_entry.cpp).
  std::optional<std::string> TextEntry(const std::string& prompt, int limit,
                                       const std::string& preset) override;
  std::optional<std::string> LongText(const std::string& prompt, int limit,
                                      const std::string& preset) override;
  std::optional<std::string> Number(const std::string& prompt, int limit,
                                    const std::string& preset) override;
  std::optional<std::string> Amount(const std::string& prompt, int integerDigits, int decimals,
                                    const std::string& preset) override;
  std::optional<PercentAnswer> Percent(const std::string& prompt) override;
  std::optional<Date> DateEntry(const std::string& prompt) override;
  std::optional<TimeAnswer> TimeEntry(const std::string& prompt, bool clockMode) override;
  std::optional<int> Options(const std::string& prompt,
                             const std::vector<std::string>& options) override;
  std::optional<ChequeFields> ChequePositions(const ChequeFields& preset) override;
  std::optional<ClicheAnswer> ClicheEditor() override;
  TaxRates TaxRatePage(const TaxRates& preset, bool* accepted) override;
  std::optional<MfdInterval> MfdIntervalDialog() override;
  std::optional<MfReadingChoice> MfReadingDialog() override;

  // The tools opened from other windows (qt_ui_tools.cpp).
  void OpenLinkSettings(AppSettings& settings) override;
  void OpenGraphicCliche(const std::string& portName) override;
  void OpenScanner() override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace taloven
