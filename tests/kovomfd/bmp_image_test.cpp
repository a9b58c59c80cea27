#include "bmp_image.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/temp_directory.h"

namespace kovo {
namespace {

void Put(std::string& bytes, size_t at, uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A bitmap file written field by field: the 14-byte file header, a 40-byte
// information header, the palette (BGR0 entries), then the rows as given.
std::string Bitmap(int width, int height, int bits, const std::vector<uint32_t>& palette,
                   const std::string& rows, uint32_t compression = 0) {
  std::string bytes(54, '\0');
  bytes[0] = 'B';
  bytes[1] = 'M';
  const uint32_t pixelsAt = 54 + static_cast<uint32_t>(palette.size()) * 4;
  Put(bytes, 2, pixelsAt + static_cast<uint32_t>(rows.size()), 4);
  Put(bytes, 10, pixelsAt, 4);
  Put(bytes, 14, 40, 4);
  Put(bytes, 18, static_cast<uint32_t>(width), 4);
  Put(bytes, 22, static_cast<uint32_t>(height), 4);
  Put(bytes, 26, 1, 2);
  Put(bytes, 28, static_cast<uint32_t>(bits), 2);
  Put(bytes, 30, compression, 4);
  Put(bytes, 46, static_cast<uint32_t>(palette.size()), 4);
  for (uint32_t colour : palette) {
    std::string entry(4, '\0');
    Put(entry, 0, colour, 4);
    bytes += entry;
  }
  return bytes + rows;
}

TEST(BmpImage, ReadsEachDepthAsGreyTopRowFirst) {
  const uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF;
  struct Case {
    const char* what;
    std::string file;
    int width, height;
    std::vector<uint8_t> pixels;
  };
  const std::vector<Case> cases{
      // Rows are stored bottom-up and padded to four bytes.
      {"1 bit",
       Bitmap(3, 2, 1, {kBlack, kWhite}, std::string("\xA0\0\0\0\x40\0\0\0", 8)),
       3,
       2,
       {0, 255, 0, 255, 0, 255}},
      {"4 bits", Bitmap(2, 1, 4, {kBlack, kWhite}, std::string("\x10\0\0\0", 4)), 2, 1, {255, 0}},
      {"8 bits, top-down",
       Bitmap(2, -2, 8, {kBlack, kWhite}, std::string("\0\1\0\0\1\0\0\0", 8)),
       2,
       2,
       {0, 255, 255, 0}},
      // Blue, green, red weigh 117, 601 and 306 of 1024.
      {"24 bits", Bitmap(2, 1, 24, {}, std::string("\xFF\0\0\0\xFF\0\0\0", 8)), 2, 1, {29, 149}},
      {"32 bits", Bitmap(1, 1, 32, {}, std::string("\0\0\xFF\0", 4)), 1, 1, {76}},
      // An index past a short palette reads as black.
      {"8 bits, short palette",
       Bitmap(2, 1, 8, {kWhite}, std::string("\0\5\0\0", 4)),
       2,
       1,
       {255, 0}},
  };
  taloven::testing::TempDirectory directory;
  for (const Case& c : cases) {
    const std::string path = (directory.Path() / "image.bmp").string();
    std::ofstream(path, std::ios::binary) << c.file;
    GreyImage image;
    ASSERT_TRUE(ReadBmp(path, image)) << c.what;
    EXPECT_EQ(image.width, c.width) << c.what;
    EXPECT_EQ(image.height, c.height) << c.what;
    EXPECT_EQ(image.pixels, c.pixels) << c.what;
  }
}

TEST(BmpImage, RefusesWhatItCannotRead) {
  const std::string good = Bitmap(2, 1, 24, {}, std::string(8, '\0'));
  std::string notBm = good;
  notBm[0] = 'X';
  const std::vector<std::pair<const char*, std::string>> cases{
      {"cut short", good.substr(0, good.size() - 1)},
      {"header only", good.substr(0, 40)},
      {"no BM", notBm},
      {"run-length coded", Bitmap(2, 1, 8, {0, 0}, std::string(4, '\0'), 1)},
      {"16 bits", Bitmap(2, 1, 16, {}, std::string(4, '\0'))},
      {"no width", Bitmap(0, 1, 24, {}, std::string(4, '\0'))},
      {"no height", Bitmap(1, 0, 24, {}, std::string(4, '\0'))},
      {"too wide", Bitmap(20001, 1, 1, {0, 0}, std::string(2504, '\0'))},
      {"palette cut short", Bitmap(1, 1, 8, {}, std::string(3, '\0')).substr(0, 56)},
  };
  taloven::testing::TempDirectory directory;
  for (const auto& [what, file] : cases) {
    const std::string path = (directory.Path() / "image.bmp").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << file;
    GreyImage image;
    EXPECT_FALSE(ReadBmp(path, image)) << what;
  }
  GreyImage image;
  EXPECT_FALSE(ReadBmp((directory.Path() / "missing.bmp").string(), image));
}

}  // namespace
}  // namespace kovo
