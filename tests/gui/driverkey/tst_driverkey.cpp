// The driver key file: every row goes through the field checks and then through the dialog,
// which reports the first failed check, writes the exact content or says why it could not.
#include "core/driverkey/driverkeyfile.h"
#include "gui/driverkey/ztcreatedriverkeydialog.h"

#include "support/testsupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using testsupport::child;

static QString dlgTr(const char *text)
{
    return QCoreApplication::translate("ZtCreateDriverKeyDialog", text);
}

class TestDriverKey : public QObject
{
    Q_OBJECT

private slots:
    void keyFile_data();
    void keyFile();
    void pathDialogCancelledEmptiesField();

private:
    QTemporaryDir tmp;
};

void TestDriverKey::keyFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("problem"); // source text, empty when the fields pass
    QTest::addColumn<QByteArray>("json"); // the key's JSON, when given

    // An earlier, longer key is replaced whole.
    const QString stick =
        QFileInfo(testsupport::writeFile(tmp.filePath("stick"), "dt_extData", QByteArray(500, 'x')))
            .absolutePath();
    const QString slash = stick + "/"; // a directory that already ends in "/" gets no second one
    // A plain file where the directory should be: nothing can be created below it (this holds
    // even for root, unlike missing write permission).
    const QString notADir = testsupport::writeFile(tmp.filePath("plain"), "file", "x");
    const QString n18(18, QLatin1Char('n'));
    const QString chinese6 = QStringLiteral("王小明王小明"), chinese7 = chinese6 + QStringLiteral("王");
    const QString tooLong = "Name lenght is too long", idTooLong = "ID lenght is too long";
    // clang-format off
    QTest::newRow("name 18 ascii") << n18 << "A123" << slash << "" << QByteArray();
    QTest::newRow("name 19 ascii") << n18 + "n" << "A123" << slash << tooLong << QByteArray();
    QTest::newRow("name 6 chinese") << chinese6 << "A123" << stick << "" << QByteArray();
    QTest::newRow("name 7 chinese") << chinese7 << "A123" << slash << tooLong << QByteArray();
    QTest::newRow("blanks count") << " " + n18 << "A123" << slash << tooLong << QByteArray();
    QTest::newRow("id 18 ascii") << "Driver" << n18 << slash << "" << QByteArray();
    QTest::newRow("id 19 ascii") << "Driver" << n18 + "9" << slash << idTooLong << QByteArray();
    QTest::newRow("id 7 chinese") << "Driver" << chinese7 << slash << idTooLong << QByteArray();
    QTest::newRow("name empty") << "" << "" << "" << "Name Format Error!" << QByteArray();
    QTest::newRow("id empty") << "Driver" << "" << "" << "ID Format Error!" << QByteArray();
    QTest::newRow("id long before no path") << "Driver" << n18 + "9" << "" << idTooLong << QByteArray();
    QTest::newRow("no path") << "Driver" << "A123" << "" << "No save path!" << QByteArray();
    QTest::newRow("chinese") << QStringLiteral("王小明") << QStringLiteral("台北01") << slash << ""
                             << QStringLiteral(R"({"id":"台北01","mode":0,"name":"王小明"})").toUtf8();
    QTest::newRow("blanks and quotes") << " a\"b " << "x\\y" << stick << ""
                                       << QByteArray(R"({"id":"x\\y","mode":0,"name":" a\"b "})");
    QTest::newRow("not a directory") << "Driver" << "A123" << notADir << "" << QByteArray();
    // clang-format on
}

void TestDriverKey::keyFile()
{
    QFETCH(QString, name);
    QFETCH(QString, id);
    QFETCH(QString, dir);
    QFETCH(QString, problem);
    QFETCH(QByteArray, json);
    if (!problem.isEmpty())
        problem = dlgTr(problem.toUtf8().constData());
    QCOMPARE(driverkey::checkFields(name, id, dir), problem);
    if (!json.isEmpty()) {
        QCOMPARE(driverkey::keyJson(name, id), json);
        // a reader gets the values back exactly as typed
        const QJsonObject read = QJsonDocument::fromJson(json).object();
        QVERIFY(read.value("name").toString() == name && read.value("id").toString() == id);
        QCOMPARE(read.value("mode").toInt(-1), 0);
    }

    ZtCreateDriverKeyDialog dialog;
    child<QLineEdit>(dialog, "name_lineEdit")->setText(name);
    child<QLineEdit>(dialog, "id_lineEdit")->setText(id);
    child<QLineEdit>(dialog, "path_lineEdit")->setText(dir);
    dialog.show();
    testsupport::ModalCloser closer;
    testsupport::DebugCapture debug;
    child<QPushButton>(dialog, "ok_pushButton")->click();
    const QString path = QDir::cleanPath(dir + "/dt_extData");
    const bool written = problem.isEmpty() && QFileInfo(dir).isDir();
    const QString failed = dlgTr("The driver key file could not be written:\n%1\n%2").arg(path, QString());
    QCOMPARE(closer.texts().size(), 1);
    const QString text = closer.texts().first();
    if (!problem.isEmpty())
        QCOMPARE(text, problem);
    else if (written)
        QCOMPARE(text, dlgTr("Create ") + path + dlgTr(" success!"));
    else // the user is told why, and the dialog stays open for another directory
        QVERIFY2(text.startsWith(failed) && text.size() > failed.size(), qPrintable(text));
    QCOMPARE(debug.contains("Can not create file !"), problem.isEmpty() && !written);
    QCOMPARE(dialog.result(), int(written ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(dialog.isVisible(), !written);
    if (written) {
        QCOMPARE(testsupport::readFile(path),
                 (json.isEmpty() ? driverkey::keyJson(name, id) : json).toBase64());
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{"dt_extData"});
    }
}

void TestDriverKey::pathDialogCancelledEmptiesField()
{
    ZtCreateDriverKeyDialog dialog;
    auto *path = child<QLineEdit>(dialog, "path_lineEdit");
    path->setText("/somewhere");
    dialog.show();
    testsupport::ModalCloser closer; // rejects the directory dialog
    QTimer::singleShot(0, child<QPushButton>(dialog, "path_pushButton"), &QPushButton::click);
    QTRY_VERIFY(path->text().isEmpty());
}

QTEST_MAIN(TestDriverKey)
#include "tst_driverkey.moc"
