#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kovo {

// Which memory a download reads, and which of its records.
struct DownloadRequest {
  char memory = '2';     // '1' fiscal memory, '2' journal, '3' basic software
  char selection = '0';  // '0' all, '1' dates, '2' user and COOs
  std::string start = "000000", end = "000000", user = "000";
};

// Where a download puts the image as it arrives, so that no more than a
// block of it is ever held.
class ImageSink {
 public:
  virtual ~ImageSink() = default;
  // Before the first block. A library result: KOVO_OK to go on, else the
  // download ends with it.
  virtual int Begin(uint64_t size, const std::string& serialNumber) = 0;
  // The image's next bytes; false (the output failed) ends the download.
  virtual bool Take(std::string_view bytes) = 0;
  // After the last block, once the whole image passed its check: the
  // download's result.
  virtual int End() = 0;
};

// Reads the memory block by block, checking every block and asking again
// for one that fails (a bounded number of times), into the sink. Returns a
// library result: the sink's, KOVO_INVALID_DATE when the printer refused
// the dates, KOVO_NOT_EXECUTED when the printer stopped answering, the
// image failed its check, the sink could not take a block or the caller
// cancelled.
int DownloadMemory(const std::string& portName, const DownloadRequest& request, ImageSink& sink);

}  // namespace kovo
