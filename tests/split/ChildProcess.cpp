#include "ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <map>
#include <memory>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

TChildRun RunChild(const QByteArray &Program, const QString &Folder, const std::vector<QByteArray> &Arguments,
                   const std::function<void()> &InChild, const std::vector<QByteArray> &Environment)
{
    // Everything exec needs is made before the fork.
    const QByteArray Directory = QFile::encodeName(Folder);
    std::vector<QByteArray> Kept = {Program};
    Kept.insert(Kept.end(), Arguments.begin(), Arguments.end());
    std::vector<char *> Argv;
    for (QByteArray &Argument : Kept)
        Argv.push_back(Argument.data());
    Argv.push_back(nullptr);
    std::vector<QByteArray> Variables = Environment;
    std::vector<char *> Envp;
    for (QByteArray &Variable : Variables)
        Envp.push_back(Variable.data());
    const auto Given = [&](const char *Variable) {
        const QByteArray Whole(Variable);
        const QByteArray Name = Whole.left(Whole.indexOf('=') + 1);
        for (const QByteArray &Own : Environment)
            if (Own.startsWith(Name))
                return true;
        return false;
    };
    for (char **Variable = environ; *Variable != nullptr; ++Variable)
        if (!Given(*Variable))
            Envp.push_back(*Variable);
    Envp.push_back(nullptr);

    int OutPipe[2], ErrPipe[2];
    if (::pipe2(OutPipe, O_CLOEXEC) != 0 || ::pipe2(ErrPipe, O_CLOEXEC) != 0)
        return {};
    const pid_t Child = ::fork();
    if (Child == 0) {
        ::dup2(OutPipe[1], 1);
        ::dup2(ErrPipe[1], 2);
        if (::chdir(Directory.constData()) != 0)
            ::_exit(126);
        if (InChild)
            InChild();
        ::execve(Argv[0], Argv.data(), Envp.data());
        ::_exit(127);
    }
    ::close(OutPipe[1]);
    ::close(ErrPipe[1]);

    TChildRun Run;
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    pollfd Streams[2] = {{OutPipe[0], POLLIN, 0}, {ErrPipe[0], POLLIN, 0}};
    QByteArray *Into[2] = {&Run.Out, &Run.Err};
    int Open = 2;
    while (Open > 0 && std::chrono::steady_clock::now() < Deadline) {
        if (::poll(Streams, 2, 100) < 0)
            continue;
        for (int I = 0; I < 2; ++I) {
            if (Streams[I].fd < 0 || Streams[I].revents == 0)
                continue;
            char Buffer[4096];
            const ssize_t Got = ::read(Streams[I].fd, Buffer, sizeof Buffer);
            if (Got < 0 && errno == EINTR)
                continue;
            if (Got > 0) {
                Into[I]->append(Buffer, Got);
            } else {
                ::close(Streams[I].fd);
                Streams[I].fd = -1;
                --Open;
            }
        }
    }
    if (Open > 0)
        ::kill(Child, SIGKILL);
    for (const pollfd &Stream : Streams)
        if (Stream.fd >= 0)
            ::close(Stream.fd);
    int Status = 0;
    struct rusage Usage {};
    ::wait4(Child, &Status, 0, &Usage);
    Run.PeakResidentKiB = Usage.ru_maxrss;
    Run.Status = WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + WTERMSIG(Status);
    return Run;
}

namespace {

// A copy of From in Folder, that everyone may read (and run, when Mode
// says so); an error message or empty.
QString CopyFor(const QString &From, const QString &Folder, QFile::Permissions Mode, QString &Copy)
{
    Copy = QDir(Folder).filePath(QFileInfo(From).fileName());
    QFile Source(From);
    if (!Source.copy(Copy))
        return From + ": " + Source.errorString();
    if (!QFile::setPermissions(Copy, Mode))
        return Copy + ": cannot set its permissions";
    return {};
}

TProgramForNobody CopiedForNobody(const QByteArray &Program)
{
    static std::unique_ptr<QTemporaryDir> Folder;
    if (!Folder) {
        // Not TMPDIR, which may be as private as the build.
        Folder = std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/redivev-for-nobody-XXXXXX"));
        if (!Folder->isValid() || ::chmod(QFile::encodeName(Folder->path()).constData(), 0755) != 0)
            return {{}, {}, QStringLiteral("no folder for nobody under /tmp: ") + Folder->errorString()};
    }
    const auto Everyone = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const auto Runnable = Everyone | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    TProgramForNobody For;
    QString Copy;
    For.Error = CopyFor(QFile::decodeName(Program), Folder->path(), Runnable, Copy);
    if (!For.Error.isEmpty())
        return For;
    For.Program = QFile::encodeName(Copy);
    // A sanitized build's leak checker reads its suppressions as nobody.
    QByteArrayList Options = qgetenv("LSAN_OPTIONS").split(':');
    for (QByteArray &Option : Options) {
        if (!Option.startsWith("suppressions="))
            continue;
        const QString Subfolder = QDir(Folder->path()).filePath(QStringLiteral("lsan"));
        QDir().mkpath(Subfolder);
        For.Error = CopyFor(QFile::decodeName(Option.mid(13)), Subfolder, Everyone, Copy);
        if (!For.Error.isEmpty())
            return {{}, {}, For.Error};
        Option = "suppressions=" + QFile::encodeName(Copy);
        For.Environment.push_back("LSAN_OPTIONS=" + Options.join(':'));
    }
    return For;
}

} // namespace

const TProgramForNobody &ProgramForNobody(const QByteArray &Program)
{
    static std::map<QByteArray, TProgramForNobody> Made;
    auto Found = Made.find(Program);
    if (Found == Made.end())
        Found = Made.emplace(Program, ::geteuid() == 0 ? CopiedForNobody(Program) : TProgramForNobody{Program, {}, {}})
                    .first;
    return Found->second;
}
