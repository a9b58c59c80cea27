#pragma once

#include <functional>
#include <string>
#include <vector>

#include "link/port.h"

namespace taloven {

// What came back at one speed through a port whose TX is joined to its RX.
struct LoopbackResult {
  int baudRate = 0;
  int sent = 0;
  int received = 0;
  int changed = 0;      // bytes that came back different from what went
  std::string failure;  // why the port would not open at this speed

  bool Clean() const { return failure.empty() && received == sent && changed == 0; }
};

// The speeds the printer's and the scanner's lines use.
const std::vector<int>& LoopbackSpeeds();

// Sends patterns that exercise every bit (all 256 byte values, alternating
// bits, runs of zeros and ones) at each speed and compares what returns;
// stops early when cancelled answers true between blocks.
std::vector<LoopbackResult> RunLoopbackTest(PortFactory& ports, const std::string& name,
                                            const std::vector<int>& speeds,
                                            const std::function<bool()>& cancelled);

}  // namespace taloven
