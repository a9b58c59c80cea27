#include "link/frame_buffer.h"

#include <cstring>

namespace taloven {

bool FrameBuffer::Append(const uint8_t* bytes, size_t count) {
  if (count > kCapacity - length) return false;
  if (data.size() < length + count) data.resize(length + count);
  if (count != 0) std::memcpy(data.data() + length, bytes, count);
  length += static_cast<uint32_t>(count);
  return true;
}

bool FrameBuffer::Seal() {
  if (length < 3 || kCapacity - length < 2) return false;
  uint32_t n = length - 1;  // counts the checksum still to come, not STX and N
  data.resize(length + 2);
  data[0] = 0x02;
  data[1] = static_cast<uint8_t>(n & 0xFF);
  data[2] = static_cast<uint8_t>((n >> 8) & 0xFF);
  uint32_t sum = 0;
  for (uint32_t i = 3; i < length; ++i) sum += data[i];
  sum &= 0xFFFF;
  data[length++] = static_cast<uint8_t>(sum & 0xFF);
  data[length++] = static_cast<uint8_t>(sum >> 8);
  return true;
}

}  // namespace taloven
