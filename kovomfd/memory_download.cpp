#include "memory_download.h"

#include <cstdlib>

#include "formats/crc32.h"
#include "formats/little_endian.h"
#include "kovo_mfd.h"
#include "printer_line.h"
#include "progress.h"

namespace kovo {
namespace {

const std::string kPrepareCode = "\x50\x5A";  // 80 90
const std::string kBlockCode = "\x50\x5B";    // 80 91
constexpr size_t kInfoSize = 52;
constexpr size_t kBlockSize = 4096;
constexpr size_t kBlockReplySize = 4 + kBlockSize + 4;
constexpr int kAttempts = 3;
constexpr uint8_t kWrongParameterType = 0x80;  // ST2

struct MemoryInfo {
  size_t size = 0;
  size_t blocks = 0;
  std::string serialNumber;
  uint32_t crc = 0;
};

bool ParseNumber(const std::string& text, unsigned long long& value, int base) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtoull(text.c_str(), &end, base);
  return *end == '\0';
}

bool ParseInfo(const std::string& data, MemoryInfo& info) {
  if (data.size() != kInfoSize) return false;
  unsigned long long size = 0, blocks = 0, crc = 0, own = 0;
  if (!ParseNumber(data.substr(0, 10), size, 10) || !ParseNumber(data.substr(10, 6), blocks, 10) ||
      !ParseNumber(data.substr(36, 8), crc, 16) || !ParseNumber(data.substr(44, 8), own, 16))
    return false;
  if (taloven::Crc32(std::string_view(data).substr(0, 44)) != own) return false;
  if (blocks != (size + kBlockSize - 1) / kBlockSize) return false;
  info.size = size;
  info.blocks = blocks;
  info.serialNumber = data.substr(16, 20);
  while (!info.serialNumber.empty() && info.serialNumber.back() == ' ')
    info.serialNumber.pop_back();
  info.crc = static_cast<uint32_t>(crc);
  return true;
}

std::string Digits(unsigned long long value, int width) {
  std::string text = std::to_string(value);
  return std::string(text.size() < static_cast<size_t>(width) ? width - text.size() : 0, '0') +
         text;
}

}  // namespace

int DownloadMemory(const std::string& portName, const DownloadRequest& request, ImageSink& sink) {
  ForgetProgress();
  PrinterLine line(portName);
  if (!line.IsOpen()) return KOVO_NOT_EXECUTED;
  const std::string parameters = std::string(1, request.memory) +
                                 std::string(1, request.selection) + request.start + request.end +
                                 request.user;
  MemoryInfo info;
  bool prepared = false;
  for (int attempt = 0; attempt < kAttempts && !prepared; ++attempt) {
    std::string data;
    const PrinterLine::Result result = line.Exchange(kPrepareCode, parameters, kInfoSize, data);
    if (result == PrinterLine::Result::kCancelled) return KOVO_NOT_EXECUTED;
    // A parameter of the wrong kind in a date selection is a date the
    // printer does not take; any other refusal (a document open) is not.
    if (result == PrinterLine::Result::kRefused)
      return request.selection == '1' && (line.LastStatus2() & kWrongParameterType)
                 ? KOVO_INVALID_DATE
                 : KOVO_NOT_EXECUTED;
    prepared = result == PrinterLine::Result::kOk && ParseInfo(data, info);
  }
  if (!prepared) return KOVO_NOT_EXECUTED;
  if (ReportProgress(0, static_cast<long long>(info.size))) return KOVO_NOT_EXECUTED;
  const int begun = sink.Begin(info.size, info.serialNumber);
  if (begun != KOVO_OK) return begun;
  size_t done = 0;
  uint32_t crc = 0;

  for (size_t block = 0; block < info.blocks; ++block) {
    bool received = false;
    for (int attempt = 0; attempt < kAttempts && !received; ++attempt) {
      std::string data;
      const PrinterLine::Result result =
          line.Exchange(kBlockCode, Digits(block, 6), kBlockReplySize, data);
      if (result == PrinterLine::Result::kCancelled) return KOVO_NOT_EXECUTED;
      if (result != PrinterLine::Result::kOk) continue;
      const std::string_view reply(data);
      received = taloven::GetLittleEndian(reply, 0, 4) == block &&
                 taloven::Crc32(reply.substr(0, 4 + kBlockSize)) ==
                     taloven::GetLittleEndian(reply, 4 + kBlockSize, 4);
      if (received) {
        const std::string_view piece = reply.substr(4, std::min(kBlockSize, info.size - done));
        if (!sink.Take(piece)) return KOVO_NOT_EXECUTED;
        crc = taloven::Crc32(piece, crc);
        done += piece.size();
      }
    }
    if (!received) return KOVO_NOT_EXECUTED;
    if (ReportProgress(static_cast<long long>(done), static_cast<long long>(info.size)))
      return KOVO_NOT_EXECUTED;
  }
  // The whole image is checked once more: blocks may each be sound and
  // still come from an image the printer changed half-way.
  if (crc != info.crc) return KOVO_NOT_EXECUTED;
  return sink.End();
}

}  // namespace kovo
