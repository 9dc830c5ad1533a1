#pragma once
// --errors-out: the recordings that failed, one JSON line each, written as
// they fail, so that a run killed midway still names those before it.
#include "platform/FileIdentity.h"

#include <QByteArray>

#include <mutex>
#include <vector>

class TErrorReport {
public:
    TErrorReport() = default;
    ~TErrorReport();
    TErrorReport(const TErrorReport &) = delete;
    TErrorReport &operator=(const TErrorReport &) = delete;

    // Creates or empties Path; no path, no report. An error message naming
    // the path, or empty.
    QByteArray Open(const QByteArray &Path, const std::vector<TFileIdentity> &Inputs);
    // From any worker. The first write error stops the report and is kept.
    void Add(const QByteArray &File, const QByteArray &Message);
    QByteArray Error() const { return FError; }

private:
    std::mutex FLock;
    int FHandle = -1;
    QByteArray FPath;
    QByteArray FError;
};
