#include "app/FolderBrowser.h"

#include <QCoreApplication>
#include <QProcess>

// xdg-open rather than QDesktopServices: Qt reports only whether a launcher
// could be started, never that it then failed, and a failure the user is
// not told of looks like a program that ignored the click.
void OpenFolderInBrowser(const QString &Folder, QObject *Context, std::function<void(const QString &Text)> Report)
{
    const QString Text = QCoreApplication::translate("Redivev", "フォルダを開けませんでした\n") + Folder;
    // Without a desktop of its own xdg-open runs the file browser in the
    // foreground, so it may outlive the window that asked; ending the
    // program stops the launcher only, and the browser stays open.
    auto *Launcher = new QProcess(QCoreApplication::instance());
    Launcher->setProcessChannelMode(QProcess::ForwardedChannels);
    const auto Failed = [Report, Text] { Report(Text); };
    QObject::connect(Launcher, &QProcess::errorOccurred, Context, [Failed](QProcess::ProcessError Error) {
        if (Error == QProcess::FailedToStart)
            Failed();
    });
    QObject::connect(Launcher, &QProcess::finished, Context, [Failed](int ExitCode, QProcess::ExitStatus Status) {
        if (Status != QProcess::NormalExit || ExitCode != 0)
            Failed();
    });
    QObject::connect(Launcher, &QProcess::errorOccurred, Launcher, [Launcher](QProcess::ProcessError Error) {
        if (Error == QProcess::FailedToStart)
            Launcher->deleteLater();
    });
    QObject::connect(Launcher, &QProcess::finished, Launcher, &QObject::deleteLater);
    Launcher->start(QStringLiteral("xdg-open"), {Folder});
}
