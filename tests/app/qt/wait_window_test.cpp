#include <QAbstractButton>
#include <QLabel>
#include <QPointer>
#include <QWidget>
#include <QtTest>

#include "app/qt/qt_ui.h"
#include "app/qt/wait_window.h"
#include "base/encoding.h"

namespace taloven {

class WaitWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheGivenTextOrTheDefault_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("connection");
    QTest::newRow("no text") << ""
                             << "Aguarde......" << false;
    QTest::newRow("accented text")
        << QString::fromUtf8("Carregando o arquivo \".xml\" de definição dos comandos...")
        << QString::fromUtf8("Carregando o arquivo \".xml\" de definição dos comandos...") << false;
    QTest::newRow("connection window") << "Conectando..."
                                       << "Conectando..." << true;
  }

  void showsTheGivenTextOrTheDefault() {
    QFETCH(QString, given);
    QFETCH(QString, shown);
    QFETCH(bool, connection);
    QWidget owner;
    owner.show();
    QtUi ui(&owner);
    const std::string text = Utf8ToCp1252(given.toStdString());
    auto handle = connection ? ui.ShowConnection(text) : ui.ShowWait(text);
    auto* window = static_cast<WaitWindowHandle*>(handle.get())->Window();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Taloven"));
    auto* label = window->findChild<QLabel*>(connection ? "1026" : "waitText");
    QVERIFY(label);
    QCOMPARE(label->text(), shown);
    // Nothing in it can be clicked, not even a close box.
    QVERIFY(window->findChildren<QAbstractButton*>().isEmpty());
    QVERIFY(!(window->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(window->windowFlags() & Qt::WindowTitleHint);
  }

  void changesTextAndClosesWhenTheHandleGoes() {
    QWidget owner;
    owner.show();
    QtUi ui(&owner);
    auto handle = ui.ShowWait(W("Por favor, aguarde....."));
    QPointer<WaitWindow> window = static_cast<WaitWindowHandle*>(handle.get())->Window();
    handle->SetText(W("Lendo configuração"));
    QCOMPARE(window->Text(), QString::fromUtf8("Lendo configuração"));
    handle->Hide();
    QVERIFY(!window->isVisible());
    handle.reset();
    QVERIFY(window.isNull());
  }

  void outlivesAnOwnerThatWentFirst() {
    auto owner = std::make_unique<QWidget>();
    QtUi ui(owner.get());
    auto handle = ui.ShowWait("");
    owner.reset();  // takes the window with it
    handle->SetText("x");
    handle->Hide();
    handle.reset();
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::WaitWindowTest)
#include "wait_window_test.moc"
