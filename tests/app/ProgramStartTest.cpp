// The real program started where no display can be reached: one line on
// stderr and status 1, never Qt's abort.
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

struct TStart {
    const char *Case;
    const char *Display; // DISPLAY given, or nullptr for none
    bool OnlyLine;       // the line is all of stderr (else its last line)
};

// No variable at all, as on a headless machine or over ssh; and a DISPLAY
// left over from a session that is gone.
const TStart Starts[] = {
    {"no display variable", nullptr, true},
    {"display that does not answer", ":31999", false},
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
