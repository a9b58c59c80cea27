// Writes the fuzzers' seed corpora into DIR/<fuzzer>/, all from real
// outputs: the sample catalogue; for every command of it with its preset
// values, in both reply modes, the frame the application builds and the
// virtual printer's real reply; and from two days of the virtual printer's
// sales under two owners, its journal and fiscal memory as downloaded, the
// library's journal report of them, its X readings, its symbols and their
// bitmaps; and the sequences, configurations and profile the program saves.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "base/profile_file.h"
#include "formats/journal_record.h"
#include "formats/mfd_file.h"
#include "fuzz_catalogue.h"
#include "kovo_mfd.h"
#include "link/execute.h"
#include "link/frame_builder.h"
#include "link/reply_decoder.h"
#include "memories/download.h"
#include "printer/printer.h"
#include "printer/printer_state.h"
#include "printer/simulation.h"
#include "printer/text850.h"
#include "printer/wire_frame.h"
#include "programming/configuration_file.h"
#include "scanner/scanner_settings.h"
#include "scanner/symbol_export.h"
#include "sequences/sequences_file.h"

namespace {

namespace fs = std::filesystem;
using namespace taloven;

constexpr int64_t kToday = 1796637600;  // 7 December 2026, 10:00 UTC

void WriteSeed(const fs::path& directory, const std::string& name, std::string_view bytes) {
  fs::create_directories(directory);
  std::ofstream(directory / name, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void WriteSeed(const fs::path& directory, const std::string& name,
               const std::vector<uint8_t>& bytes) {
  WriteSeed(directory, name,
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The application's frame for a record, through the virtual printer, and
// the record as Execute leaves it with the reply.
void Exchange(emulator::Printer& printer, CommandRecord& record, bool extended) {
  if (BuildCommandFrame(record, extended) != kExecuteOk) return;
  emulator::FrameDecoder decoder;
  for (uint8_t byte : record.frame) {
    if (decoder.Feed(byte) != emulator::FrameDecoder::Event::kFrame) continue;
    const std::vector<uint8_t> reply = printer.Answer(decoder.TakeFrame()).bytes;
    DecodeReply(record, reply, extended);
  }
}

void CommandSeeds(const fs::path& out) {
  const CommandCatalogue& catalogue = fuzz::SampleCatalogue();
  emulator::Printer printer(emulator::DefaultPrinterState("ECF-T08"));
  for (int k = 0; k < catalogue.Count(); ++k) {
    for (const bool extended : {false, true}) {
      const std::string name = std::to_string(k) + (extended ? "x" : "");
      CommandRecord record = catalogue.At(k);
      std::vector<std::string> values;
      for (const CommandParameter& parameter : record.parameters) values.push_back(parameter.value);
      WriteSeed(out / "frame_encode_fuzz", name,
                fuzz::JoinCommandInput(k, extended, fuzz::JoinValues(values)));
      if (BuildCommandFrame(record, extended) != kExecuteOk) continue;
      const std::vector<uint8_t> frame = record.frame;
      WriteSeed(out / "frame_decoder_fuzz", name, frame);

      emulator::FrameDecoder decoder;
      for (uint8_t byte : frame) {
        if (decoder.Feed(byte) != emulator::FrameDecoder::Event::kFrame) continue;
        const std::vector<uint8_t> reply = printer.Answer(decoder.TakeFrame()).bytes;
        WriteSeed(out / "reply_format_fuzz", name,
                  fuzz::JoinCommandInput(
                      k, extended,
                      std::string_view(reinterpret_cast<const char*>(reply.data()), reply.size())));
      }
    }
  }
}

// A new owner registered under technical intervention: the journal's
// owner change, after which COOs count again.
void ChangeOwner(emulator::PrinterState& state, int64_t now) {
  emulator::Printer printer(std::move(state), [now] { return now; });
  printer.MutableState().intervention = true;
  const std::string owner = emulator::Fit("98.765.432/0001-10", 20) + emulator::Fit("IE", 20) +
                            emulator::Fit("IM", 20) + std::string(10, '0') + "C" + "SP" +
                            std::string(10, ' ');
  emulator::Frame frame{emulator::kExtendedStart, {4}};
  frame.body.insert(frame.body.end(), owner.begin(), owner.end());
  printer.Answer(frame);
  printer.MutableState().intervention = false;
  state = printer.State();
}

// The X reading as the verifier stores it.
std::string XReading(emulator::PrinterState state) {
  emulator::Printer printer(std::move(state), [] { return kToday + 7200; });
  CommandRecord record;
  record.SetEscapeText("69");
  record.SetReturnSize(-1);
  Exchange(printer, record, true);
  return record.formattedReturn;
}

// Whole records of the journal from the first at or after `from`, up to
// about `bytes`: fuzzers work best on inputs of a few kilobytes.
std::string JournalPiece(const std::string& journal, size_t from, size_t bytes) {
  std::string piece;
  for (const JournalEntry& e : ScanJournal(journal).entries) {
    const size_t at = static_cast<size_t>(e.lines.data() - journal.data()) - kJournalHeaderSize;
    if (at < from) continue;
    if (!piece.empty() && piece.size() + kJournalHeaderSize + e.lines.size() > bytes) break;
    piece.append(journal, at, kJournalHeaderSize + e.lines.size());
  }
  return piece;
}

// Whole lines of a text from the line holding `what` on, up to about `bytes`.
std::string TextPiece(const std::string& text, const std::string& what, size_t bytes) {
  size_t at = text.find(what);
  if (at == std::string::npos) at = 0;
  at = text.rfind('\n', at);
  at = at == std::string::npos ? 0 : at + 1;
  size_t end = std::min(text.size(), at + bytes);
  const size_t lineEnd = text.rfind('\n', end - 1);
  if (lineEnd != std::string::npos && lineEnd > at) end = lineEnd + 1;
  return text.substr(at, end - at);
}

std::string Prefixed(std::initializer_list<char> head, std::string_view rest) {
  return std::string(head) + std::string(rest);
}

void MemorySeeds(const fs::path& out, const fs::path& scratch) {
  emulator::PrinterState state = emulator::DefaultPrinterState("ECF-T08");
  emulator::SimulateDays(state, 1, kToday - 86400);
  const std::string readingBefore = XReading(state);
  ChangeOwner(state, kToday - 86400 + 3600);
  emulator::SimulateDays(state, 1, kToday);
  const std::string readingAfter = XReading(state);
  const std::string& journal = state.journal;

  // The journal: its start, and the owner change with what follows it.
  const std::string start = JournalPiece(journal, 0, 12 * 1024);
  size_t change = 0;
  for (const JournalEntry& e : ScanJournal(journal).entries)
    if (e.kind == JournalKind::kUserChange)
      change = static_cast<size_t>(e.lines.data() - journal.data()) - kJournalHeaderSize;
  const std::string owners = JournalPiece(journal, change, 12 * 1024);
  const fs::path records = out / "journal_record_fuzz";
  WriteSeed(records, "start", start);
  WriteSeed(records, "owner-change", owners);
  std::string damaged = owners;
  damaged[damaged.size() / 2] ^= 0x20;
  WriteSeed(records, "damaged", damaged);

  // The MFD file as downloaded and as captured, whole, cut short and with
  // a damaged record, for each export and selection.
  const std::string serial = state.serialNumber;
  const std::string downloaded = MfdFileBytes(serial, owners).substr(kMfdErasedBytes);
  const std::string captured = MfdFileBytes(kMfdCaptureSource, start).substr(kMfdErasedBytes);
  const fs::path mfd = out / "mfd_file_fuzz";
  for (char choice = 0; choice < 6; ++choice)
    WriteSeed(mfd, "download-" + std::to_string(choice), Prefixed({choice, 2}, downloaded));
  WriteSeed(mfd, "download-sealed", Prefixed({8, 2}, downloaded));
  WriteSeed(mfd, "capture", Prefixed({0, 1}, captured));
  WriteSeed(mfd, "cut-short", Prefixed({4, 1}, captured.substr(0, captured.size() - 700)));
  WriteSeed(mfd, "damaged",
            Prefixed({2, 2}, MfdFileBytes(serial, damaged).substr(kMfdErasedBytes)));

  // The fiscal memory with both days' reductions, for each reading.
  const std::string image = emulator::FiscalMemoryImage(state);
  for (char choice = 0; choice < 8; ++choice)
    WriteSeed(out / "mf_image_fuzz", "download-" + std::to_string(choice),
              Prefixed({choice}, image));

  // The library's report of the whole journal: where the owner changes, a
  // reduction, and a day's receipts with one document lost.
  const std::string mfdPath = (scratch / "journal.mfd").string();
  const std::string reportPath = (scratch / "journal.txt").string();
  WriteSeed(scratch, "journal.mfd", MfdFileBytes(serial, journal));
  if (KovoGeraTxtTotal(mfdPath.c_str(), reportPath.c_str()) != KOVO_OK) {
    std::fprintf(stderr, "fuzz_seeds: the library made no report\n");
    std::exit(1);
  }
  const std::string report = ReadBytes(reportPath);
  const fs::path diagnosis = out / "report_diagnosis_fuzz";
  WriteSeed(diagnosis, "owner-change", Prefixed({0, 16}, TextPiece(report, W("ALTERAÇÃO"), 8192)));
  WriteSeed(diagnosis, "reduction", Prefixed({1, 64}, TextPiece(report, W("REDUÇÃO Z"), 8192)));
  std::string lost = TextPiece(report, "COO:", 16384);
  const size_t cut = lost.find("COO:", lost.size() / 2);
  const size_t resume = lost.find("COO:", cut + 1);
  if (cut != std::string::npos && resume != std::string::npos) lost.erase(cut, resume - cut);
  WriteSeed(diagnosis, "lost-document", Prefixed({2, 3}, lost));

  // Readings before and after the second day, as the verifier stores them.
  const fs::path readings = out / "reading_fuzz";
  WriteSeed(readings, "one", readingAfter);
  WriteSeed(readings, "two", readingBefore + std::string(1, '\0') + readingAfter);

  // The journal's symbols as a scanner sends them: a whole set, and one
  // read twice with a symbol of another set among them.
  const std::string small = JournalPiece(journal, 0, 1500);
  auto stream = [](const std::vector<std::string>& symbols) {
    std::string bytes;
    for (const std::string& s : symbols) {
      bytes.push_back(static_cast<char>(s.size() & 0xFF));
      bytes.push_back(static_cast<char>(s.size() >> 8));
      bytes += s;
    }
    return bytes;
  };
  std::vector<std::string> symbols = emulator::SymbolRecords(small);
  WriteSeed(out / "symbol_record_fuzz", "set", stream(symbols));
  std::vector<std::string> mixed = symbols;
  mixed.push_back(symbols.front());
  mixed.push_back(emulator::SymbolRecords(owners).back());
  WriteSeed(out / "symbol_record_fuzz", "mixed", stream(mixed));

  // Two of the bitmaps the virtual printer exports for a scanner.
  const fs::path bitmaps = scratch / "bitmaps";
  if (!emulator::ExportSymbolBitmaps(small, bitmaps.string()).ok()) {
    std::fprintf(stderr, "fuzz_seeds: the bitmaps were not exported\n");
    std::exit(1);
  }
  for (const char* name : {"symbol_0001.bmp", "symbol_0002.bmp"})
    if (fs::exists(bitmaps / name)) WriteSeed(out / "bmp_fuzz", name, ReadBytes(bitmaps / name));
}

void SavedFileSeeds(const fs::path& out, const fs::path& scratch) {
  // Two sequences of catalogue commands with their preset values.
  const CommandCatalogue& catalogue = fuzz::SampleCatalogue();
  SavedSequences list;
  for (int s = 0; s < 2; ++s) {
    CommandSequence sequence;
    sequence.name = s == 0 ? "Venda" : W("Leitura e redução");
    for (int k = s; k < catalogue.Count() && k < s + 6; ++k)
      sequence.InsertCommand(catalogue.At(k * 7 % catalogue.Count()));
    list.Append(sequence);
  }
  WriteSeed(out / "sequences_file_fuzz", "saved.xml", SequencesDocument(list));

  // A printer's configuration with a cliché of two lines and its rates.
  EquipmentConfiguration configuration;
  configuration.serialNumber = "KV0812260000001";
  configuration.client = W("Padaria São João");
  configuration.cnpj = "12.345.678/0001-90";
  configuration.ie = "123.456.789.110";
  configuration.uf = "SP";
  configuration.storeNumber = "0001";
  configuration.registerNumber = "001";
  configuration.date = "081226";
  configuration.time = "103000";
  configuration.cliche = "PADARIA\r\n<e>RUA DAS FLORES, 10</e>";
  configuration.taxRates[0] = "1800";
  configuration.taxRates[1] = "0500";
  configuration.issLinkage[1] = '1';
  configuration.restaurantOrShop = "1";
  configuration.conferenceCoupon = "-1";
  configuration.totalizerNames[0] = "Sangria";
  WriteSeed(out / "configuration_file_fuzz", "saved.xml",
            ConfigurationsFileBytes({configuration, EquipmentConfiguration{}}));

  // The profile as the scanner settings dialog leaves it.
  ProfileFile profile((scratch / "taloven.ini").string());
  ScannerSettings settings;
  settings.portName = "COM3:";
  settings.baud = 5;
  StoreScannerSettings(profile, settings);
  if (!profile.Save().ok()) {
    std::fprintf(stderr, "fuzz_seeds: the profile was not saved\n");
    std::exit(1);
  }
  WriteSeed(out / "profile_fuzz", "scanner.ini", ReadBytes(scratch / "taloven.ini"));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
    return 1;
  }
  const fs::path out = argv[1];
  fs::create_directories(out / "catalogue_load_fuzz");
  fs::copy_file(TALOVEN_SOURCE_DIR "/data/comandos.xml", out / "catalogue_load_fuzz" / "sample.xml",
                fs::copy_options::overwrite_existing);
  CommandSeeds(out);
  const fs::path scratch = out / "scratch";
  fs::create_directories(scratch);
  MemorySeeds(out, scratch);
  SavedFileSeeds(out, scratch);
  fs::remove_all(scratch);
  return 0;
}
