#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include "base/encoding.h"
#include "programming/configuration_file.h"
#include "programming/qt/configurations_dialog.h"
#include "programming/qt/graphic_cliche_dialog.h"
#include "programming/qt/programming_sheet.h"
#include "support/scripted_ui.h"
#include "support/temp_directory.h"
#include "support/test_clock.h"

namespace taloven {

class ProgrammingPagesTest : public QObject {
  Q_OBJECT

  template <typename T>
  static T* Find(QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(name);
    if (!child) qWarning("no control %s", name);
    return child;
  }

 private slots:
  void editsAConfigurationThroughEveryPage() {
    EquipmentConfiguration c;
    c.client = "Loja";
    c.serialNumber = "TV08";
    c.taxRates[1] = "1200";
    c.issLinkage = "0200000000000000";  // any non-'0' is ISS
    c.cliche = "ANTIGO\r\n";
    c.totalizerNames[0] = "SANGRIA";
    c.totalizerNames[40] = "FORA DO MODELO";
    c.conferenceCoupon = "-1";
    AppSettings settings;
    settings.modelName = "ECF-T03             ";
    settings.modelMask = 0x0400;  // thirty names, as a second generation has
    testing::ScriptedUi ui;
    testing::TestClock clock;
    ProgrammingSheet sheet(PagesFor(c, settings), ui, clock);

    auto* tabs = Find<QTabWidget>(sheet, "pages");
    QCOMPARE(tabs->count(), 4);
    QCOMPARE(tabs->tabText(0), QString::fromUtf8("Informações Gerais"));
    QCOMPARE(tabs->tabText(2), QString::fromUtf8("Totalizadores Parciais não sujeitos"));
    QCOMPARE(tabs->tabText(3), QString("Restaurante"));

    // General page: limits, the masked password, the buttons.
    const std::pair<const char*, int> limits[] = {
        {"client", 20},   {"serialNumber", 20}, {"cnpj", 20},
        {"ie", 20},       {"im", 20},           {"uf", 2},
        {"password", 20}, {"storeNumber", 4},   {"registerNumber", 3},
        {"date", 6},      {"time", 6}};
    for (const auto& [name, limit] : limits)
      QCOMPARE(Find<QLineEdit>(sheet, name)->maxLength(), limit);
    auto* password = Find<QLineEdit>(sheet, "password");
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    password->clear();
    QTest::keyClicks(password, "00112233445566778899FF");
    Find<QLineEdit>(sheet, "serialNumber")->setText(" TV 09 ");
    QTest::keyClicks(Find<QLineEdit>(sheet, "uf"), "SPX");
    Find<QCheckBox>(sheet, "rvInConference")->setChecked(true);
    Find<QPushButton>(sheet, "loadComputerClock")->click();
    QCOMPARE(Find<QLineEdit>(sheet, "date")->text(), QString("071206"));
    QCOMPARE(Find<QLineEdit>(sheet, "time")->text(), QString("100000"));
    ui.Push(testing::ScriptedUi::Cancel{});  // Cancel keeps the cliché
    Find<QPushButton>(sheet, "editCliche")->click();
    QCOMPARE(Find<QPlainTextEdit>(sheet, "cliche")->toPlainText(), QString("ANTIGO\n"));
    ClicheAnswer answer;
    answer.lines[0].text = "NOVO";
    answer.lines[0].underline = true;
    ui.Push(answer);
    Find<QPushButton>(sheet, "editCliche")->click();

    // Tax rates and linkage.
    QCOMPARE(Find<QRadioButton>(sheet, "iss02")->isChecked(), true);
    Find<QLineEdit>(sheet, "rate03")->setText("0700");
    Find<QRadioButton>(sheet, "iss03")->setChecked(true);

    // Names: thirty usable, the rest disabled but kept.
    QVERIFY(Find<QLineEdit>(sheet, "name30")->isEnabled());
    QVERIFY(!Find<QLineEdit>(sheet, "name31")->isEnabled());
    QCOMPARE(Find<QLineEdit>(sheet, "name41")->text(), QString("FORA DO MODELO"));
    auto* name5 = Find<QLineEdit>(sheet, "name05");
    QTest::keyClicks(name5, QString::fromUtf8("GORJETA DO GARÇOM E MAIS"));
    QCOMPARE(name5->text().size(), 19);

    // Restaurant: opened not parametrized, set to shop with parameter 2.
    QVERIFY(!Find<QCheckBox>(sheet, "conferenceCoupon")->isChecked());
    QVERIFY(Find<QRadioButton>(sheet, "restaurant")->isChecked());
    Find<QRadioButton>(sheet, "shop")->setChecked(true);
    Find<QCheckBox>(sheet, "conferenceCoupon")->setChecked(true);
    Find<QRadioButton>(sheet, "parameter2")->setChecked(true);

    const EquipmentConfiguration back = ConfigurationFromPages(sheet.Pages());
    QCOMPARE(back.client, std::string("Loja"));
    QCOMPARE(back.serialNumber, std::string("TV09"));
    QCOMPARE(back.password, std::string("00112233445566778899"));
    QCOMPARE(back.uf, std::string("SP"));
    QVERIFY(back.rvInConference && !back.automaticZ);
    QCOMPARE(back.date, std::string("071206"));
    QCOMPARE(back.cliche, std::string("CLICHE_SUB_INI_XMLNOVOCLICHE_SUB_END_XML\r\n\r\n\r\n"));
    QCOMPARE(back.taxRates[2], std::string("0700"));
    QCOMPARE(back.issLinkage, std::string("0110000000000000"));
    QCOMPARE(back.totalizerNames[4], W("GORJETA DO GARÇOM E"));
    QCOMPARE(back.totalizerNames[40], std::string("FORA DO MODELO"));
    QCOMPARE(back.restaurantOrShop, std::string("1"));
    QCOMPARE(back.conferenceCoupon, std::string("2"));
    QVERIFY(ui.AllAnswered());
  }

