#include "programming/printer_configuration_read.h"

#include <functional>
#include <vector>

#include "base/printer_models.h"
#include "catalogue/cliche_markup.h"
#include "link/kept_connections.h"
#include "resources/strings.h"
#include "ui/ui.h"

namespace taloven {
namespace {

struct FieldShape {
  int size;
  const char* type;
};

using Values = std::vector<std::string>;

struct Read {
  const char* escape;
  int returnSize;
  std::vector<FieldShape> fields;
  std::function<void(EquipmentConfiguration&, const Values&)> apply;
  // Done whether or not the command succeeded.
  std::function<void(EquipmentConfiguration&)> always = nullptr;

  Read(const char* e, int size, std::vector<FieldShape> f,
       std::function<void(EquipmentConfiguration&, const Values&)> a,
       std::function<void(EquipmentConfiguration&)> both = nullptr)
      : escape(e),
        returnSize(size),
        fields(std::move(f)),
        apply(std::move(a)),
        always(std::move(both)) {}
};

void Add(std::vector<Read>& reads, const char* escape, int size, std::vector<FieldShape> fields,
         std::function<void(EquipmentConfiguration&, const Values&)> apply,
         std::function<void(EquipmentConfiguration&)> always = nullptr) {
  reads.emplace_back(escape, size, std::move(fields), std::move(apply), std::move(always));
}

std::vector<FieldShape> Repeated(int count, FieldShape shape) {
  return std::vector<FieldShape>(static_cast<size_t>(count), shape);
}

std::string LastCharacters(const std::string& text, size_t count) {
  return text.size() > count ? text.substr(text.size() - count) : text;
}

std::vector<Read> ReadsFor(bool firstGeneration) {
  std::vector<Read> reads;
  auto single = [](std::string EquipmentConfiguration::*field) {
    return [field](EquipmentConfiguration& c, const Values& v) { c.*field = v[0]; };
  };
  if (firstGeneration) {
    Add(reads, "35 0", 15, {{15, "ASCII"}}, single(&EquipmentConfiguration::serialNumber));
    Add(
        reads, "35 2", 33, {{33, "ASCII"}},
        [](EquipmentConfiguration& c, const Values& v) {
          c.cnpj = v[0].substr(0, 18);
          c.ie = LastCharacters(v[0], 15);
        },
        [](EquipmentConfiguration& c) {
          // These printers keep neither: nothing stale may stay.
          c.im.clear();
          c.uf.clear();
        });
  } else {
    Add(reads, "35 40", 20, {{20, "ASCII"}}, single(&EquipmentConfiguration::serialNumber));
    Add(reads, "35 42", 20, {{20, "ASCII"}}, single(&EquipmentConfiguration::cnpj));
    Add(reads, "35 43", 20, {{20, "ASCII"}}, single(&EquipmentConfiguration::ie));
    Add(reads, "35 44", 20, {{20, "ASCII"}}, single(&EquipmentConfiguration::im));
    Add(reads, "35 70", 2, {{2, "ASCII"}}, single(&EquipmentConfiguration::uf));
  }
  Add(reads, "35 15", 2, {{2, "BCD_INTEGER"}}, single(&EquipmentConfiguration::storeNumber));
  Add(reads, "35 14", 2, {{2, "BCD_INTEGER"}}, [](EquipmentConfiguration& c, const Values& v) {
    c.registerNumber = v[0].size() > 1 ? v[0].substr(1, 3) : std::string();
  });
  Add(reads, "35 23", 6, {{3, "BCD_DATA"}, {3, "BCD_HORA"}},
      [](EquipmentConfiguration& c, const Values& v) {
        c.date = v[0];
        c.time = v[1];
      });
  Add(reads, "35 17", 1, {{1, "ASCII_FLAGS_FISCAIS"}},
      [](EquipmentConfiguration& c, const Values& v) {
        // The third flag is "Horário de verão".
        if (v[0].size() > 2) c.daylightSaving = v[0][2] != '0';
      });
  Add(reads, "35 13", 186, {{186, "ASCII"}},
      [](EquipmentConfiguration& c, const Values& v) { c.cliche = ClicheEscapesToTokens(v[0]); });
  std::vector<FieldShape> rates = {{1, "INTEGER"}};
  for (int k = 0; k < kConfigurationTaxRates; ++k) rates.push_back({2, "BCD_PERCENTAGE"});
  Add(reads, "26", 33, rates, [](EquipmentConfiguration& c, const Values& v) {
    // The leading count is skipped.
    for (size_t k = 0; k < c.taxRates.size(); ++k) c.taxRates[k] = v[k + 1];
  });
  Add(reads, "35 29", 2, {{2, "ASCII_FLAG_VINC_ISS"}}, single(&EquipmentConfiguration::issLinkage));
  const int names = firstGeneration ? 9 : 30;
  Add(reads, firstGeneration ? "35 25" : "35 48", 19 * names, Repeated(names, {19, "ASCII"}),
      [](EquipmentConfiguration& c, const Values& v) {
        for (size_t k = 0; k < v.size(); ++k) c.totalizerNames[k] = v[k];
      });
  return reads;
}

CommandRecord Prepare(const Read& read) {
  CommandRecord record;
  record.SetEscapeText(read.escape);
  record.SetReturnSize(read.returnSize);
  for (const FieldShape& shape : read.fields) {
    ReturnField field;
    field.size = shape.size;
    field.type = shape.type;
    record.AppendReturnField(field);
  }
  return record;
}

}  // namespace

int ReadPrinterConfiguration(EquipmentConfiguration& configuration, ExecutionContext& outer) {
  // A printer on the network keeps its connection from one read to the next.
  KeptConnections kept(outer.ports);
  ExecutionContext context{outer.settings, outer.ui,        kept,
                           outer.clock,    outer.timeoutMs, outer.refusals};
  for (const Read& read :
       ReadsFor(GenerationOf(context.settings.modelMask) == Generation::kFirst)) {
    CommandRecord record = Prepare(read);
    const int result = Execute(record, context);
    if (read.always) read.always(configuration);
    if (result == kExecuteNoReply) {
      context.ui.Message(Str(StrId::kSendFailed), Str(StrId::kProductName), MessageButtons::Ok,
                         MessageIcon::Exclamation);
      return result;
    }
    // A cancelled read stops the reading: the user asked for it to end.
    if (result == kExecuteCancelled) return result;
    if (result != kExecuteOk) continue;
    Values values;
    for (const ReturnField& field : record.returnFields) values.push_back(field.value);
    read.apply(configuration, values);
  }
  return 0;
}

}  // namespace taloven
