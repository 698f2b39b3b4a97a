// The interface language, the about box and screenshots.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/platform/version.h"
#include "core/vdr/viewertext.h"
#include "gui/app/tablecaptions.h"
#include "gui/charts/speedplot.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTranslator>

namespace {
struct Catalogue
{
    const char *language;
    QLocale locale;
};

// Screenshots are numbered from 0 in every run; a new run overwrites the files of an
// earlier one.
int snapshotCounter = 0;
} // namespace

void MainWindow::on_actionEnglish_triggered()
{
    setLanguage(Language::English);
}

void MainWindow::on_actionChinese_triggered()
{
    setLanguage(Language::Chinese);
}

// English and Chinese install their catalogue; any other language removes it, so the source
// texts show. Removing and installing the translator posts a language-change event to every
// window; changeEvent() then applies the texts again.
void MainWindow::setLanguage(Language language)
{
    if (language == currentLanguage) {
        qDebug(" set the same language %d ", int(currentLanguage));
        return;
    }
    qDebug(" set language %d ", int(language));

    if (!translator)
        translator = new QTranslator(this);
    else
        QCoreApplication::removeTranslator(translator);

    const Catalogue catalogues[] = {
        {"en_US", QLocale(QLocale::English, QLocale::UnitedStates)},
        {"zh_TW", QLocale(QLocale::Chinese, QLocale::Taiwan)},
    };
    // Qt's own texts (standard buttons, file dialogs) in the same language, from the
    // catalogues of the Qt installation; without them they stay English.
    if (!qtTranslator)
        qtTranslator = new QTranslator(this);
    else
        QCoreApplication::removeTranslator(qtTranslator);

    if (language == Language::English || language == Language::Chinese) {
        const Catalogue &catalogue = catalogues[int(language)];
        // A catalogue that does not load is not installed: the source texts show.
        if (vdr::loadViewerCatalogue(translator, QString::fromLatin1(catalogue.language)))
            QCoreApplication::installTranslator(translator);
        if (qtTranslator->load(catalogue.locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                               qtcompat::qtTranslationsPath()))
            QCoreApplication::installTranslator(qtTranslator);
        setLocale(catalogue.locale);
    }
    currentLanguage = language;
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && ui)
        retranslateTexts();
    QMainWindow::changeEvent(event);
}

void MainWindow::retranslateTexts()
{
    // The form's texts, the window title among them (which drops the version suffix).
    ui->retranslateUi(this);
    // A tab title is shown with '&' as a mnemonic mark; "Fault & Event" must show its '&'.
    for (int i = 0; i < ui->tabWidget->count(); ++i) {
        QString title = ui->tabWidget->tabText(i);
        if (title.contains(QLatin1Char('&')) && !title.contains(QLatin1String("&&")))
            ui->tabWidget->setTabText(i, title.replace(QLatin1Char('&'), QLatin1String("&&")));
    }
    // The connect button's text depends on the port's state.
    setConnectionState(serialPort.isOpen());
    retranslateDesktopTexts();
    const QList<QTableWidget *> tables = findChildren<QTableWidget *>();
    for (QTableWidget *table : tables)
        retranslateTableCaptions(table);
    retranslateCharts();
    refillDayPages();
    // The title the form set, with the version and the day on display.
    updateWindowTitle();
}

void MainWindow::refillDayPages()
{
    // The pages whose cells hold translated texts; the other pages show only texts of the file
    // and numbers, and their captions follow with the table captions above.
    if (day.blocks.isEmpty())
        return;
    fillEventPage();
    fillTechnologyPage();
    fillDriverTableTexts();
    // the cursor's panel names the driver's activity in the new language too
    if (speedPlot && speedPlot->cursor().instant.isValid())
        updateSpeedCursor(speedPlot->cursor().instant);
}

void MainWindow::on_actionversion_triggered()
{
    QMessageBox::about(this, tr("about"), tr("Version:") + version::text());
}

void MainWindow::on_actionsnapshot_triggered()
{
    const QString dir =
        QStandardPaths::writableLocation(QStandardPaths::DesktopLocation) + QStringLiteral("/snapshot/");
    // With every missing folder of the path: a new account may have no desktop folder yet.
    // A failure shows up as a failed save.
    QDir().mkpath(dir);

    QWidget *window = QApplication::activeWindow();
    if (!window)
        return;
    const QPixmap image = window->grab();

    const QString path = dir + QStringLiteral("screenshot%1.png").arg(snapshotCounter);
    // Written beside the target and renamed over it, so a failed save never leaves a
    // truncated picture in place of an earlier one.
    QSaveFile file(path);
    const bool saved = file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
    ++snapshotCounter;

    if (saved)
        showMessage(tr("Save on ") + path);
    else
        showMessage(tr("The screenshot could not be saved on %1").arg(path));
}
