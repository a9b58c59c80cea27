#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <functional>

#include "app/qt/qt_ui.h"
#include "base/encoding.h"
#include "resources/qt/qt_text.h"

namespace taloven {
namespace {

// What each kind of request answered, as one text.
using Request = std::function<QString(QtUi&)>;

QString Text(const std::optional<std::string>& answer) {
  return answer ? ToQt(*answer) : QStringLiteral("<cancelled>");
}

QString DateText(const Date& date) {
  return QDate(date.year, date.month, date.day).toString("dd/MM/yyyy");
}

QString Styles(const ClicheLine& line) {
  QString styles;
  if (line.underline) styles += 'u';
  if (line.italic) styles += 'i';
  if (line.emphasis) styles += 'e';
  if (line.expanded) styles += 'x';
  return styles;
}

// Keys as a technician types them, sent to the dialog's window so that they
// go wherever the keyboard focus is: '\t' is Tab, '\n' Enter, '^' the up
// arrow, anything else itself.
void Type(QWindow* window, const QString& keys) {
  for (QChar key : keys) {
    if (key == '\t') {
      QTest::keyClick(window, Qt::Key_Tab);
    } else if (key == '\n') {
      QTest::keyClick(window, Qt::Key_Return);
    } else if (key == '^') {
      QTest::keyClick(window, Qt::Key_Up);
    } else {
      QTest::keyClick(window, key.toLatin1());
    }
  }
}

}  // namespace

class EntryKeyboardTest : public QObject {
  Q_OBJECT

 private slots:
  void eachDialogTakesWhatIsTypedAndEnterAcceptsIt_data() {
    QTest::addColumn<Request>("request");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("answer");

    QTest::newRow("text") << Request([](QtUi& ui) {
      return Text(ui.TextEntry("CPF/CNPJ do consumidor", 29, ""));
    }) << "123.456.789-09\n"
                          << "123.456.789-09";
    QTest::newRow("text, preset replaced")
        << Request([](QtUi& ui) { return Text(ui.TextEntry("Nome", 10, "ANTIGO")); }) << "novo\n"
        << "novo";
    QTest::newRow("number, preset replaced")
        << Request([](QtUi& ui) { return Text(ui.Number("Quantidade", 4, "0005")); }) << "42\n"
        << "42";
    QTest::newRow("amount") << Request([](QtUi& ui) { return Text(ui.Amount("Valor", 6, 2, "")); })
                            << "1234\n"
                            << "1234";
    QTest::newRow("amount, preset replaced")
        << Request([](QtUi& ui) { return Text(ui.Amount("Valor", 6, 2, "0001000")); }) << "99\n"
        << "99";
    QTest::newRow("percent, Tab to the decimals") << Request([](QtUi& ui) {
      auto answer = ui.Percent("Percentual");
      return answer ? ToQt(answer->integerPart + "," + answer->decimalPart) : "<cancelled>";
    }) << "12\t5\n"
                                                  << "12,5";
    QTest::newRow("long text, Tab to OK")
        << Request([](QtUi& ui) { return Text(ui.LongText(W("Endereço"), 80, "")); }) << "Rua A\t\n"
        << "Rua A";
    QTest::newRow("date, the day stepped up")
        << Request([](QtUi& ui) {
             auto answer = ui.DateEntry("Selecione a data");
             return answer ? DateText(*answer) : "<cancelled>";
           })
        << "^\n"
        << QDate::currentDate()
               .addDays(QDate::currentDate().day() < QDate::currentDate().daysInMonth() ? 1 : 0)
               .toString("dd/MM/yyyy");
    QTest::newRow("time, the hour stepped up") << Request([](QtUi& ui) {
      auto answer = ui.TimeEntry("Selecione a hora", false);
      return answer ? QString::number(answer->time.hour) : "<cancelled>";
    }) << "^\n" << QString::number(std::min(QTime::currentTime().hour() + 1, 23));
    QTest::newRow("cheque positions, Tab to the line") << Request([](QtUi& ui) {
      auto answer = ui.ChequePositions(ChequeFields{});
      return answer ? ToQt((*answer)[0] + "/" + (*answer)[1]) : "<cancelled>";
    }) << "12\t34\n"
                                                       << "12/34";
    QTest::newRow("options, the first one pressed") << Request([](QtUi& ui) {
      auto answer = ui.Options("Escolha", {"&Percentual", "&Valor"});
      return answer ? QString::number(*answer) : "<cancelled>";
    }) << " "
                                                    << "1";
    QTest::newRow("tax-rate sheet, first rate") << Request([](QtUi& ui) {
      TaxRates preset;
      preset.rates.fill("0000");
      preset.linkage = std::string(16, '0');
      bool accepted = false;
      const TaxRates rates = ui.TaxRatePage(preset, &accepted);
      return accepted ? ToQt(rates.rates[0] + "/" + rates.rates[1]) : "<cancelled>";
    }) << "1800\t\t1200\n"
                                                << "1800/1200";
    // Line 1, its four styles, line 2, its styles, line 3, its styles,
    // "Centralizado", OK.
    QTest::newRow("cliche, line by line with its styles") << Request([](QtUi& ui) {
      auto answer = ui.ClicheEditor();
      if (!answer) return QStringLiteral("<cancelled>");
      QStringList lines;
      for (const ClicheLine& line : answer->lines) lines << ToQt(line.text) + "|" + Styles(line);
      return lines.join(";") + (answer->centred ? ";c" : "");
    }) << "UM\t \t\t \t\tDOIS\t\t \t\t \tTRES\t\t\t\t \t \t\n"
                                                          << "UM|ue;DOIS|ix;TRES|x;c";
  }

  void eachDialogTakesWhatIsTypedAndEnterAcceptsIt() {
    QFETCH(Request, request);
    QFETCH(QString, keys);
    QFETCH(QString, answer);

    QtUi ui;
    bool typed = false;
    QTimer watch;
    watch.setInterval(10);
    connect(&watch, &QTimer::timeout, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (!dialog || !dialog->isVisible()) return;
      // The date dialog asks whether the date is right.
      if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        box->button(QMessageBox::Yes)->click();
        return;
      }
      if (typed) return;
      typed = true;
      // Outside this handler: a key may open a nested window, which this
      // timer must still see.
      QTimer::singleShot(0, dialog, [dialog, keys] { Type(dialog->windowHandle(), keys); });
    });
    watch.start();
    QCOMPARE(request(ui), answer);
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::EntryKeyboardTest)
#include "entry_keyboard_test.moc"
