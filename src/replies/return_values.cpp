#include <string_view>

#include "base/encoding.h"
#include "replies/return_rules.h"

namespace taloven {
namespace {

// "\r\n<title>:\t<text>\r\n", the line of most single values.
void AppendTitledLine(std::string& out, const std::string& title, const std::string& text) {
  out += "\r\n" + title + ":\t" + text + "\r\n";
}

}  // namespace

void FormatAscii(const FieldBytes& d, ReturnField& field, int32_t, std::string& out) {
  field.value = PrinterText(d, 0, d.size);
  AppendTitledLine(out, field.title, field.value);
}

void FormatPaymentMode(const FieldBytes& d, ReturnField&, int32_t, std::string& out) {
  const std::string_view characters(reinterpret_cast<const char*>(d.data), d.size);
  const int32_t form = ReadLeadingNumber(characters);
  if (form == 255)
    out += W("\r\nNão foi possível inserir esta forma de pagamento.\r\n");
  else
    out += W("\r\nForma de pagamento nº ") + std::to_string(form) + " programada\r\n";
}

// One line per byte, each showing its own byte; the value is the bytes in
// decimal, separated by blanks when there are several.
void FormatInteger(const FieldBytes& d, ReturnField& field, int32_t, std::string& out) {
  field.value.clear();
  for (size_t i = 0; i < d.size; ++i) {
    const std::string number = std::to_string(d[i]);
    out += "\r\n" + field.title + "\t\t" + number + "\r\n";
    if (i > 0) field.value += ' ';
    field.value += number;
  }
}

void FormatBcdInteger(const FieldBytes& d, ReturnField& field, int32_t, std::string& out) {
  field.value = BcdDigits(d, 0, d.size);
  AppendTitledLine(out, field.title, field.value);
}

void FormatBcdPercentage(const FieldBytes& d, ReturnField& field, int32_t, std::string& out) {
  const std::string whole = BcdDigits(d, 0, 1);
  const std::string fraction = BcdDigits(d, 1, 1);
  field.value = whole + fraction;
  AppendTitledLine(out, field.title, whole + "," + fraction + "%");
}

void FormatBcdFinance(const FieldBytes& d, ReturnField& field, int32_t, std::string& out) {
  field.value = BcdDigits(d, 0, d.size);
  AppendTitledLine(out, field.title, MoneyText(d, 0, d.size));
}

void FormatBcdDate(const FieldBytes& d, ReturnField& field, int32_t, std::string& out) {
  field.value = BcdDigits(d, 0, 3);
  out += "\r\nData: " + field.value.substr(0, 2) + "/" + field.value.substr(2, 2) + "/" +
         field.value.substr(4, 2) + "\r\n";
}

void FormatBcdTime(const FieldBytes& d, ReturnField& field, int32_t, std::string& out) {
  field.value = BcdDigits(d, 0, 3);
  out += "\r\nHora: " + field.value.substr(0, 2) + ":" + field.value.substr(2, 2) + ":" +
         field.value.substr(4, 2) + "\r\n";
}

void FormatPaperStatus(const FieldBytes& d, ReturnField& field, int32_t, std::string& out) {
  field.value = std::to_string(d[0] | (d[1] << 8));
  out += "\r\n" + field.title + "\t\t" + field.value + "\r\n";
}

}  // namespace taloven
