// "Yes" to opening the export folder starts xdg-open; the user is told when
// there is none or it fails. Real launchers, put first on the PATH.
#include "WindowTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

using namespace apptest;

namespace {

class FolderBrowserTest : public FormTest {
protected:
    // A folder holding only an xdg-open of the given body, or nothing.
    QString Launchers(const std::string &Body)
    {
        const QString Folder = Dir.filePath(QStringLiteral("bin%1").arg(++FolderCount));
        QDir().mkpath(Folder);
        if (!Body.empty()) {
            const QString Launcher = Folder + QStringLiteral("/xdg-open");
            WriteFile("launcher", wavtest::Bytes(Body.begin(), Body.end()));
            QFile::rename(Dir.filePath(QStringLiteral("launcher")), Launcher);
            QFile::setPermissions(Launcher, QFile::ReadOwner | QFile::ExeOwner);
        }
        return Folder;
    }

    // Asks for the folder with only Path to search, and waits until the
    // launcher has ended and is gone.
    void OpenWith(const QString &Path)
    {
        {
            const TScopedEnv Search("PATH", QFile::encodeName(Path));
            Form->OpenFolder(Shown);
        }
        QElapsedTimer Clock;
        Clock.start();
        while (!qApp->findChildren<QProcess *>().isEmpty() && Clock.elapsed() < 20000) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        EXPECT_TRUE(qApp->findChildren<QProcess *>().isEmpty()) << "the launcher is still there";
    }

    int FolderCount = 0;
    const QString Shown = QStringLiteral("/some where/MakedFile");
};

} // namespace

TEST_F(FolderBrowserTest, NoLauncherOrAFailingOneIsToldAndAWorkingOneIsNot)
{
    const QString Failure = QStringLiteral("フォルダを開けませんでした\n/some where/MakedFile");

    OpenWith(Launchers(""));
    EXPECT_EQ(Messages, QStringList{Failure});

    Messages.clear();
    // What xdg-open answers where no program opens folders.
    OpenWith(Launchers("#!/bin/sh\nexit 3\n"));
    EXPECT_EQ(Messages, QStringList{Failure});

    Messages.clear();
    const QString Asked = Dir.filePath(QStringLiteral("asked"));
    OpenWith(Launchers("#!/bin/sh\nprintf '%s' \"$1\" >'" + Asked.toStdString() + "'\n"));
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join('\n').toStdString();
    const QByteArray Folder = Shown.toUtf8();
    EXPECT_EQ(wavtest::ReadFileBytes(Asked.toStdString()), wavtest::Bytes(Folder.begin(), Folder.end()));
}
