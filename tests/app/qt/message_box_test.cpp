#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include "app/qt/qt_ui.h"
#include "base/encoding.h"

namespace taloven {

// The message boxes the logic raises, as the desktop shows them.
class MessageBoxTest : public QObject {
  Q_OBJECT

  // Runs ask while a timer answers the first message box with No (or OK),
  // pressed from the keyboard; returns the box's title as the desktop gets it.
  static QString TitleOfTheBoxOf(const std::function<void()>& ask) {
    QString title;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->windowHandle()) return;
      title = box->windowHandle()->title();
      box->button(QMessageBox::No) ? box->button(QMessageBox::No)->click() : box->accept();
    });
    closer.start(10);
    ask();
    return title;
  }

 private slots:
  // An empty caption shows none, where Qt would put the program's name.
  void captionsAreShownAsGiven_data() {
    QTest::addColumn<QByteArray>("caption");
    QTest::addColumn<bool>("blank");
    QTest::addColumn<QString>("shown");
    QTest::newRow("none") << QByteArray() << true << QString();
    QTest::newRow("product") << QByteArray("Taloven") << false << QStringLiteral("Taloven");
    QTest::newRow("accented") << QByteArray("Atenção") << false << QString::fromUtf8("Atenção");
  }

  void captionsAreShownAsGiven() {
    QFETCH(QByteArray, caption);
    QFETCH(bool, blank);
    QFETCH(QString, shown);
    QtUi ui;
    const QString title = TitleOfTheBoxOf([&] {
      ui.Message(W("Confirma exclusão?"), W(caption.toStdString()), MessageButtons::YesNo,
                 MessageIcon::Question);
    });
    if (blank)
      QVERIFY2(title.trimmed().isEmpty(), qPrintable(title));
    else
      QCOMPARE(title, shown);
  }
};

}  // namespace taloven

QTEST_MAIN(taloven::MessageBoxTest)
#include "message_box_test.moc"
