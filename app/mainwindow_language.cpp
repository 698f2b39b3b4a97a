// The interface language, the about box and screenshots.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/version.h"

#include <QApplication>
#include <QEvent>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

void MainWindow::on_actionEnglish_triggered()
{
    setLanguage(0);
}

void MainWindow::on_actionChinese_triggered()
{
    setLanguage(1);
}

void MainWindow::setLanguage(int language)
{
    if (language == currentLanguage) {
        qDebug(" set the same language %d ", currentLanguage);
        return;
    }
    qDebug(" set language %d ", language);

    if (!translator)
        translator = new QTranslator(this);
    else
        QCoreApplication::removeTranslator(translator);

    if (language == 0) {
        if (translator->load(QStringLiteral(":/language/tavrin_en_US")))
            QCoreApplication::installTranslator(translator);
        setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    } else if (language == 1) {
        if (translator->load(QStringLiteral(":/language/tavrin_zh_TW")))
            QCoreApplication::installTranslator(translator);
        setLocale(QLocale(QLocale::Chinese, QLocale::Taiwan));
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
    ui->retranslateUi(this);
    setConnectionState(serialPort.isOpen());
    retranslateCharts();
    setWindowTitle(windowTitle() + QStringLiteral(" V") + version::text());
}

void MainWindow::on_actionversion_triggered()
{
    QMessageBox::about(this, tr("about"), tr("Version:") + version::text());
}

void MainWindow::on_actionsnapshot_triggered() {}
