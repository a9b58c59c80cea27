#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "support/temp_directory.h"

namespace taloven::bench {

// A working directory whose comandos.xml holds count commands, the sample
// catalogue's commands over and over: a catalogue as large as a maker's
// full command set and far beyond.
class LargeCatalogue {
 public:
  explicit LargeCatalogue(int count) {
    const std::string sample = testing::ReadFileBytes(TALOVEN_SOURCE_DIR "/data/comandos.xml");
    std::vector<std::string> commands;
    for (size_t at = sample.find("<cmd>"); at != std::string::npos;
         at = sample.find("<cmd>", at + 1)) {
      const size_t end = sample.find("</cmd>", at) + 6;
      commands.push_back(sample.substr(at, end - at));
    }
    const size_t body = sample.find("<cmd>");
    std::string text = sample.substr(0, body);
    for (int i = 0; i < count; ++i)
      text += commands[static_cast<size_t>(i) % commands.size()] + "\n  ";
    text += "\n</comandos>\n";
    std::ofstream(directory_.Path() / "comandos.xml", std::ios::binary) << text;
    bytes_ = text.size();
  }
  std::string Directory() const { return directory_.Path().string(); }
  size_t Bytes() const { return bytes_; }

 private:
  testing::TempDirectory directory_;
  size_t bytes_ = 0;
};

}  // namespace taloven::bench