  void otherModelsHaveNoRestaurantPageAndFiftyNames() {
    AppSettings settings;
    settings.modelName = "ECF-T01             ";
    settings.modelMask = 0x0001;
    testing::ScriptedUi ui;
    testing::TestClock clock;
    ProgrammingSheet sheet(PagesFor({}, settings), ui, clock);
    QCOMPARE(Find<QTabWidget>(sheet, "pages")->count(), 3);
    QVERIFY(Find<QLineEdit>(sheet, "name50")->isEnabled());
    QCOMPARE(Find<QLineEdit>(sheet, "password")->text(), QString(10, ' '));
  }

  void searchesAndLoadsAStoredConfiguration() {
    testing::TempDirectory dir;
    EquipmentConfiguration a, b;
    a.serialNumber = "S1";
    a.client = "Ana";
    b.serialNumber = "S2";
    b.client = "Bia";
    b.cnpj = "123";
    QVERIFY(SaveConfigurations(ConfigurationsPath(dir.Path().string()), {a, b}).ok());
    testing::ScriptedUi ui;
    ConfigurationsDialog dialog(dir.Path().string(), ui);
    auto* clients = Find<QComboBox>(dialog, "clients");
    QCOMPARE(clients->count(), 2);
    clients->setEditText("Bia");
    Find<QPushButton>(dialog, "search")->click();
    auto* found = Find<QListWidget>(dialog, "found");
    QCOMPARE(found->count(), 1);
    QCOMPARE(clients->currentText(), QString());
    found->setCurrentRow(0);
    QVERIFY(Find<QPlainTextEdit>(dialog, "description")->toPlainText().contains("CNPJ: 123"));
    Find<QPushButton>(dialog, "1")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Chosen()->serialNumber, std::string("S2"));
  }

  void graphicClicheTellsThatUsbIsNotSupported() {
    testing::ScriptedUi ui;
    GraphicClicheDialog usb("USB", ui);
    usb.show();
    QTRY_COMPARE(ui.Prompts().size(), size_t(1));
    QCOMPARE(ui.Prompts()[0].text, W("Este comando não suporta interface USB"));
    QVERIFY(usb.isVisible());
    QCOMPARE(usb.windowTitle(), QString::fromUtf8("Clichê Gráfico"));
    testing::ScriptedUi quiet;
    GraphicClicheDialog serial("COM1:", quiet);
    serial.show();
    QTest::qWait(20);
    QVERIFY(quiet.Prompts().empty());
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::ProgrammingPagesTest)
#include "programming_pages_test.moc"
