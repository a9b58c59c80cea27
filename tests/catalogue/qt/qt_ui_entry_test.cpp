#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/qt/qt_ui.h"

namespace taloven {

// The GUI's entry requests open the dialogs and hand back what they hold.
class QtUiEntryTest : public QObject {
  Q_OBJECT

  // Runs `act` on the entry dialog once it is up, from inside its loop.
  static void WhenShown(std::function<void(QDialog&)> act) {
    QTimer::singleShot(0, [act] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog && dialog->isVisible()) {
          act(*dialog);
          return;
        }
      }
    });
  }

  QtUi ui_;

 private slots:
  void optionsAnswerTheButtonPressed() {
    WhenShown([](QDialog& d) { d.findChild<QPushButton*>("1053")->click(); });
    QCOMPARE(ui_.Options("Escolha", {"Um", "Dois"}).value_or(0), 2);
    WhenShown([](QDialog& d) { d.reject(); });
    QVERIFY(!ui_.Options("Escolha", {"Um", "Dois"}).has_value());
  }

  void amountAnswersTheDigits() {
    WhenShown([](QDialog& d) {
      d.findChild<QLineEdit*>("1308")->setText("1234");
      d.accept();
    });
    QCOMPARE(QString::fromStdString(ui_.Amount("Valor", 8, 2, "").value_or("?")), QString("1234"));
    WhenShown([](QDialog& d) { d.findChild<QPushButton*>("2")->click(); });
    QVERIFY(!ui_.Amount("Valor", 8, 2, "").has_value());
  }

  void taxRateSheetReportsHowItClosed() {
    TaxRates preset;
    preset.linkage = std::string(16, '0');
    WhenShown([](QDialog& d) {
      d.findChild<QRadioButton*>("iss02")->setChecked(true);
      d.findChild<QLineEdit*>("rate02")->setText("0500");
      d.reject();
    });
    bool accepted = true;
    TaxRates rates = ui_.TaxRatePage(preset, &accepted);
    QVERIFY(!accepted);
    QCOMPARE(QString::fromStdString(rates.linkage), QString("0100000000000000"));
    QCOMPARE(QString::fromStdString(rates.rates[1]), QString("0500"));
    WhenShown([](QDialog& d) { d.findChild<QPushButton*>("1")->click(); });
    ui_.TaxRatePage(preset, &accepted);
    QVERIFY(accepted);
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::QtUiEntryTest)
#include "qt_ui_entry_test.moc"
