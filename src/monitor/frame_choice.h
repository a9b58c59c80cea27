#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"

namespace taloven {

struct FrameChoice {
  int index = -1;    // in the catalogue; -1 when no record has these command bytes
  std::string note;  // says which record was taken when that was a guess
};

// The catalogue record a frame's body (command and parameter bytes, after
// ESC or FS) was built from: the longest command bytes that open it; among
// records sharing them, the one whose parameter sizes add up to the body and
// whose fixed parameters hold the body's bytes, else the first.
FrameChoice ChooseRecord(const CommandCatalogue& catalogue, const std::vector<uint8_t>& body);

// The text of each of the record's parameters in the body, in their order:
// fixed sizes first taken from the front, a parameter of variable size gets
// what the fixed ones after it leave. A parameter the bytes do not reach is
// empty.
std::vector<std::string> DecodeParameterValues(const CommandRecord& record,
                                               const std::vector<uint8_t>& body);

}  // namespace taloven
