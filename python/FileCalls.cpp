#include "python/FileCalls.h"

#include "split/CutInput.h"
#include "split/OutputPlaces.h"

TFileResult CutFile(const QByteArray &File, const TSplitOptions &Options)
{
    TFileResult Result;
    if (!Options.List) {
        const TOutputPlace Place = OutputPlaces({File}, Options).front();
        Result.Folder = Place.Folder;
        Result.Outcome.Error = Place.Error;
        if (!Place.Error.isEmpty())
            return Result;
    }
    Result.Outcome = CutInput(File, {Result.Folder, {}, {}}, Options, [](double) {});
    return Result;
}
