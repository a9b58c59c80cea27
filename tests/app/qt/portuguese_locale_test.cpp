#include <QApplication>
#include <QCalendarWidget>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include "app/qt/portuguese_locale.h"
#include "app/qt/qt_ui.h"

namespace taloven {
namespace {

QString Plain(QString text) {
  return text.remove('&');
}

}  // namespace

// Run on a machine set to English: the program still speaks Portuguese.
class PortugueseLocaleTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(UseBrazilianPortuguese(*qApp)); }

  void standardButtonsAndDialogs() {
    QMessageBox box(QMessageBox::Question, "Taloven", "?", QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(Plain(box.button(QMessageBox::Yes)->text()), QString("Sim"));
    QCOMPARE(Plain(box.button(QMessageBox::No)->text()), QString::fromUtf8("Não"));

    QFileDialog save;
    save.setOption(QFileDialog::DontUseNativeDialog);
    save.setAcceptMode(QFileDialog::AcceptSave);
    save.show();
    QCOMPARE(save.windowTitle(), QString("Salvar como"));
    QStringList labels;
    for (QLabel* label : save.findChildren<QLabel*>()) labels << Plain(label->text());
    QVERIFY2(labels.contains(QString::fromUtf8("Nome do arquivo:")), qPrintable(labels.join('|')));
    QVERIFY2(labels.contains(QString::fromUtf8("Procurar em:")), qPrintable(labels.join('|')));
  }

  // The program's own open dialog: a folder's type is Portuguese, and the
  // type, size and date columns show their texts whole.
  void fileListTypesAndColumns() {
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir("pasta"));
    QFile file(folder.filePath("relatorio.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(52000, 'x'));
    file.close();

    QString folderType;
    QList<int> shortBy;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      dialog->setDirectory(folder.path());
      auto* list = dialog->findChild<QTreeView*>("treeView");
      const auto rowOf = [&](const QString& name) {
        const QModelIndex root = list->rootIndex();
        for (int row = 0; row < list->model()->rowCount(root); ++row)
          if (list->model()->index(row, 0, root).data().toString() == name) return row;
        return -1;
      };
      if (QTest::qWaitFor([&] { return rowOf("pasta") >= 0 && rowOf("relatorio.txt") >= 0; })) {
        QTest::qWait(50);
        const QModelIndex root = list->rootIndex();
        folderType = list->model()->index(rowOf("pasta"), 2, root).data().toString();
        for (int column = 1; column <= 3; ++column) {
          const QString shown =
              list->model()->index(rowOf("relatorio.txt"), column, root).data().toString();
          shortBy << list->fontMetrics().horizontalAdvance(shown) -
                         list->header()->sectionSize(column);
        }
      }
      dialog->reject();
    });
    QtUi ui;
    QVERIFY(!ui.OpenFileNames(std::string(), {}, false));
    QCOMPARE(folderType, QString("Pasta"));
    QCOMPARE(shortBy.size(), 3);
    for (int missing : shortBy) QVERIFY2(missing <= 0, qPrintable(QString::number(missing)));
  }

  void datesAndTheCalendar() {
    // The file dialog's list dates its files by the system's time locale.
    QCOMPARE(QLocale::system().toString(QDateTime(QDate(2026, 12, 8), QTime(11, 52)),
                                        QLocale::ShortFormat),
             QString("08/12/2026 11:52"));
    QCOMPARE(QLocale().monthName(12), QString("dezembro"));
    QCOMPARE(QLocale().toString(QDate(2026, 12, 8), QLocale::ShortFormat), QString("08/12/2026"));
    QCalendarWidget calendar;
    calendar.setSelectedDate(QDate(2026, 12, 8));
    calendar.show();
    auto* month = calendar.findChild<QToolButton*>("qt_calendar_monthbutton");
    QVERIFY(month);
    QCOMPARE(month->text().toLower(), QString("dezembro"));
  }
};

}  // namespace taloven

int main(int argc, char** argv) {
  qputenv("LANG", "en_US.UTF-8");
  qunsetenv("LC_ALL");
  qunsetenv("LC_TIME");
  taloven::UseBrazilianDatesFromTheStart();
  QApplication application(argc, argv);
  taloven::PortugueseLocaleTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "portuguese_locale_test.moc"
