// The two translation catalogues: the Chinese one translates everything, the English one
// differs from the source texts only where it should, the embedded compiled catalogues
// carry every entry, and no text of the code lacks an entry.
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

static void initTranslationResources()
{
    Q_INIT_RESOURCE(translations);
}

namespace {
struct Entry
{
    QString translation;
    QString type; // empty for a finished entry
};
using Key = QPair<QString, QString>; // context, source text
using Catalogue = QHash<Key, Entry>;

// Reads a .ts file; entries in file order go to `order` when given.
bool readCatalogue(const QString &path, Catalogue &catalogue, QList<Key> *order = nullptr)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QXmlStreamReader xml(&file);
    QString context, source;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            Entry entry;
            entry.type = xml.attributes().value(QLatin1String("type")).toString();
            entry.translation = xml.readElementText();
            const Key key(context, source);
            if (catalogue.contains(key))
                qWarning("duplicate entry %s / %s", qPrintable(context), qPrintable(source));
            catalogue.insert(key, entry);
            if (order)
                order->append(key);
        }
    }
    return !xml.hasError();
}

QString sourceDir()
{
    return QStringLiteral(TAVRIN_SOURCE_DIR);
}

QString tsPath(const char *language)
{
    return sourceDir() + QStringLiteral("/resources/translations/tavrin_%1.ts").arg(QLatin1String(language));
}

// The entries whose English text is not the source text itself.
const QHash<Key, QString> &englishExceptions()
{
    static const QHash<Key, QString> exceptions = {
        {{"ZtCreateDriverKeyDialog", " success!"}, "success!"},
        {{"ZtCreateDriverKeyDialog", "Dialog"}, "Create USB ID"},
        {{"ZtSelectDatesDialog", "Dialog"}, "Select Dates"},
        {{"ZtSelectDatesDialog", "Start time is greater than end time"},
         "Start time is over than end time,\nplease enter again"},
        {{"ZtSelectDatesDialog", "warning"}, "Warning"},
        {{"MainWindow", "Connet RS232..."}, "Connect RS232..."},
        {{"MainWindow", "TavrinPlayer"}, "Tavrin Player"},
        {{"MainWindow", "Disconnet..."}, "Disconnect..."},
        {{"MainWindow", "Driver"}, "Driver-Info"},
        {{"MainWindow", "Driver Info."}, "Driver Action"},
        {{"MainWindow", "Driver-1"}, "Driver-1 Info"},
        {{"MainWindow", "Driver-2"}, "Driver-2 Info"},
        {{"MainWindow", "Error : Check sum"}, "Error: Check sum"},
        {{"MainWindow", "Import Floder"}, "Import Folder"},
        {{"MainWindow", "Index    "}, "Index"},
        {{"MainWindow", "Mileage(Km)"}, "Mileage(km)"},
        {{"MainWindow", "Recent Time"}, QStringLiteral(" └ Recent Time")},
        {{"MainWindow", "Select Date"}, QStringLiteral(" └ Select Date")},
        {{"MainWindow", "SerialPort can not open"}, "Can not open seril port !!"},
        {{"MainWindow", "Speed AVG"}, "AVG Speed"},
        {{"MainWindow", "USB ID"}, "USB ID Setting"},
        {{"MainWindow", "about"}, "About"},
        {{"MainWindow", "continuing"}, "Continuing"},
        {{"MainWindow", "gps"}, "GPS"},
        {{"MainWindow", "index"}, "Index"},
        {{"MainWindow", "snapshot"}, "Snapshot"},
        {{"MainWindow", "speed"}, "Speed"},
    };
    return exceptions;
}
} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sameEntriesInBoth();
    void everyContextCarriesItsEntries_data();
    void everyContextCarriesItsEntries();
    void chineseTranslatesEverything();
    void englishKeepsSourceTextsButExceptions();
    void chineseSamples_data();
    void chineseSamples();
    void embeddedCataloguesCarryEveryEntry_data();
    void embeddedCataloguesCarryEveryEntry();
    void everyTextOfTheCodeHasEntries();

