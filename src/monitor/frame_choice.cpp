#include "monitor/frame_choice.h"

#include <algorithm>
#include <string_view>

#include "base/encoding.h"
#include "catalogue/parameter_type.h"
#include "link/parameter_decoding.h"
#include "link/parameter_encoding.h"

namespace taloven {
namespace {

bool OpensWith(const CommandRecord& record, const std::vector<uint8_t>& body) {
  if (record.escapeTooLong || record.escapeLength <= 0) return false;
  const auto length = static_cast<size_t>(record.escapeLength);
  return length <= body.size() &&
         std::equal(record.escapeBytes.begin(), record.escapeBytes.begin() + length, body.begin());
}

// The pieces of the parameter bytes, one per parameter.
std::vector<std::string_view> Split(const CommandRecord& record, std::string_view bytes) {
  std::vector<int> sizes;
  for (const CommandParameter& parameter : record.parameters)
    sizes.push_back(EncodedParameterSize(parameter));
  std::vector<std::string_view> pieces;
  for (size_t i = 0; i < sizes.size(); ++i) {
    size_t take = 0;
    if (sizes[i] >= 0) {
      take = std::min(static_cast<size_t>(sizes[i]), bytes.size());
    } else {
      size_t later = 0;
      for (size_t j = i + 1; j < sizes.size(); ++j)
        later += static_cast<size_t>(std::max(sizes[j], 0));
      take = bytes.size() > later ? bytes.size() - later : 0;
    }
    pieces.push_back(bytes.substr(0, take));
    bytes.remove_prefix(take);
  }
  return pieces;
}

std::string_view Parameters(const CommandRecord& record, const std::vector<uint8_t>& body) {
  const std::string_view all(reinterpret_cast<const char*>(body.data()), body.size());
  return all.substr(std::min(all.size(), static_cast<size_t>(record.escapeLength)));
}

// Two points when the sizes add up, one more when every fixed parameter
// holds what the catalogue gives it.
int Fit(const CommandRecord& record, const std::vector<uint8_t>& body) {
  const std::string_view bytes = Parameters(record, body);
  size_t fixed = 0;
  bool open = false;
  for (const CommandParameter& parameter : record.parameters) {
    const int size = EncodedParameterSize(parameter);
    if (size < 0) open = true;
    fixed += static_cast<size_t>(std::max(size, 0));
  }
  int score = (open ? fixed <= bytes.size() : fixed == bytes.size()) ? 2 : 0;
  const std::vector<std::string_view> pieces = Split(record, bytes);
  bool held = true;
  for (size_t i = 0; i < pieces.size(); ++i) {
    CommandParameter parameter = record.parameters[i];
    const ParameterType type = TypeOf(parameter);
    if (type != ParameterType::kNotEditable && type != ParameterType::kDigHexNotEditable) continue;
    std::string expected;
    EncodeParameter(parameter, expected);
    held = held && expected == pieces[i];
  }
  return score + (held ? 1 : 0);
}

}  // namespace

FrameChoice ChooseRecord(const CommandCatalogue& catalogue, const std::vector<uint8_t>& body) {
  int longest = 0;
  for (const CommandRecord& record : catalogue.Records())
    if (OpensWith(record, body)) longest = std::max(longest, record.escapeLength);
  FrameChoice choice;
  if (longest == 0) return choice;
  int best = -1, bestFit = -1, ties = 0, candidates = 0;
  for (int i = 0; i < catalogue.Count(); ++i) {
    const CommandRecord& record = catalogue.At(i);
    if (record.escapeLength != longest || !OpensWith(record, body)) continue;
    ++candidates;
    const int fit = Fit(record, body);
    if (fit > bestFit) {
      best = i;
      bestFit = fit;
      ties = 1;
    } else if (fit == bestFit) {
      ++ties;
    }
  }
  choice.index = best;
  if (candidates > 1 && (ties > 1 || bestFit < 2)) {
    choice.note = W("(palpite: ") + std::to_string(candidates) +
                  W(" comandos do catálogo têm o código ") + catalogue.At(best).escapeText +
                  W("; mostrado como \"") + catalogue.At(best).title + "\")";
  }
  return choice;
}

std::vector<std::string> DecodeParameterValues(const CommandRecord& record,
                                               const std::vector<uint8_t>& body) {
  std::vector<std::string> values;
  for (std::string_view piece : Split(record, Parameters(record, body))) values.emplace_back(piece);
  for (size_t i = 0; i < values.size(); ++i)
    values[i] = DecodeParameter(record.parameters[i], values[i]);
  return values;
}

}  // namespace taloven
