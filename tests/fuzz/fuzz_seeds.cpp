// Writes the fuzzers' seed corpora into DIR/<fuzzer>/: the sample catalogue,
// and for every command of it with its preset values, in both reply modes,
// the frame the application builds and the virtual printer's real reply.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz_catalogue.h"
#include "link/execute.h"
#include "link/frame_builder.h"
#include "printer/printer.h"
#include "printer/printer_state.h"
#include "printer/wire_frame.h"

namespace {

namespace fs = std::filesystem;
using namespace taloven;

void WriteSeed(const fs::path& directory, const std::string& name,
               const std::vector<uint8_t>& bytes) {
  fs::create_directories(directory);
  std::ofstream(directory / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
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
  return 0;
}
