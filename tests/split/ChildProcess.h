#pragma once
// A program run as a child with arguments given as bytes (QProcess passes
// text, and a name that is not UTF-8 could not be given), with a hook that
// runs in the child before exec: limits, another user, other standard
// streams.
#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

struct TChildRun {
    int Status = -1; // the exit status, or 128 + the signal that ended it
    QByteArray Out;
    QByteArray Err;
    long PeakResidentKiB = 0; // the child's resident-set high-water mark
};

// Runs Program in Folder with Arguments after its name and the test's own
// environment plus Environment ("NAME=value" each). InChild may only make
// system calls: it runs between fork and exec. Killed after 60 s.
TChildRun RunChild(const QByteArray &Program, const QString &Folder, const std::vector<QByteArray> &Arguments,
                   const std::function<void()> &InChild = {}, const std::vector<QByteArray> &Environment = {});

// A program that the user nobody (65534), whom tests run as when root so
// that permission bits and limits count, can run. Root's build may lie in
// a folder nobody cannot enter (/root, a mktemp -d folder): for root the
// program is copied once into a folder of its own under /tmp that everyone
// may enter, removed when the tests end, with the leak checker's
// suppressions file that LSAN_OPTIONS names, and Environment names that
// copy. For anyone else, the program as it is.
struct TProgramForNobody {
    QByteArray Program; // empty when no copy could be made
    std::vector<QByteArray> Environment;
    QString Error; // why no copy could be made
};
const TProgramForNobody &ProgramForNobody(const QByteArray &Program);