private:
    Catalogue zh, en;
    QList<Key> zhOrder;
};

void TestTranslations::initTestCase()
{
    initTranslationResources();
    QVERIFY(readCatalogue(tsPath("zh_TW"), zh, &zhOrder));
    QVERIFY(readCatalogue(tsPath("en_US"), en));
}

void TestTranslations::sameEntriesInBoth()
{
    QVERIFY(zh.size() >= 173 + 3);
    QCOMPARE(QSet<Key>(zh.keyBegin(), zh.keyEnd()), QSet<Key>(en.keyBegin(), en.keyEnd()));
}

void TestTranslations::everyContextCarriesItsEntries_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<int>("atLeast");
    QTest::newRow("MainWindow") << "MainWindow" << 121;
    QTest::newRow("ZtCreateDriverKeyDialog") << "ZtCreateDriverKeyDialog" << 14;
    QTest::newRow("ZtPrintWidget") << "ZtPrintWidget" << 10;
    QTest::newRow("ZtSelectDatesDialog") << "ZtSelectDatesDialog" << 9;
    QTest::newRow("ZtSerialPortDialog") << "ZtSerialPortDialog" << 7;
    QTest::newRow("ZtSlider") << "ZtSlider" << 8;
    QTest::newRow("RecentTimeWidget") << "RecentTimeWidget" << 4;
}

void TestTranslations::everyContextCarriesItsEntries()
{
    QFETCH(QString, context);
    QFETCH(int, atLeast);
    int count = 0;
    for (const Key &key : qAsConst(zhOrder))
        count += key.first == context;
    QVERIFY2(count >= atLeast, qPrintable(QString::number(count)));
}

void TestTranslations::chineseTranslatesEverything()
{
    for (auto it = zh.cbegin(); it != zh.cend(); ++it) {
        const QString where = it.key().first + QStringLiteral(" / ") + it.key().second;
        QVERIFY2(!it.value().translation.isEmpty(), qPrintable(where));
        QVERIFY2(it.value().type != QLatin1String("unfinished"), qPrintable(where));
        // a Chinese text is not the English one left in place (the names aside)
        const bool hasChinese =
            std::any_of(it.value().translation.cbegin(), it.value().translation.cend(),
                        [](QChar c) { return c.unicode() >= 0x3000 && c.unicode() < 0xE000; });
        const bool name = it.value().translation == QLatin1String("GPS") ||
                          it.value().translation == QLatin1String("Tavrin Player");
        QVERIFY2(hasChinese || name, qPrintable(where));
    }
}

void TestTranslations::englishKeepsSourceTextsButExceptions()
{
    int exceptions = 0;
    for (auto it = en.cbegin(); it != en.cend(); ++it) {
        const QString where = it.key().first + QStringLiteral(" / ") + it.key().second;
        QVERIFY2(it.value().type != QLatin1String("unfinished"), qPrintable(where));
        const auto exception = englishExceptions().constFind(it.key());
        if (exception != englishExceptions().cend()) {
            QCOMPARE(it.value().translation, exception.value());
            ++exceptions;
        } else {
            QCOMPARE(it.value().translation, it.key().second);
        }
    }
    QCOMPARE(exceptions, englishExceptions().size());
    // The key dialog's directory caption is English in the English catalogue.
    QCOMPARE(en.value(Key("ZtCreateDriverKeyDialog", "Open Directory")).translation,
             QStringLiteral("Open Directory"));
}

