#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace taloven {

// An MFD file: the erased area of the memory (524288 bytes of FFh), three
// marker blocks of kind 0 and three of kind 1 naming the source (the
// printer's serial number, or "PDF-417" when symbols were captured), the
// journal payload, and 256 bytes of FFh that close it.
constexpr size_t kMfdErasedBytes = 524288;
constexpr size_t kMfdMarkerBlockSize = 256;
constexpr size_t kMfdMarkerCopies = 3;
constexpr size_t kMfdHeaderBytes = kMfdErasedBytes + 2 * kMfdMarkerCopies * kMfdMarkerBlockSize;
constexpr size_t kMfdTrailerBytes = 256;
// The largest image the download protocol carries: its block numbers have
// six digits. No file of a memory is larger.
constexpr uint64_t kLargestImageBytes = 999999ull * 4096;
constexpr uint64_t kLargestMfdFileBytes = kMfdHeaderBytes + kLargestImageBytes + kMfdTrailerBytes;
// What a capture writes in the marker blocks.
constexpr std::string_view kMfdCaptureSource = "PDF-417";

// The whole file for a payload.
std::string MfdFileBytes(std::string_view source, std::string_view payload);

struct MfdContents {
  std::string source;        // serial number or "PDF-417"; empty when no marker block was sound
  std::string_view payload;  // points into the bytes given
};

// The source named by the marker blocks, the 2 × 3 blocks after the erased
// area (markers holds them); empty when none names one. false when no block
// is a marker block: the bytes are no MFD file.
bool ReadMfdMarkers(std::string_view markers, std::string& source);

// Whether the payload's last kMfdTrailerBytes bytes are the FFh bytes that
// close a complete file. A file cut short loses whatever run of FFh it still
// has instead.
bool MfdClosed(std::string_view lastBytes);

// Finds the payload of an MFD file. false when the bytes are no MFD file
// (too short, or no marker block where one belongs).
bool ParseMfdFile(std::string_view bytes, MfdContents& out);

}  // namespace taloven
