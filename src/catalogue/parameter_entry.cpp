#include "catalogue/parameter_entry.h"

#include <functional>
#include <map>
#include <optional>

#include "catalogue/cliche_text.h"
#include "catalogue/entry_forms.h"
#include "catalogue/parameter_type.h"
#include "resources/strings.h"
#include "ui/ui.h"

namespace taloven {
namespace {

const std::string& Cancelled() {
  return Str(StrId::kError);
}

// One chain of dialogs. Each step asks only while every earlier one ended
// with OK; a step that is cancelled leaves `ok` false.
struct Chain {
  explicit Chain(Ui& user) : ui(user) {}
  Ui& ui;
  std::string text;
  bool ok = true;

  std::optional<std::string> Keep(std::optional<std::string> piece) {
    if (!piece) ok = false;
    return piece;
  }
  void Add(const std::optional<std::string>& piece) {
    if (piece) text += *piece;
  }

  std::optional<int> Choose(const std::string& prompt, const std::vector<std::string>& options) {
    if (!ok) return std::nullopt;
    auto choice = ui.Options(prompt, options);
    if (!choice || *choice < 1 || *choice > static_cast<int>(options.size())) {
      ok = false;
      return std::nullopt;
    }
    return choice;
  }
  void Text(const std::string& prompt, int limit, bool pad) {
    if (!ok) return;
    auto typed = Keep(ui.TextEntry(prompt, limit, ""));
    if (typed) Add(pad ? PadWithBlanks(*typed, limit) : *typed);
  }
  void LongText(const std::string& prompt, int limit) {
    if (ok) Add(Keep(ui.LongText(prompt, limit, "")));
  }
  // limit 0: as typed, no limit and no padding.
  void Number(const std::string& prompt, int limit) {
    if (!ok) return;
    auto typed = Keep(ui.Number(prompt, limit, ""));
    if (typed) Add(PadWithZeros(*typed, limit));
  }
  void Amount(const std::string& prompt, int integerDigits, int decimals) {
    if (!ok) return;
    auto typed = Keep(ui.Amount(prompt, integerDigits, decimals, ""));
    if (typed) Add(PadWithZeros(*typed, integerDigits + decimals));
  }
  void Percent(const std::string& prompt) {
    if (!ok) return;
    auto typed = ui.Percent(prompt);
    if (!typed)
      ok = false;
    else
      text += PercentDigits(*typed);
  }
  void DateTwoDigitYear(const std::string& prompt) {
    if (!ok) return;
    auto date = ui.DateEntry(prompt);
    if (!date)
      ok = false;
    else
      text += DayMonthYear2(*date);
  }
};

std::string ErrorUnlessDone(const Chain& chain) {
  return chain.ok ? chain.text : Cancelled();
}

// Single dialogs.

std::string AskText(const CommandParameter& p, Ui& ui, int limit, bool pad) {
  auto typed = ui.TextEntry(p.title, limit, p.value);
  if (!typed) return Cancelled();
  return pad ? PadWithBlanks(*typed, limit) : *typed;
}

std::string AskHex(const CommandParameter& p, Ui& ui) {
  auto typed = ui.TextEntry(p.title, 2 * p.size, p.value);
  if (!typed) return Cancelled();
  // Blanks are no hexadecimal digits: a short value is left short so that
  // sending reports its wrong size instead of encoding the blanks.
  std::string digits = *typed;
  for (char& c : digits)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return digits;
}

std::string AskLongText(const CommandParameter& p, Ui& ui) {
  auto typed = ui.LongText(p.title, p.size, p.value);
  return typed ? *typed : Cancelled();
}

std::string AskNumber(const CommandParameter& p, Ui& ui, int limit) {
  auto typed = ui.Number(p.title, limit, p.value);
  return typed ? PadWithZeros(*typed, limit) : Cancelled();
}

std::string AskDate(Ui& ui, bool fourDigitYear) {
  auto date = ui.DateEntry(Str(StrId::kSelectDate));
  if (!date) return Cancelled();
  return fourDigitYear ? DayMonthYear4(*date) : DayMonthYear2(*date);
}

std::string AskTime(Ui& ui) {
  auto answer = ui.TimeEntry(Str(StrId::kSelectTime), false);
  return answer ? HoursMinutesSeconds(answer->time) : Cancelled();
}

std::string AskAmount(const CommandParameter& p, Ui& ui, int decimals, size_t presetFrom) {
  int integerDigits = std::max(p.size - decimals, 0);
  std::string preset = p.value.size() >= presetFrom ? p.value : "";
  auto typed = ui.Amount(p.title, integerDigits, decimals, preset);
  return typed ? PadWithZeros(*typed, integerDigits + decimals) : Cancelled();
}

std::string AskPercent(const CommandParameter& p, Ui& ui) {
  auto typed = ui.Percent(p.title);
  return typed ? PercentDigits(*typed) : Cancelled();
}

// Composite types.

std::string AskDiscount(const CommandParameter& p, Ui& ui) {
  Chain chain(ui);
  auto kind = chain.Choose(p.title, {Str(StrId::kPercentage), Str(StrId::kAmount)});
  if (kind == 1) chain.Percent(p.title);
  if (kind == 2) chain.Amount(p.title, 6, 2);
  return ErrorUnlessDone(chain);
}

// A surcharge ('A', 'a') or discount ('D', 'd') on the subtotal, in percent
// (upper-case letter) or as an amount (lower case); `both` adds the
// combined choice that closing a receipt offers.
std::string AskSubtotalAdjustment(const CommandParameter& p, Ui& ui, bool both) {
  Chain chain(ui);
  std::vector<std::string> kinds{Str(StrId::kSurcharge), Str(StrId::kDiscount)};
  if (both) kinds.push_back(Str(StrId::kSurchargeAndDiscount));
  auto kind = chain.Choose(p.title, kinds);
  auto form = chain.Choose(p.title, {Str(StrId::kPercentage), Str(StrId::kAmount)});
  if (!chain.ok) return Cancelled();
  bool percent = form == 1;
  static const char kLetters[2][3] = {{'A', 'D', 'X'}, {'a', 'd', 'X'}};
  chain.text += kLetters[percent ? 0 : 1][*kind - 1];
  std::vector<StrId> prompts;
  if (kind == 1 || kind == 3) prompts.push_back(StrId::kSurcharge);
  if (kind == 2 || kind == 3) prompts.push_back(StrId::kDiscount);
  for (StrId prompt : prompts) {
    if (percent)
      chain.Percent(Str(prompt));
    else
      chain.Amount(Str(prompt), 12, 2);
  }
  return ErrorUnlessDone(chain);
}

std::string AskItemAdjustment(const CommandParameter& p, Ui& ui) {
  Chain chain(ui);
  auto kind = chain.Choose(p.title, {Str(StrId::kSurcharge), Str(StrId::kDiscount)});
  if (kind) chain.text += kind == 1 ? "A" : "D";
  chain.Number(Str(StrId::kItemNumber), 3);
  auto form = chain.Choose(p.title, {Str(StrId::kAmount), Str(StrId::kPercentage)});
  StrId prompt = kind == 1 ? StrId::kSurcharge : StrId::kDiscount;
  if (form == 1) chain.Amount(Str(prompt), 6, 2);
  if (form == 2) chain.Percent(Str(prompt));
  return ErrorUnlessDone(chain);
}

std::string AskPaymentDescriptions(Ui& ui) {
  constexpr int kMostDescriptions = 20;
  const std::string& caption = Str(StrId::kProductName);
  std::string text;
  for (int n = 1; n <= kMostDescriptions; ++n) {
    auto description =
        ui.TextEntry(Str(StrId::kPaymentDescription) + " " + std::to_string(n), 16, "");
    // An empty description is left out like a cancelled one: its TEF digit
    // alone would shift every later description.
    if (description && !description->empty()) {
      auto tef =
          ui.Message(Str(StrId::kAllowTef), caption, MessageButtons::YesNo, MessageIcon::Question);
      text += PadWithBlanks(*description, 16) + (tef == MessageAnswer::Yes ? "1" : "2");
    }
    if (n == kMostDescriptions) break;
    if (ui.Message(Str(StrId::kAddPaymentDescription), caption, MessageButtons::YesNo,
                   MessageIcon::Question) != MessageAnswer::Yes)
      break;
  }
  return text;
}

std::string AskTaxRateChange(const CommandParameter& p, Ui& ui) {
  auto count = ui.Number(Str(StrId::kEnterTaxRateCount), 2, "");
  if (!count) return p.value;
  TaxRates preset;
  preset.linkage.assign(16, '0');
  for (size_t i = 0; i < preset.rates.size(); ++i)
    preset.rates[i] = p.value.size() == 66 ? p.value.substr(2 + 4 * i, 4) : "0000";
  bool accepted = false;
  TaxRates rates = ui.TaxRatePage(preset, &accepted);
  std::string text = PadWithZeros(*count, 2);
  for (const auto& rate : rates.rates) text += rate.empty() ? "0000" : PadWithZeros(rate, 4);
  return text;
}

std::string AskServiceTaxLinkage(const CommandParameter& p, Ui& ui) {
  TaxRates preset;
  preset.linkage = p.value.size() == 16 ? p.value : std::string(16, '0');
  bool accepted = false;
  TaxRates page = ui.TaxRatePage(preset, &accepted);
  if (!accepted) return "";
  std::string linkage;
  for (size_t i = 0; i < 16; ++i)
    linkage += i < page.linkage.size() && page.linkage[i] != '0' ? '1' : '0';
  return linkage;
}

std::string AskDetailTapeInterval(const CommandParameter& p, Ui& ui) {
  Chain chain(ui);
  auto kind = chain.Choose(p.title, {Str(StrId::kDateInterval), Str(StrId::kCooInterval)});
  if (!kind) return "";
  if (kind == 1) {
    chain.text = 'D';
    chain.DateTwoDigitYear(Str(StrId::kEnterInitialDate));
    chain.DateTwoDigitYear(Str(StrId::kEnterFinalDate));
  } else {
    chain.text = 'X';
    chain.Number(Str(StrId::kInitialCoo), 0);
    chain.Number(Str(StrId::kFinalCoo), 0);
    chain.Number(Str(StrId::kUserNumber), 0);
  }
  return ErrorUnlessDone(chain);
}

std::string AskFiscalMemoryReading(Ui& ui) {
  Chain chain(ui);
  auto kind = chain.Choose(Str(StrId::kChooseIntervalKind),
                           {Str(StrId::kDateInterval), Str(StrId::kReductionInterval)});
  if (!kind) return "";
  if (kind == 1) {
    chain.DateTwoDigitYear(Str(StrId::kEnterInitialDate));
    chain.DateTwoDigitYear(Str(StrId::kEnterFinalDate));
  } else {
    chain.text = "00";
    chain.Number(Str(StrId::kEnterInitialReduction), 4);
    if (chain.ok) chain.text += "00";
    chain.Number(Str(StrId::kEnterFinalReduction), 4);
  }
  if (!chain.ok) return Cancelled();
  auto output = chain.Choose(Str(StrId::kPrintOrPort),
                             {Str(StrId::kPrinting), Str(StrId::kCommunicationPort)});
  if (output) chain.text += output == 1 ? "I" : "R";
  return chain.text;
}

std::string AskFiscalMemoryAmount(Ui& ui) {
  auto choice = ui.Options(Str(StrId::kChooseDataAmount), {"512 KB", "32 KB"});
  if (choice == 1) return "MF";
  if (choice == 2) return "MF2";
  return "";
}

std::string AskPassengerTicket(const CommandParameter& p, Ui& ui) {
  std::vector<std::string> journeys;
  for (StrId id :
       {StrId::kRoadIntercity, StrId::kRailIntercity, StrId::kWaterIntercity,
        StrId::kRoadInterstate, StrId::kRailInterstate, StrId::kWaterInterstate,
        StrId::kRoadInternational, StrId::kRailInternational, StrId::kWaterInternational})
    journeys.push_back(Str(id));
  Chain chain(ui);
  auto journey = chain.Choose(p.title, journeys);
  if (!journey) return "";
  chain.text = std::to_string(*journey - 1);
  chain.Text(Str(StrId::kDestinationState), 2, true);
  chain.Text(Str(StrId::kRg), 30, true);
  chain.Text(Str(StrId::kName), 30, true);
  chain.LongText(Str(StrId::kAddress), 80);
  return chain.text;
}

std::string AskAuthenticationCharacter(const CommandParameter& p, Ui& ui) {
  static const char* const kPatterns[5] = {
      "804020100804020102040810204080808080", "208020100820020101020408102040808080",
      "040801100804020102040810204080808080", "400204100804020102040810204080808080",
      "204004800804020102040810204080808080"};
  auto choice =
      ui.Options(p.title, {Str(StrId::kAuthenticationChar1), Str(StrId::kAuthenticationChar2),
                           Str(StrId::kAuthenticationChar3), Str(StrId::kAuthenticationChar4),
                           Str(StrId::kAuthenticationChar5)});
  if (!choice || *choice < 1 || *choice > 5) return "";
  return kPatterns[*choice - 1];
}

std::string AskOneOfTwo(const CommandParameter& p, Ui& ui) {
  auto options = ParseOptionsTitle(p.title);
  // A title without the two choices can only be answered by typing.
  if (!options) {
    auto typed = ui.TextEntry(p.title, p.size, p.value);
    return typed ? *typed : "";
  }
  auto choice = ui.Options(p.title, {options->label1, options->label2});
  if (choice == 1) return options->value1;
  if (choice == 2) return options->value2;
  return "";
}

std::string AskChequePositions(const CommandParameter& p, Ui& ui) {
  auto fields = ui.ChequePositions(ChequeFieldsOf(p.value).value_or(ChequeFields{}));
  return fields ? ChequeValue(*fields) : Cancelled();
}

std::string AskCliche(Ui& ui) {
  auto answer = ui.ClicheEditor();
  return answer ? BuildClicheText(*answer) : Cancelled();
}

using Asker = std::function<std::string(const CommandParameter&, Ui&)>;

const std::map<ParameterType, Asker>& Askers() {
  static const std::map<ParameterType, Asker> askers = {
      {ParameterType::kString, [](auto& p, Ui& ui) { return AskText(p, ui, p.size, true); }},
      {ParameterType::kTicketOrCoupon,
       [](auto& p, Ui& ui) { return AskText(p, ui, p.size, true); }},
      {ParameterType::kStringVarSize,
       [](auto& p, Ui& ui) { return AskText(p, ui, p.size, false); }},
      {ParameterType::kDigHex, AskHex},
      {ParameterType::kBigString, AskLongText},
      {ParameterType::kBigStringVarSize, AskLongText},
      {ParameterType::kInteger, [](auto& p, Ui& ui) { return AskNumber(p, ui, p.size); }},
      {ParameterType::kBcdInteger, [](auto& p, Ui& ui) { return AskNumber(p, ui, p.size); }},
      {ParameterType::kBinary, [](auto& p, Ui& ui) { return AskNumber(p, ui, 3); }},
      {ParameterType::kDate, [](auto&, Ui& ui) { return AskDate(ui, false); }},
      {ParameterType::kDateFourDigitYear, [](auto&, Ui& ui) { return AskDate(ui, true); }},
      {ParameterType::kTime, [](auto&, Ui& ui) { return AskTime(ui); }},
      {ParameterType::kFinance, [](auto& p, Ui& ui) { return AskAmount(p, ui, 2, 1); }},
      {ParameterType::kFinance3, [](auto& p, Ui& ui) { return AskAmount(p, ui, 3, 4); }},
      {ParameterType::kPercentage, AskPercent},
      {ParameterType::kDiscount, AskDiscount},
      {ParameterType::kSubtotalAdjustment,
       [](auto& p, Ui& ui) { return AskSubtotalAdjustment(p, ui, false); }},
      {ParameterType::kCloseCoupon,
       [](auto& p, Ui& ui) { return AskSubtotalAdjustment(p, ui, true); }},
      {ParameterType::kItemAdjustment, AskItemAdjustment},
      {ParameterType::kPaymentDescription,
       [](auto&, Ui& ui) { return AskPaymentDescriptions(ui); }},
      {ParameterType::kTaxRateChange, AskTaxRateChange},
      {ParameterType::kServiceTaxLinkage, AskServiceTaxLinkage},
      {ParameterType::kDetailTapeInterval, AskDetailTapeInterval},
      {ParameterType::kFiscalMemoryReading,
       [](auto&, Ui& ui) { return AskFiscalMemoryReading(ui); }},
      {ParameterType::kFiscalMemoryAmount, [](auto&, Ui& ui) { return AskFiscalMemoryAmount(ui); }},
      {ParameterType::kPassengerTicket, AskPassengerTicket},
      {ParameterType::kAuthenticationCharacter, AskAuthenticationCharacter},
      {ParameterType::kOptions, AskOneOfTwo},
      {ParameterType::kChequePositions, AskChequePositions},
      {ParameterType::kCliche, [](auto&, Ui& ui) { return AskCliche(ui); }},
  };
  return askers;
}

}  // namespace

bool IsEditableParameter(const CommandParameter& parameter) {
  const ParameterType type = TypeOf(parameter);
  return type != ParameterType::kNotEditable && type != ParameterType::kDigHexNotEditable;
}

std::string CollectParameterValue(const CommandParameter& parameter, Ui& ui) {
  auto asker = Askers().find(TypeOf(parameter));
  // Fixed values, the cliché style tokens and unknown types ask nothing.
  if (asker == Askers().end()) return parameter.value;
  return asker->second(parameter, ui);
}

}  // namespace taloven
