// The driver key file: the field checks, the file's content and the dialog that writes it.
#include "driverkey/driverkeyfile.h"
#include "driverkey/ztcreatedriverkeydialog.h"

#include "support/testsupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using testsupport::readFile;

using testsupport::DebugCapture;
using testsupport::ModalCloser;

static QString dlgTr(const char *text)
{
    return QCoreApplication::translate("ZtCreateDriverKeyDialog", text);
}

class TestDriverKey : public QObject
{
    Q_OBJECT

private slots:
    void checks_data();
    void checks();
    void content_data();
    void content();
    void filePath_data();
    void filePath();
    void dialogWritesKey();
    void dialogRefusesAndStaysOpen();
    void overwritesExistingKey();
    void unwritableDirectory();
    void pathDialogCancelledEmptiesField();

private:
    struct Form
    {
        QLineEdit *name, *id, *path;
        QPushButton *ok, *cancel, *pathButton;
    };
    static Form form(ZtCreateDriverKeyDialog &d)
    {
        return {
            d.findChild<QLineEdit *>("name_lineEdit"),       d.findChild<QLineEdit *>("id_lineEdit"),
            d.findChild<QLineEdit *>("path_lineEdit"),       d.findChild<QPushButton *>("ok_pushButton"),
            d.findChild<QPushButton *>("cancel_pushButton"), d.findChild<QPushButton *>("path_pushButton")};
    }

    QTemporaryDir tmp;
};

void TestDriverKey::checks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("message"); // source text, empty when the fields pass

    const QString dir = QStringLiteral("/media/usb");
    const QString ascii18(18, QLatin1Char('n'));
    const QString chinese6 = QStringLiteral("王小明王小明");
    // clang-format off
    QTest::newRow("name 18 ascii") << ascii18 << "A123" << dir << "";
    QTest::newRow("name 19 ascii") << ascii18 + "n" << "A123" << dir << "Name lenght is too long";
    QTest::newRow("name 6 chinese") << chinese6 << "A123" << dir << "";
    QTest::newRow("name 7 chinese") << chinese6 + QStringLiteral("王") << "A123" << dir << "Name lenght is too long";
    QTest::newRow("blanks count") << " " + ascii18 << "A123" << dir << "Name lenght is too long";
    QTest::newRow("id 18 ascii") << "Driver" << ascii18 << dir << "";
    QTest::newRow("id 19 ascii") << "Driver" << ascii18 + "9" << dir << "ID lenght is too long";
    QTest::newRow("id 7 chinese") << "Driver" << chinese6 + QStringLiteral("王") << dir << "ID lenght is too long";
    QTest::newRow("name empty") << "" << "" << "" << "Name Format Error!";
    QTest::newRow("id empty") << "Driver" << "" << "" << "ID Format Error!";
    QTest::newRow("id long before no path") << "Driver" << ascii18 + "9" << "" << "ID lenght is too long";
    QTest::newRow("no path") << "Driver" << "A123" << "" << "No save path!";
    // clang-format on
}

void TestDriverKey::checks()
{
    QFETCH(QString, name);
    QFETCH(QString, id);
    QFETCH(QString, dir);
    QFETCH(QString, message);
    const QString expected = message.isEmpty() ? QString() : dlgTr(message.toUtf8().constData());
    QCOMPARE(driverkey::checkFields(name, id, dir), expected);
}

void TestDriverKey::content_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("chinese") << QStringLiteral("王小明") << QStringLiteral("台北01")
                             << QStringLiteral(R"({"id":"台北01","mode":0,"name":"王小明"})").toUtf8();
    QTest::newRow("blanks and quotes") << " a\"b "
                                       << "x\\y" << QByteArray(R"({"id":"x\\y","mode":0,"name":" a\"b "})");
}

void TestDriverKey::content()
{
    QFETCH(QString, name);
    QFETCH(QString, id);
    QFETCH(QByteArray, json);
    QCOMPARE(driverkey::keyJson(name, id), json);
    const QByteArray content = driverkey::keyContent(name, id);
    QCOMPARE(content, json.toBase64()); // one line
    // a reader gets the values back exactly as typed
    const QJsonObject object = QJsonDocument::fromJson(QByteArray::fromBase64(content)).object();
    QCOMPARE(object.value("name").toString(), name);
    QCOMPARE(object.value("id").toString(), id);
    QCOMPARE(object.value("mode").toInt(-1), 0);
}

