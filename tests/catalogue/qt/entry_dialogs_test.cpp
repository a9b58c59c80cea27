#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QtTest>

#include "base/encoding.h"
#include "catalogue/qt/choice_dialogs.h"
#include "catalogue/qt/cliche_editor_dialog.h"
#include "catalogue/qt/date_time_dialogs.h"
#include "catalogue/qt/number_dialogs.h"
#include "catalogue/qt/tax_rate_page.h"
#include "catalogue/qt/text_entry_dialogs.h"

namespace taloven {

class EntryDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void amountRewritesTheCommaAndKeepsTheCaret() {
    AmountDialog dialog("Valor", 8, 2, "", nullptr);
    auto* edit = dialog.findChild<QLineEdit*>("1308");
    QVERIFY(edit);
    QCOMPARE(edit->text(), QString("0,00"));
    QCOMPARE(edit->maxLength(), 11);
    edit->setCursorPosition(4);
    QTest::keyClicks(edit, "125");
    QCOMPARE(edit->text(), QString("1,25"));
    QCOMPARE(edit->cursorPosition(), 4);
    // A digit typed in the middle keeps the caret right after it.
    edit->setCursorPosition(1);
    QTest::keyClick(edit, '7');
    QCOMPARE(edit->text(), QString("17,25"));
    QCOMPARE(edit->cursorPosition(), 2);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QString("1,25"));
    QCOMPARE(edit->cursorPosition(), 1);
    QCOMPARE(QString::fromStdString(dialog.Digits()), QString("125"));
  }

  void amountPresetAndHiddenField() {
    AmountDialog preset("", 8, 2, "1234", nullptr);
    QCOMPARE(preset.findChild<QLineEdit*>("1308")->text(), QString("12,34"));
    AmountDialog tooLong("", 2, 2, "12345", nullptr);
    QCOMPARE(tooLong.findChild<QLineEdit*>("1308")->text(), QString("0,00"));
    AmountDialog noDigits("", 0, 2, "", nullptr);
    QVERIFY(noDigits.findChild<QLineEdit*>("1308")->isHidden());
  }

  void textLimitsAndAccents() {
    TextEntryDialog dialog("Nome", 5, "", nullptr);
    auto* edit = dialog.findChild<QLineEdit*>("1169");
    QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_unknown, QString::fromUtf8("ç"),
                        Qt::NoModifier);
    QTest::keyClicks(edit, "abcdefg");
    QCOMPARE(dialog.Text(), W("çabcd"));
    QCOMPARE(dialog.findChild<QPushButton*>("2")->text(), QString("Cancelar"));
  }

  void numberTakesDigitsOnly() {
    NumberDialog dialog("", 3, "", nullptr);
    QCOMPARE(dialog.findChild<QLabel*>("1108")->text(), QString("Digite o valor"));
    auto* edit = dialog.findChild<QLineEdit*>("1107");
    QTest::keyClicks(edit, "1a2b34");
    QCOMPARE(QString::fromStdString(dialog.Text()), QString("123"));
  }

  void longTextRefusesTypingBeyondTheLimit() {
    LongTextDialog dialog("Texto", 6, "", nullptr);
    auto* edit = dialog.findChild<LimitedTextEdit*>("1103");
    QTest::keyClicks(edit, "ab");
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, "cdef");
    QCOMPARE(QString::fromStdString(dialog.Text()), QString("ab\r\ncd"));
  }

  void percentGivesBothParts() {
    PercentDialog dialog("Percentual", nullptr);
    auto* integer = dialog.findChild<QLineEdit*>("1065");
    auto* decimal = dialog.findChild<QLineEdit*>("1066");
    QCOMPARE(integer->text(), QString("00"));
    integer->setText("5");
    decimal->setText("5");
    PercentAnswer answer = dialog.Answer();
    QCOMPARE(QString::fromStdString(answer.integerPart + "|" + answer.decimalPart), QString("5|5"));
  }

  void dateAsksUntilConfirmed() {
    DateDialog dialog("", nullptr);
    dialog.findChild<QDateEdit*>("1249")->setDate(QDate(2025, 3, 7));
    QStringList questions;
    int answers = 0;
    dialog.confirm = [&](const QString& question) {
      questions << question;
      return ++answers == 2;
    };
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(dialog.isVisible() == false);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(questions.size(), 2);
    QCOMPARE(questions[0], QString::fromUtf8("A data está correta?\r\n07/03/25"));
    QCOMPARE(dialog.Chosen().day, 7);
  }

  void timeClockModeRuns() {
    TimeDialog clock("ignored", true, nullptr);
    auto* picker = clock.findChild<QTimeEdit*>("1250");
    auto* summer = clock.findChild<QCheckBox*>("1297");
    QVERIFY(!summer->isHidden() && summer->isEnabled());
    QCOMPARE(summer->text(), QString::fromUtf8("Horário de verão"));
    QVERIFY(clock.findChild<QPushButton*>("1234")->isHidden());
    QVERIFY(clock.findChild<QLabel*>("1108")->text().startsWith(
        QString::fromUtf8("Aceitar data e horário do computador?\r\n\r\nData: ") +
        QDate::currentDate().toString("dd/MM/yyyy")));
    picker->setTime(QTime(1, 2, 3));
    QTRY_VERIFY_WITH_TIMEOUT(picker->time() != QTime(1, 2, 3), 1000);
    summer->setChecked(true);
    clock.accept();
    QVERIFY(clock.Answer().summerTime);

    TimeDialog plain("Selecione a hora", false, nullptr);
    QVERIFY(plain.findChild<QCheckBox*>("1297")->isHidden());
    QVERIFY(!plain.findChild<QCheckBox*>("1297")->isEnabled());
    plain.findChild<QTimeEdit*>("1250")->setTime(QTime(9, 5, 3));
    plain.accept();
    QCOMPARE(plain.Answer().time.minute, 5);
  }

  void optionsHideEmptyButtonsAndEndOnAPress() {
    OptionsDialog dialog("Escolha", {W("&Acréscimo"), "", "Terceira"}, nullptr);
    QCOMPARE(dialog.findChild<QLabel*>("1108")->text(), QString("Escolha"));
    QVERIFY(!dialog.findChild<QPushButton*>("1052")->isHidden());
    QVERIFY(dialog.findChild<QPushButton*>("1053")->isHidden());
    QVERIFY(!dialog.findChild<QPushButton*>("1054")->isHidden());
    for (int id = 1055; id <= 1063; ++id)
      QVERIFY(dialog.findChild<QPushButton*>(QString::number(id))->isHidden());
    dialog.findChild<QPushButton*>("1054")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Chosen(), 3);
  }

  void chequeFieldsInDialogOrder() {
    ChequeFields preset{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"};
    ChequePositionsDialog dialog(preset, nullptr);
    auto* first = dialog.findChild<QLineEdit*>("cheque01");
    QCOMPARE(first->maxLength(), 2);
    first->setText("42");
    QCOMPARE(QString::fromStdString(dialog.Fields()[0] + dialog.Fields()[12]), QString("4213"));
  }

  void clicheEditorAnswer() {
    ClicheEditorDialog dialog;
    QCOMPARE(dialog.windowTitle(), QString::fromUtf8("Clichê do Proprietário"));
    auto* line1 = dialog.findChild<QLineEdit*>("line1");
    QCOMPARE(line1->text(), QString());
    QCOMPARE(line1->maxLength(), 47);
    line1->setText("Loja");
    dialog.findChild<QCheckBox*>("expanded1")->setChecked(true);
    dialog.findChild<QCheckBox*>("centred")->setChecked(true);
    auto* line3 = dialog.findChild<LimitedTextEdit*>("line3");
    QTest::keyClicks(line3, QString(100, 'x'));
    ClicheAnswer answer = dialog.Answer();
    QCOMPARE(QString::fromStdString(answer.lines[0].text), QString("Loja"));
    QVERIFY(answer.lines[0].expanded && !answer.lines[0].underline && answer.centred);
    QCOMPARE(int(answer.lines[2].text.size()), 94);
  }

  void taxRatePageRoundTrip() {
    TaxRatePage page;
    TaxRates rates;
    for (size_t i = 0; i < 16; ++i) rates.rates[i] = std::to_string(1000 + i);
    rates.linkage = "00X0000000000001";
    page.Load(rates);
    QVERIFY(page.findChild<QRadioButton*>("iss03")->isChecked());
    QVERIFY(page.findChild<QRadioButton*>("icms01")->isChecked());
    QCOMPARE(page.findChild<QLineEdit*>("rate16")->text(), QString("1015"));
    TaxRates back = page.Read();
    QCOMPARE(QString::fromStdString(back.linkage), QString("0010000000000001"));
    QVERIFY(back.rates == rates.rates);
    page.findChild<QRadioButton*>("iss01")->setChecked(true);
    QCOMPARE(page.Read().linkage[0], '1');
    QCOMPARE(page.findChild<QLineEdit*>("rate01")->maxLength(), 4);
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::EntryDialogsTest)
#include "entry_dialogs_test.moc"
