#include "app/Application.h"

#include "app/EngineMessages.h"

#include <QIcon>
#include <QMessageBox>

#include <exception>

TApplication::TApplication(int &Argc, char **Argv) : QApplication(Argc, Argv)
{
    setApplicationName(QStringLiteral("Redivev"));
    // Lets the desktop match the windows to the menu entry and its icon.
    setDesktopFileName(QStringLiteral("redivev"));
    // Found once installed; a copy run from its folder keeps Qt's default.
    setWindowIcon(QIcon::fromTheme(QStringLiteral("redivev")));
}

bool TApplication::notify(QObject *Receiver, QEvent *Event)
{
    try {
        return QApplication::notify(Receiver, Event);
    } catch (const std::exception &Error) {
        ShowErrorMessage(EngineMessage(Error.what()));
    } catch (...) {
        ShowErrorMessage(QCoreApplication::translate("Redivev", "Unknown error"));
    }
    return true;
}

void ShowErrorMessage(const QString &Text)
{
    QMessageBox Box(QMessageBox::Critical, QApplication::applicationName(), Text, QMessageBox::Ok);
    Box.exec();
}