void TestDriverKey::filePath_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("path");
    // clang-format off
    QTest::newRow("folder") << "E:/keys" << "E:/keys/dt_extData";
    QTest::newRow("drive root") << "E:/" << "E:/dt_extData";
    // clang-format on
}

void TestDriverKey::filePath()
{
    QFETCH(QString, dir);
    QFETCH(QString, path);
    QCOMPARE(driverkey::keyFilePath(dir), path);
}

void TestDriverKey::dialogWritesKey()
{
    const QString dir = tmp.path() + "/stick";
    QDir().mkpath(dir);
    ZtCreateDriverKeyDialog dialog;
    const Form f = form(dialog);
    f.name->setText(QStringLiteral("王小明"));
    f.id->setText("A123");
    f.path->setText(dir + "/"); // a directory that already ends in "/" gets no second one
    dialog.show();

    ModalCloser closer;
    f.ok->click();
    const QString path = dir + "/dt_extData";
    QCOMPARE(closer.texts(), QStringList{dlgTr("Create ") + path + dlgTr(" success!")});
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(QByteArray::fromBase64(readFile(path)),
             QStringLiteral(R"({"id":"A123","mode":0,"name":"王小明"})").toUtf8());
    QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{"dt_extData"});
}

void TestDriverKey::dialogRefusesAndStaysOpen()
{
    ZtCreateDriverKeyDialog dialog;
    const Form f = form(dialog);
    f.name->setText(QString(19, QLatin1Char('n')));
    f.id->setText("A123");
    dialog.show();
    ModalCloser closer;
    f.ok->click();
    QCOMPARE(closer.texts(), QStringList{dlgTr("Name lenght is too long")});
    QVERIFY(dialog.isVisible());

    closer.clear();
    f.name->setText("Driver");
    f.ok->click(); // name and ID but no directory yet
    QCOMPARE(closer.texts(), QStringList{dlgTr("No save path!")});
    QVERIFY(dialog.isVisible());
}

void TestDriverKey::overwritesExistingKey()
{
    const QString dir = tmp.path() + "/again";
    const QString path = testsupport::writeFile(dir, "dt_extData", QByteArray(500, 'x'));
    const driverkey::WriteResult result = driverkey::writeKeyFile(dir, "B", "2");
    QVERIFY(result.ok);
    QCOMPARE(result.path, path);
    QCOMPARE(readFile(path), driverkey::keyContent("B", "2"));
}

void TestDriverKey::unwritableDirectory()
{
    // A plain file where the directory should be: nothing can be created below it (this
    // holds even for root, unlike missing write permission).
    const QString notADir = testsupport::writeFile(tmp.path() + "/plain", "file", "x");
    const driverkey::WriteResult result = driverkey::writeKeyFile(notADir, "Driver", "A123");
    QVERIFY(!result.ok && !result.error.isEmpty());

    ZtCreateDriverKeyDialog dialog;
    const Form f = form(dialog);
    f.name->setText("Driver");
    f.id->setText("A123");
    f.path->setText(notADir);
    dialog.show();
    ModalCloser closer;
    DebugCapture debug;
    f.ok->click();
    QVERIFY(debug.contains("Can not create file !"));
    // the user is told, and the dialog stays open for another directory
    QCOMPARE(closer.texts().size(), 1);
    QVERIFY(closer.texts().first().startsWith(
        dlgTr("The driver key file could not be written:\n%1\n%2").section('\n', 0, 0)));
    QVERIFY(closer.texts().first().contains(notADir + "/dt_extData"));
    QVERIFY(dialog.isVisible());
}

void TestDriverKey::pathDialogCancelledEmptiesField()
{
    ZtCreateDriverKeyDialog dialog;
    const Form f = form(dialog);
    f.path->setText("/somewhere");
    dialog.show();
    ModalCloser closer; // rejects the directory dialog
    QTimer::singleShot(0, f.pathButton, &QPushButton::click);
    QTRY_VERIFY(f.path->text().isEmpty());
}

QTEST_MAIN(TestDriverKey)
#include "tst_driverkey.moc"
