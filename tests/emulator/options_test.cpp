#include "options.h"

#include <gtest/gtest.h>

#include <sstream>

#include "base/printer_models.h"

namespace taloven::emulator {
namespace {

// Every field that differs from a fresh Options, in a fixed order, so that a
// row names exactly what its command line set and nothing else.
std::string Describe(const Options& o) {
  const Options fresh;
  std::ostringstream out;
  constexpr const char* kLines[] = {"none", "pty", "file", "usb"};
  if (o.line != fresh.line) out << " line=" << kLines[static_cast<int>(o.line)];
  if (!o.linkPath.empty()) out << " link=" << o.linkPath;
  if (!o.usbSocketPath.empty()) out << " usb=" << o.usbSocketPath;
  if (o.baud != fresh.baud) out << " baud=" << o.baud;
  if (!o.model.empty()) out << " model=" << o.model;
  if (o.intervention) out << " intervention";
  if (!o.statePath.empty()) out << " state=" << o.statePath;
  if (o.verbose) out << " verbose";
  if (o.help) out << " help";
  if (o.version) out << " version";
  if (o.simulateDays != fresh.simulateDays) out << " days=" << o.simulateDays;
  if (!o.exportPdf417.empty()) out << " pdf417=" << o.exportPdf417;
  if (!o.exportScanner.empty()) out << " export-scanner=" << o.exportScanner;
  if (!o.scanner.empty()) out << " scanner=" << o.scanner;
  if (o.symbolGapMs != fresh.symbolGapMs) out << " gap=" << o.symbolGapMs;
  for (int k : o.repeatSymbols) out << " repeat=" << k;
  for (int k : o.skipSymbols) out << " skip=" << k;
  const FaultPlan& f = o.faults;
  if (f.noReply) out << " no-reply";
  if (f.stallAfter >= 0) out << " stall=" << f.stallAfter;
  if (f.nak) out << " nak";
  if (f.corruptStatus) out << " corrupt-status";
  if (f.noiseBytes > 0) out << " noise=" << f.noiseBytes;
  if (f.slowByteMs > 0) out << " slow=" << f.slowByteMs;
  if (f.closeMidReply) out << " close";
  if (f.commands >= 0) out << " count=" << f.commands;
  if (f.corruptData) out << " corrupt-data";
  if (f.after > 0) out << " after=" << f.after;
  if (f.gapMs > 0) out << " fault-gap=" << f.gapMs << "/" << f.gapEvery;
  return out.str().empty() ? "" : out.str().substr(1);
}

TEST(Options, ValidCommandLinesSetExactlyTheirFields) {
  const struct {
    std::vector<std::string> arguments;
    const char* set;
  } rows[] = {
      {{"--pty"}, "line=pty"},
      {{"--pty", "--pty", "--link", "/tmp/l"}, "line=pty link=/tmp/l"},
      {{"--file"}, "line=file"},
      {{"--usb-socket", "/s"}, "line=usb usb=/s"},
      {{"--file", "--baud", "9600"}, "line=file baud=9600"},
      {{"--file", "--baud", "100000000"}, "line=file baud=100000000"},
      {{"--pty", "--model", "ECF-T02  "}, "line=pty model=ECF-T02"},
      {{"--pty", "--model", "ECF-T01", "--model", "ECF-T12"}, "line=pty model=ECF-T12"},
      {{"--file", "--intervention", "--verbose", "--state", "p.state"},
       "line=file intervention state=p.state verbose"},
      {{"--state", "s", "--simulate-days", "3"}, "state=s days=3"},
      {{"--state", "s", "--export-pdf417", "d"}, "state=s pdf417=d"},
      {{"--state", "s", "--export-scanner", "f"}, "state=s export-scanner=f"},
      {{"--state", "s", "--simulate-days", "1", "--link", "x"}, "link=x state=s days=1"},
      {{"--scanner", "f"}, "line=pty scanner=f"},
      {{"--scanner", "f", "--pty", "--link", "l", "--symbol-gap", "0", "--repeat", "5", "--skip",
        "3", "--repeat", "2"},
       "line=pty link=l scanner=f gap=0 repeat=2 repeat=5 skip=3"},
      {{"--help"}, "help"},
      {{"-h", "--file", "--link", "x"}, "line=file link=x help"},
      {{"--version"}, "version"},
      {{"--pty", "--fault-no-reply", "--fault-nak", "--fault-corrupt-status", "--fault-close",
        "--fault-corrupt-data"},
       "line=pty no-reply nak corrupt-status close corrupt-data"},
      {{"--pty", "--fault-stall", "0", "--fault-noise", "4", "--fault-slow", "7", "--fault-after",
        "2", "--fault-count", "3"},
       "line=pty stall=0 noise=4 slow=7 count=3 after=2"},
      {{"--pty", "--fault-gap", "20/62"}, "line=pty fault-gap=20/62"},
  };
  for (const auto& row : rows) {
    Options options;
    const Status parsed = ParseOptions(row.arguments, options);
    EXPECT_TRUE(parsed.ok()) << row.set << ": " << parsed.message();
    EXPECT_EQ(Describe(options), row.set);
  }
}

TEST(Options, InvalidCommandLinesAreRefusedWithTheirReason) {
  const struct {
    std::vector<std::string> arguments;
    const char* error;
  } rows[] = {
      {{}, "choose a line: --pty, --file or --usb-socket PATH"},
      {{"--bogus"}, "unknown option \"--bogus\""},
      {{"-x", "--help"}, "unknown option \"-x\""},
      {{"--pty", "--file"}, "choose one of --pty, --file and --usb-socket"},
      {{"--pty", "--usb-socket"}, "choose one of --pty, --file and --usb-socket"},
      {{"--usb-socket"}, "--usb-socket needs a value"},
      {{"--pty", "--link"}, "--link needs a value"},
      {{"--baud"}, "--baud needs a value"},
      {{"--baud", "x"}, "--baud: \"x\" is not a number of 0 or more"},
      {{"--baud", "-1"}, "--baud: \"-1\" is not a number of 0 or more"},
      {{"--baud", "1e3"}, "--baud: \"1e3\" is not a number of 0 or more"},
      {{"--baud", "100000001"}, "--baud: \"100000001\" is not a number of 0 or more"},
      {{"--baud", ""}, "--baud: \"\" is not a number of 0 or more"},
      {{"--model"}, "--model needs a value"},
      {{"--model", "ecf-t08"}, "unknown model \"ecf-t08\" (ECF-T01 to ECF-T13)"},
      {{"--model", "ECF-T14"}, "unknown model \"ECF-T14\" (ECF-T01 to ECF-T13)"},
      {{"--state"}, "--state needs a value"},
      {{"--export-pdf417"}, "--export-pdf417 needs a value"},
      {{"--export-scanner"}, "--export-scanner needs a value"},
      {{"--scanner"}, "--scanner needs a value"},
      {{"--symbol-gap", "-5"}, "--symbol-gap: \"-5\" is not a number of 0 or more"},
      {{"--repeat", "0"}, "--repeat: \"0\" is not a number of 1 or more"},
      {{"--skip", "abc"}, "--skip: \"abc\" is not a number of 1 or more"},
      {{"--simulate-days", "0"}, "--simulate-days: \"0\" is not a number of 1 or more"},
      {{"--fault-stall", "-1"}, "--fault-stall: \"-1\" is not a number of 0 or more"},
      {{"--fault-noise", "0"}, "--fault-noise: \"0\" is not a number of 1 or more"},
      {{"--fault-slow", "0"}, "--fault-slow: \"0\" is not a number of 1 or more"},
      {{"--fault-after", "0"}, "--fault-after: \"0\" is not a number of 1 or more"},
      {{"--fault-count"}, "--fault-count needs a value"},
      {{"--fault-gap", "20"}, "--fault-gap: \"20\" is not MS/EVERY, two numbers of 1 or more"},
      {{"--fault-gap", "20/0"}, "--fault-gap: \"20/0\" is not MS/EVERY, two numbers of 1 or more"},
      {{"--fault-gap", "/62"}, "--fault-gap: \"/62\" is not MS/EVERY, two numbers of 1 or more"},
      {{"--fault-count", "0"}, "--fault-count: \"0\" is not a number of 1 or more"},
      {{"--help", "--baud", "x"}, "--baud: \"x\" is not a number of 0 or more"},
      {{"--version", "--pty", "--file"}, "choose one of --pty, --file and --usb-socket"},
      {{"--state", "s"}, "choose a line: --pty, --file or --usb-socket PATH"},
      {{"--export-pdf417", "d"}, "choose a line: --pty, --file or --usb-socket PATH"},
      {{"--file", "--link", "x"}, "--link goes with --pty"},
      {{"--usb-socket", "s", "--link", "x"}, "--link goes with --pty"},
      {{"--file", "--scanner", "f"}, "a scanner serves a pseudo-terminal (--pty)"},
      {{"--pty", "--symbol-gap", "10"}, "--symbol-gap, --repeat and --skip go with --scanner"},
      {{"--pty", "--repeat", "3"}, "--symbol-gap, --repeat and --skip go with --scanner"},
      {{"--skip", "3"}, "--symbol-gap, --repeat and --skip go with --scanner"},
  };
  for (const auto& row : rows) {
    Options options;
    const Status parsed = ParseOptions(row.arguments, options);
    EXPECT_FALSE(parsed.ok()) << row.error;
    EXPECT_EQ(parsed.message(), row.error);
  }
}

TEST(Options, HelpNamesTheFileExchangeDirectoryInUse) {
  const std::string help = HelpText("/srv/drive");
  EXPECT_NE(help.find("as the application (now: /srv/drive);\n"), std::string::npos);
  EXPECT_EQ(help.find("(now: /srv/drive)"), help.rfind("(now: /srv/drive)"));
}

// The models the emulator plays are those the CLI's --model takes: every row
// of the model table, and its help names them.
TEST(Options, PlaysEveryModelOfTheTable) {
  for (const PrinterModel& model : PrinterModels()) {
    std::string name(model.name);
    name.erase(name.find_last_not_of(' ') + 1);
    Options options;
    const Status parsed = ParseOptions({"--pty", "--model", name}, options);
    EXPECT_TRUE(parsed.ok()) << name << ": " << parsed.message();
    EXPECT_EQ(options.model, name);
  }
  EXPECT_NE(HelpText("/d").find("--model NAME        ECF-T01 to ECF-T13 (default ECF-T08)\n"),
            std::string::npos);
}

}  // namespace
}  // namespace taloven::emulator
