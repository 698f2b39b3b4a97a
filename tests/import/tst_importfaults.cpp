// A day file that disappears between the date list and its opening: the window says so,
// shows no stale day, and goes on with the other days of the list.
#include "app/mainwindow.h"
#include "app/ztpopwaitingwidget.h"
#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTextBrowser>
#include <QtTest>

namespace {

QString mwTr(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

// A valid day with one fault record, so an opened day shows text on the fault page.
QByteArray dayBytes(int hour)
{
    const QByteArray block = vdrenc::faultEventBlock(
        {{'1', vdrenc::stamp(2024, 1, 30, hour, 0, 0), vdrenc::stamp(2024, 1, 30, hour, 5, 0)}}, {});
    return vdrenc::container({{0, "DT_ERR_DATA", block}});
}

} // namespace

class TestImportFaults : public QObject
{
    Q_OBJECT

private slots:
    void fileVanishesBeforeOpening();
};

void TestImportFaults::fileVanishesBeforeOpening()
{
    QTemporaryDir tmp;
    const QString source = tmp.path() + QStringLiteral("/card");
    testsupport::writeFile(source, QStringLiteral("D20240130__.vdr"), dayBytes(8));
    testsupport::writeFile(source, QStringLiteral("D20240131__.vdr"), dayBytes(9));

    MainWindow w;
    testsupport::ModalCloser closer;
    w.importFolder(source);
    auto *dates = w.findChild<QComboBox *>("date_comboBox");
    auto *errors = w.findChild<QTextBrowser *>("eventtextBrowser");
    auto *label = w.findChild<QLabel *>("date_value");
    QCOMPARE(dates->count(), 2);
    QTRY_COMPARE(label->text(), QStringLiteral("2024/01/30"));
    QTRY_VERIFY(w.waitingOverlay()->isHidden());
    QVERIFY(!errors->toPlainText().isEmpty());
    closer.clear();

    // The second day is chosen; its file goes away before the deferred read.
    dates->setCurrentIndex(1);
    QVERIFY(QFile::remove(w.workingDirectory() + QStringLiteral("/D20240131__.vdr")));
    QTRY_COMPARE(closer.texts(), QStringList{mwTr("Can not open file")});
    QTRY_VERIFY(w.waitingOverlay()->isHidden());
    // no page keeps the other day's records under the new date
    QVERIFY(errors->toPlainText().isEmpty());
    QCOMPARE(dates->count(), 2);

    // The other day still opens.
    closer.clear();
    dates->setCurrentIndex(0);
    QTRY_VERIFY(!errors->toPlainText().isEmpty());
    QTRY_VERIFY(w.waitingOverlay()->isHidden());
    QCOMPARE(label->text(), QStringLiteral("2024/01/30"));
    QVERIFY(closer.texts().isEmpty());
    // the source folder is untouched
    QCOMPARE(QDir(source).entryList(QDir::Files), QStringList({"D20240130__.vdr", "D20240131__.vdr"}));
}

QTEST_MAIN(TestImportFaults)
#include "tst_importfaults.moc"
