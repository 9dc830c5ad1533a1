#include "split/InputList.h"

#include "split/NameBytes.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qsizetype LongestName = 4095; // PATH_MAX without its NUL
constexpr qsizetype MostNames = qsizetype(1) << 24;
constexpr qint64 Largest = qint64(1) << 30;

// The names Handle gives into Names, a read at a time; the reason when a
// read fails or the list is no list a run could take.
QByteArray ReadNames(int Handle, char Separator, QByteArrayList &Names)
{
    const char *const Entry = Separator == '\0' ? "name" : "line";
    char Buffer[65536];
    QByteArray Name;
    qint64 Number = 1, Total = 0;
    for (;;) {
        const ssize_t Read = ::read(Handle, Buffer, sizeof Buffer);
        if (Read < 0 && errno == EINTR)
            continue;
        if (Read < 0)
            return std::strerror(errno);
        if (Read == 0)
            break;
        Total += Read;
        if (Total > Largest)
            return "it goes on past 1 GiB, further than any list of recordings";
        const char *At = Buffer;
        const char *const End = Buffer + Read;
        while (At < End) {
            // Empty entries are passed over a byte at a time: /dev/zero
            // read with -0 is nothing but them.
            if (Name.isEmpty() && *At == Separator) {
                ++At;
                ++Number;
                continue;
            }
            const auto *Stop = static_cast<const char *>(std::memchr(At, Separator, std::size_t(End - At)));
            Name.append(At, (Stop ? Stop : End) - At);
            if (Name.size() > LongestName)
                return QByteArray(Entry) + ' ' + QByteArray::number(Number) + " is longer than any path ("
                    + QByteArray::number(LongestName) + " bytes)";
            if (!Stop)
                break;
            if (!Name.isEmpty())
                Names << Name;
            if (Names.size() > MostNames)
                return "it names more than " + QByteArray::number(MostNames) + " recordings, more than a run takes";
            Name.clear();
            ++Number;
            At = Stop + 1;
        }
    }
    if (!Name.isEmpty())
        Names << Name;
    return {};
}

} // namespace

std::optional<QByteArrayList> AllInputs(const QByteArrayList &Arguments, const TBatchOptions &Batch, std::FILE *Err)
{
    if (Batch.FilesFrom.isEmpty())
        return Arguments;
    const bool Standard = Batch.FilesFrom == "-";
    const int Handle = Standard ? STDIN_FILENO : ::open(Batch.FilesFrom.constData(), O_RDONLY | O_CLOEXEC);
    QByteArrayList Names;
    const QByteArray Problem = Handle < 0 ? QByteArray(std::strerror(errno))
                                          : ReadNames(Handle, Batch.NulSeparated ? '\0' : '\n', Names);
    if (Handle >= 0 && !Standard)
        ::close(Handle);
    if (!Problem.isEmpty()) {
        const QByteArray Name = Standard ? QByteArray("standard input") : Batch.FilesFrom;
        std::fprintf(Err, "redivev-split: --files-from %s: %s\n", Printable(Name).constData(), Problem.constData());
        return std::nullopt;
    }
    return Arguments + Names;
}

std::vector<qsizetype> ShardPositions(qsizetype Count, int ShardIndex, int ShardCount)
{
    std::vector<qsizetype> Positions;
    for (qsizetype I = ShardIndex; I < Count; I += ShardCount)
        Positions.push_back(I);
    return Positions;
}