void TestTranslations::chineseSamples_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("chinese");
    QTest::newRow("title") << "MainWindow"
                           << "TavrinPlayer"
                           << "Tavrin Player";
    QTest::newRow("connect") << "MainWindow"
                             << "Connet RS232..." << QStringLiteral("RS232連線");
    QTest::newRow("power loss") << "MainWindow"
                                << "Power Loss" << QStringLiteral("電源供應中斷");
    QTest::newRow("private use") << "MainWindow" << QStringLiteral("\ue810\ue810\ue810Speed: ")
                                 << QStringLiteral("\ue810\ue810\ue810車速: ");
    QTest::newRow("recent") << "MainWindow"
                            << "Recent Time" << QStringLiteral(" └ 時間區段");
    QTest::newRow("line break") << "ZtSelectDatesDialog"
                                << "Export time exceeds 30 days"
                                << QStringLiteral("匯出時間超過30天,\n請重新輸入");
    QTest::newRow("success") << "ZtCreateDriverKeyDialog"
                             << " success!" << QStringLiteral("成功!");
    QTest::newRow("print") << "ZtPrintWidget"
                           << "Preview" << QStringLiteral("預覽列印");
    QTest::newRow("slider") << "ZtSlider"
                            << "1 hour" << QStringLiteral("1小時");
    QTest::newRow("serial") << "ZtSerialPortDialog"
                            << "Parity:" << QStringLiteral("優先權:");
    QTest::newRow("recent hours") << "RecentTimeWidget"
                                  << " Hour" << QStringLiteral(" 小時");
}

void TestTranslations::chineseSamples()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, chinese);
    QCOMPARE(zh.value(Key(context, source)).translation, chinese);
}

void TestTranslations::embeddedCataloguesCarryEveryEntry_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("Chinese") << "zh_TW";
    QTest::newRow("English") << "en_US";
}

void TestTranslations::embeddedCataloguesCarryEveryEntry()
{
    QFETCH(QString, language);
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/language/tavrin_") + language));
    const Catalogue &catalogue = language == QLatin1String("zh_TW") ? zh : en;
    for (auto it = catalogue.cbegin(); it != catalogue.cend(); ++it) {
        const QByteArray context = it.key().first.toUtf8();
        const QByteArray source = it.key().second.toUtf8();
        const QString compiled = translator.translate(context.constData(), source.constData());
        QVERIFY2(compiled == it.value().translation,
                 qPrintable(it.key().first + QStringLiteral(" / ") + it.key().second));
    }
}

void TestTranslations::everyTextOfTheCodeHasEntries()
{
    QTemporaryDir tmp;
    const QString extracted = tmp.path() + QStringLiteral("/code.ts");
    QProcess lupdate;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LUPDATE"), QStringLiteral(TAVRIN_LUPDATE));
    lupdate.setProcessEnvironment(env);
    lupdate.start(QStringLiteral("bash"),
                  {sourceDir() + QStringLiteral("/tools/update-translations.sh"), extracted});
    QVERIFY(lupdate.waitForFinished(120000));
    const QString output =
        QString::fromLocal8Bit(lupdate.readAllStandardOutput() + lupdate.readAllStandardError());
    QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0, qPrintable(output));
    // Texts that lupdate cannot give a context would be missing from the catalogues.
    QVERIFY2(!output.contains(QLatin1String("Cannot invoke tr()")), qPrintable(output));
    QVERIFY2(!output.contains(QLatin1String("unknown namespace/class")), qPrintable(output));

    Catalogue code;
    QVERIFY(readCatalogue(extracted, code));
    QVERIFY(code.size() > 40);
    QStringList missing;
    for (auto it = code.cbegin(); it != code.cend(); ++it) {
        const Entry zhEntry = zh.value(it.key());
        const Entry enEntry = en.value(it.key());
        if (!zh.contains(it.key()) || !en.contains(it.key()) || zhEntry.translation.isEmpty() ||
            enEntry.translation.isEmpty() || zhEntry.type == QLatin1String("unfinished") ||
            enEntry.type == QLatin1String("unfinished"))
            missing << it.key().first + QStringLiteral(" / \"") + it.key().second + QLatin1Char('"');
    }
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("run tools/update-translations.sh and translate:\n") +
                        missing.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
