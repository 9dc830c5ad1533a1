#include "split/InputList.h"

#include "split/NameBytes.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The whole of what Handle gives; the error number when a read fails.
int ReadAll(int Handle, QByteArray &Text)
{
    char Buffer[65536];
    for (;;) {
        const ssize_t Read = ::read(Handle, Buffer, sizeof Buffer);
        if (Read == 0)
            return 0;
        if (Read < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        Text.append(Buffer, Read);
    }
}

} // namespace

QByteArrayList NamesInList(const QByteArray &Text, bool NulSeparated)
{
    QByteArrayList Names;
    for (const QByteArray &Name : Text.split(NulSeparated ? '\0' : '\n'))
        if (!Name.isEmpty())
            Names << Name;
    return Names;
}

std::optional<QByteArrayList> AllInputs(const QByteArrayList &Arguments, const TBatchOptions &Batch, std::FILE *Err)
{
    if (Batch.FilesFrom.isEmpty())
        return Arguments;
    const bool Standard = Batch.FilesFrom == "-";
    const int Handle = Standard ? STDIN_FILENO : ::open(Batch.FilesFrom.constData(), O_RDONLY | O_CLOEXEC);
    QByteArray Text;
    const int Error = Handle < 0 ? errno : ReadAll(Handle, Text);
    if (Handle >= 0 && !Standard)
        ::close(Handle);
    if (Error != 0) {
        const QByteArray Name = Standard ? QByteArray("standard input") : Batch.FilesFrom;
        std::fprintf(Err, "redivev-split: --files-from %s: %s\n", Printable(Name).constData(), std::strerror(Error));
        return std::nullopt;
    }
    return Arguments + NamesInList(Text, Batch.NulSeparated);
}

std::vector<qsizetype> ShardPositions(qsizetype Count, int ShardIndex, int ShardCount)
{
    std::vector<qsizetype> Positions;
    for (qsizetype I = ShardIndex; I < Count; I += ShardCount)
        Positions.push_back(I);
    return Positions;
}
