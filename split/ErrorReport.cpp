#include "split/ErrorReport.h"

#include "split/AreaListing.h"
#include "split/RunOutputFile.h"

#include <unistd.h>

TErrorReport::~TErrorReport()
{
    if (FHandle >= 0)
        ::close(FHandle);
}

QByteArray TErrorReport::Open(const QByteArray &Path, const std::vector<TFileIdentity> &Inputs)
{
    if (Path.isEmpty())
        return {};
    FPath = Path;
    if (QByteArray Error = MakeParentFolders(Path); !Error.isEmpty())
        return Error;
    return CreateRunOutput(Path, Inputs, FHandle, "the error report");
}

void TErrorReport::Add(const QByteArray &File, const QByteArray &Message)
{
    const std::lock_guard<std::mutex> Hold(FLock);
    if (FHandle < 0 || !FError.isEmpty())
        return;
    FError = AppendToRunOutput(FHandle, FPath,
                               "{\"file\": " + JsonString(File) + ", \"message\": " + JsonString(Message) + "}\n");
}
