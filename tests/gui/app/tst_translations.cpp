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

// Reads a .ts file.
bool readCatalogue(const QString &path, Catalogue &catalogue)
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

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sameEntriesInBoth();
    void everythingTranslated();
    void samples_data();
    void samples();
    void embeddedCataloguesCarryEveryEntry_data();
    void embeddedCataloguesCarryEveryEntry();
    void everyTextOfTheCodeHasEntries();

private:
    Catalogue zh, en;
};

void TestTranslations::initTestCase()
{
    initTranslationResources();
    QVERIFY(readCatalogue(tsPath("zh_TW"), zh));
    QVERIFY(readCatalogue(tsPath("en_US"), en));
}

void TestTranslations::sameEntriesInBoth()
{
    QVERIFY(zh.size() >= 173 + 3);
    QCOMPARE(QSet<Key>(zh.keyBegin(), zh.keyEnd()), QSet<Key>(en.keyBegin(), en.keyEnd()));
}

void TestTranslations::everythingTranslated()
{
    for (auto it = zh.cbegin(); it != zh.cend(); ++it) {
        const QString where = it.key().first + QStringLiteral(" / ") + it.key().second;
        const Entry &english = en.value(it.key());
        QVERIFY2(!english.translation.isEmpty() && english.type != QLatin1String("unfinished"),
                 qPrintable(where));
        QVERIFY2(!it.value().translation.isEmpty() && it.value().type != QLatin1String("unfinished"),
                 qPrintable(where));
        // a Chinese text is not the English one left in place (the names aside)
        const bool hasChinese =
            std::any_of(it.value().translation.cbegin(), it.value().translation.cend(),
                        [](QChar c) { return c.unicode() >= 0x3000 && c.unicode() < 0xE000; });
        const bool name = it.value().translation == QLatin1String("GPS") ||
                          it.value().translation == QLatin1String("Tavrin Player");
        QVERIFY2(hasChinese || name, qPrintable(where));
    }
}

// (The connect button, its mended English spelling and the slider's scale show theirs in the
// language switch test.)
void TestTranslations::samples_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("text");
    // clang-format off
    QTest::newRow("zh private use") << "zh" << "MainWindow" << QStringLiteral("\ue810\ue810\ue810Speed: ")
                                    << QStringLiteral("\ue810\ue810\ue810車速: ");
    QTest::newRow("zh line break") << "zh" << "ZtSelectDatesDialog" << "Export time exceeds 30 days"
                                   << QStringLiteral("匯出時間超過30天,\n請重新輸入");
    QTest::newRow("en source kept") << "en" << "MainWindow" << "Power Loss" << "Power Loss";
    QTest::newRow("en dialog title") << "en" << "ZtSelectDatesDialog" << "Dialog" << "Select Dates";
    QTest::newRow("en key dialog") << "en" << "ZtCreateDriverKeyDialog" << "Open Directory" << "Open Directory";
    // clang-format on
}

void TestTranslations::samples()
{
    QFETCH(QString, language);
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, text);
    QCOMPARE((language == QLatin1String("zh") ? zh : en).value(Key(context, source)).translation, text);
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
    for (auto it = code.cbegin(); it != code.cend(); ++it) // both catalogues: the same entries, finished
        if (!zh.contains(it.key()))
            missing << it.key().first + QStringLiteral(" / \"") + it.key().second + QLatin1Char('"');
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("run tools/update-translations.sh and translate:\n") +
                        missing.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
