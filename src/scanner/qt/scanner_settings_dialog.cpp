#include "scanner/qt/scanner_settings_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "resources/qt/dialog_buttons.h"
#include "resources/qt/qt_text.h"
#include "ui/qt/port_list.h"

namespace taloven {
namespace {

// A position outside the list selects nothing, as the stored value names
// no entry.
QComboBox* List(QWidget* parent, const char* name, const std::vector<std::string>& entries,
                int position) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  for (const std::string& entry : entries) list->addItem(ToQt(entry));
  list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
  return list;
}

std::vector<std::string> Numbers(const std::vector<int>& values) {
  std::vector<std::string> texts;
  for (int value : values) texts.push_back(std::to_string(value));
  return texts;
}

}  // namespace

ScannerSettingsDialog::ScannerSettingsDialog(const ScannerSettings& settings,
                                             const std::vector<PortLine>& devices, QWidget* parent)
    : QDialog(parent), storedPort_(settings.portName) {
  setObjectName(QStringLiteral("scannerSettings"));
  setWindowTitle(QStringLiteral("Configurar"));

  // A name beyond the COM entries (a USB scanner's device, a COM port past
  // the fourth, a network address) is offered as it is stored, with the
  // devices present; any other can be typed.
  std::vector<PortLine> lines;
  for (const std::string& name : ScannerPortChoices()) lines.emplace_back(name, name);
  const int position = ScannerPortPosition(settings.portName);
  const bool listed = std::any_of(devices.begin(), devices.end(), [&](const PortLine& line) {
    return line.second == settings.portName;
  });
  if (position < 0 && !listed && !settings.portName.empty())
    lines.emplace_back(settings.portName, settings.portName);
  lines.insert(lines.end(), devices.begin(), devices.end());
  port_ = PortList(
      this, "port", lines,
      position >= 0 ? ScannerPortChoices()[static_cast<size_t>(position)] : settings.portName);
  baud_ = List(this, "baud", Numbers(ScannerBaudRates()), settings.baud);
  bits_ = List(this, "bits", Numbers(ScannerDataBits()), settings.byteLength);
  parity_ = List(this, "parity", ScannerParityChoices(), settings.parity);
  stop_ = List(this, "stop", ScannerStopBitChoices(), settings.stopBits);
  handshake_ = List(this, "handshake", ScannerHandshakeChoices(), settings.handshake);

  auto* group = new QGroupBox(QStringLiteral("Scanner"), this);
  auto* form = new QFormLayout(group);
  const struct {
    const char* label;
    QComboBox* list;
  } rows[] = {
      {"Porta serial usada para leitura de &símbolos PDF-417:", port_},
      {"&Bits por segundo:", baud_},
      {"Bits de &dados:", bits_},
      {"&Paridade:", parity_},
      {"Bits de p&arada:", stop_},
      {"Controle de &fluxo:", handshake_},
  };
  for (const auto& row : rows) {
    auto* label = new QLabel(QString::fromUtf8(row.label), group);
    label->setBuddy(row.list);
    form->addRow(label, row.list);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(
      AddCloseRow(this, {QString(), QStringLiteral("ok")}, {QString(), QStringLiteral("cancel")})
          .box);
}

ScannerSettings ScannerSettingsDialog::Chosen() const {
  ScannerSettings chosen;
  const std::string typed = PortListName(port_);
  const auto& com = ScannerPortChoices();
  const auto found = std::find(com.begin(), com.end(), typed);
  if (typed.empty())
    chosen.portName = storedPort_;
  else if (found != com.end())
    chosen.portName = ScannerPortNameFor(storedPort_, static_cast<int>(found - com.begin()));
  else
    chosen.portName = typed;
  chosen.baud = baud_->currentIndex();
  chosen.byteLength = bits_->currentIndex();
  chosen.parity = parity_->currentIndex();
  chosen.stopBits = stop_->currentIndex();
  chosen.handshake = handshake_->currentIndex();
  return chosen;
}

}  // namespace taloven
