#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/port.h"

namespace taloven::testing {

class TestClock;

// What a scripted printer line answers and what was done to it. It outlives
// the ports made on it, since Execute destroys its port before returning.
struct ScriptedLine {
  // Each read takes the next step: a byte, or a silence that makes that read
  // fail. An empty script is a line that stays silent.
  struct Step {
    bool silent = false;
    uint8_t byte = 0;
  };
  std::deque<Step> script;

  void Answer(const std::vector<uint8_t>& bytes) {
    for (uint8_t b : bytes) script.push_back({false, b});
  }
  void Silence(int reads) {
    for (int i = 0; i < reads; ++i) script.push_back({true, 0});
  }

  // Called with the frame each time one is written, e.g. to queue the answer.
  std::function<void(ScriptedLine&, const std::vector<uint8_t>&)> onWrite;
  int openResult = 1;
  // What a port that failed to open says about it; empty: it cannot tell.
  std::string openFailure;
  // The clock that a failed read advances by the line's time-out.
  TestClock* clock = nullptr;

  std::vector<std::string> createdNames;
  std::vector<std::string> calls;  // "open 9600", "purge", "write", "read", "close"
  std::vector<std::vector<uint8_t>> frames;
  int reads = 0, failedReads = 0, livePorts = 0;
};

class ScriptedPort : public Port {
 public:
  ScriptedPort(std::string name, ScriptedLine& line);
  ~ScriptedPort() override;

  int Open(int parameter) override;
  void Close() override;
  int Write(const uint8_t* bytes, int count, int timeoutMs) override;
  int Read(uint8_t* buffer, int count, int timeoutMs) override;
  int Purge() override;
  int WriteBlock(const uint8_t*, int, unsigned* written) override;
  int ReadBlock(uint8_t*, int, unsigned* read) override;
  std::string OpenFailure() const override { return line_.openResult ? "" : line_.openFailure; }

 private:
  ScriptedLine& line_;
};

class ScriptedPortFactory : public PortFactory {
 public:
  explicit ScriptedPortFactory(ScriptedLine& line) : line_(line) {}
  std::unique_ptr<Port> Create(const std::string& name) override;

 private:
  ScriptedLine& line_;
};

}  // namespace taloven::testing
