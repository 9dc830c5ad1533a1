#include "Application.h"

#include <QMessageBox>

#include <exception>

TApplication::TApplication(int &Argc, char **Argv) : QApplication(Argc, Argv)
{
    setApplicationName(QStringLiteral("Redivev"));
}

bool TApplication::notify(QObject *Receiver, QEvent *Event)
{
    try {
        return QApplication::notify(Receiver, Event);
    } catch (const std::exception &Error) {
        ShowErrorMessage(QString::fromUtf8(Error.what()));
    } catch (...) {
        ShowErrorMessage(QStringLiteral("Unknown error"));
    }
    return true;
}

void ShowErrorMessage(const QString &Text)
{
    QMessageBox Box(QMessageBox::Critical, QApplication::applicationName(), Text, QMessageBox::Ok);
    Box.exec();
}
