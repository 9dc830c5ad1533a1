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
};

// Runs Program in Folder with Arguments after its name and the test's own
// environment plus Environment ("NAME=value" each). InChild may only make
// system calls: it runs between fork and exec. Killed after 60 s.
TChildRun RunChild(const QByteArray &Program, const QString &Folder, const std::vector<QByteArray> &Arguments,
                   const std::function<void()> &InChild = {}, const std::vector<QByteArray> &Environment = {});
