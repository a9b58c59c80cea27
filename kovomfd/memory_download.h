#pragma once

#include <string>

namespace kovo {

// Which memory a download reads, and which of its records.
struct DownloadRequest {
  char memory = '2';     // '1' fiscal memory, '2' journal, '3' basic software
  char selection = '0';  // '0' all, '1' dates, '2' user and COOs
  std::string start = "000000", end = "000000", user = "000";
};

struct DownloadedImage {
  std::string bytes;
  std::string serialNumber;
};

// Reads the memory block by block, checking every block and asking again
// for one that fails (a bounded number of times). Returns a library result:
// KOVO_OK with the image, KOVO_INVALID_DATE when the printer refused the
// dates, KOVO_NOT_EXECUTED when the printer stopped answering or the caller
// cancelled.
int DownloadMemory(const std::string& portName, const DownloadRequest& request,
                   DownloadedImage& image);

}  // namespace kovo
