#include "support/scripted_port.h"

#include "support/test_clock.h"

namespace taloven::testing {

ScriptedPort::ScriptedPort(std::string name, ScriptedLine& line)
    : Port(std::move(name)), line_(line) {
  ++line_.livePorts;
}

ScriptedPort::~ScriptedPort() {
  --line_.livePorts;
}

int ScriptedPort::Open(int parameter) {
  line_.calls.push_back("open " + std::to_string(parameter));
  return line_.openResult;
}

void ScriptedPort::Close() {
  line_.calls.push_back("close");
}

int ScriptedPort::Write(const uint8_t* bytes, int count, int) {
  line_.calls.push_back("write");
  std::vector<uint8_t> frame(bytes, bytes + count);
  line_.frames.push_back(frame);
  if (line_.onWrite) line_.onWrite(line_, frame);
  return 1;
}

int ScriptedPort::Read(uint8_t* buffer, int count, int) {
  ++line_.reads;
  for (int i = 0; i < count; ++i) {
    if (line_.script.empty() || line_.script.front().silent) {
      if (!line_.script.empty()) line_.script.pop_front();
      ++line_.failedReads;
      if (line_.clock) line_.clock->Advance(1000 * count + 5);
      return 0;
    }
    buffer[i] = line_.script.front().byte;
    line_.script.pop_front();
  }
  return 1;
}

int ScriptedPort::Purge() {
  line_.calls.push_back("purge");
  return 1;
}

int ScriptedPort::WriteBlock(const uint8_t*, int, unsigned* written) {
  if (written) *written = 0;
  return 0;
}

int ScriptedPort::ReadBlock(uint8_t*, int, unsigned* read) {
  if (read) *read = 0;
  return 0;
}

std::unique_ptr<Port> ScriptedPortFactory::Create(const std::string& name) {
  line_.createdNames.push_back(name);
  return std::make_unique<ScriptedPort>(name, line_);
}

}  // namespace taloven::testing
