// The real program started where no display can be reached: one line on
// stderr and status 1, never Qt's abort. And started with a display, what
// it sets up for itself before any window.
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

struct TStart {
    const char *Case;
    const char *Display; // DISPLAY given, or nullptr for none
    bool OnlyLine;       // the line is all of stderr (else its last line)
    const char *Wayland = nullptr; // WAYLAND_DISPLAY given
};

// No variable at all, as on a headless machine or over ssh; and a DISPLAY
// left over from a session that is gone.
const TStart Starts[] = {
    {"no display variable", nullptr, true},
    {"empty display variable", "", true},
    {"display that does not answer", ":31999", false},
    {"Wayland socket that does not answer", nullptr, false, "redivev-test-no-such-socket"},
    {"neither answers", ":31999", false, "redivev-test-no-such-socket"},
};

} // namespace

TEST(ProgramStartTest, WithoutADisplayItSaysSoAndEndsWithStatusOne)
{
    for (const TStart &Start : Starts) {
        SCOPED_TRACE(Start.Case);
        QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
        for (const char *Name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            Environment.remove(QString::fromLatin1(Name));
        if (Start.Display != nullptr)
            Environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(Start.Display));
        if (Start.Wayland != nullptr)
            Environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QString::fromLatin1(Start.Wayland));

        QProcess Program;
        Program.setProcessEnvironment(Environment);
        Program.start(QStringLiteral(REDIVEV_PROGRAM), {});
        ASSERT_TRUE(Program.waitForFinished(60000)) << Program.errorString().toStdString();

        const QString Line = QStringLiteral("redivev: no graphical display found (X11 or Wayland is needed)");
        const QString Stderr = QString::fromLocal8Bit(Program.readAllStandardError());
        EXPECT_EQ(Program.exitStatus(), QProcess::NormalExit) << Stderr.toStdString();
        EXPECT_EQ(Program.exitCode(), 1) << Stderr.toStdString();
        if (Start.OnlyLine)
            EXPECT_EQ(Stderr.toStdString(), (Line + "\n").toStdString());
        else
            EXPECT_TRUE(Stderr.endsWith("\n" + Line + "\n")) << Stderr.toStdString();
    }
}

TEST(ProgramStartTest, AFileSizeLimitCannotKillTheWindow)
{
    // With SIGXFSZ at its default, a limit reached while exporting would
    // end the program and lose what the user did; ignored, it is an error.
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    Environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess Program;
    Program.setProcessEnvironment(Environment);
    Program.setChildProcessModifier([] { ::signal(SIGXFSZ, SIG_DFL); });
    Program.start(QStringLiteral(REDIVEV_PROGRAM), {});
    ASSERT_TRUE(Program.waitForStarted(10000));
    const QString Status = QStringLiteral("/proc/%1/status").arg(Program.processId());
    const auto Ignored = [&] {
        QFile File(Status);
        if (!File.open(QIODevice::ReadOnly))
            return false;
        for (const QByteArray &Line : File.readAll().split('\n'))
            if (Line.startsWith("SigIgn:"))
                return (Line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGXFSZ - 1) & 1) != 0;
        return false;
    };
    QElapsedTimer Clock;
    Clock.start();
    bool Seen = false;
    while (!(Seen = Ignored()) && Clock.elapsed() < 10000 && Program.state() == QProcess::Running)
        QThread::msleep(20);
    EXPECT_TRUE(Seen) << Program.readAllStandardError().toStdString();
    Program.kill();
    Program.waitForFinished(10000);
}
