#include "split/ShardMark.h"

#include <QByteArrayList>

#include <cerrno>
#include <cstring>
#include <optional>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray MarkPrefix = "redivev-split shards ";

// The folder a path is in: "a/b//" is in "a", "b" in ".", "/b" in "/".
QByteArray FolderOf(QByteArray Path)
{
    while (Path.size() > 1 && Path.endsWith('/'))
        Path.chop(1);
    const qsizetype Slash = Path.lastIndexOf('/');
    if (Slash < 0)
        return ".";
    Path.truncate(Slash);
    while (Path.size() > 1 && Path.endsWith('/'))
        Path.chop(1);
    return Path.isEmpty() ? QByteArray("/") : Path;
}

// "by hours" or "by blocks" after the count; nothing for shares by
// position modulo the count, as marks were before the others.
QByteArray MarkText(int Count, const QByteArray &By)
{
    return MarkPrefix + QByteArray::number(Count) + (By.isEmpty() ? QByteArray() : " by " + By) + '\n';
}

enum class TMarkState { Missing, Count, Foreign };

struct TRead {
    TMarkState State = TMarkState::Missing;
    int Count = 0;
    QByteArray By;
};

// Never through a link, and nothing but a mark of ours is taken for one.
TRead ReadMark(const QByteArray &Path)
{
    const int Handle = ::open(Path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (Handle < 0)
        return {errno == ENOENT ? TMarkState::Missing : TMarkState::Foreign, 0, {}};
    char Buffer[64];
    const ssize_t Got = ::read(Handle, Buffer, sizeof Buffer);
    ::close(Handle);
    const QByteArray Text(Buffer, Got > 0 ? Got : 0);
    bool Number = false;
    const QByteArrayList Words =
        Text.startsWith(MarkPrefix) && Text.endsWith('\n') ? Text.mid(MarkPrefix.size()).chopped(1).split(' ')
                                                           : QByteArrayList{};
    const int Count = Words.isEmpty() ? 0 : Words[0].toInt(&Number);
    const QByteArray By = Words.size() == 3 ? Words[2] : QByteArray();
    return Number && Count >= 1 && Text == MarkText(Count, By) ? TRead{TMarkState::Count, Count, By}
                                                               : TRead{TMarkState::Foreign, 0, {}};
}

// Whether the folder holds anything but the mark; errno's words when it
// cannot be listed.
std::optional<bool> HoldsMore(const QByteArray &Folder, QByteArray &Error)
{
    DIR *List = ::opendir(Folder.constData());
    if (List == nullptr) {
        Error = Folder + ": " + std::strerror(errno);
        return std::nullopt;
    }
    bool More = false;
    while (const dirent *Entry = ::readdir(List)) {
        const QByteArray Name(Entry->d_name);
        if (Name != "." && Name != ".." && Name != ShardMarkName)
            More = true;
    }
    ::closedir(List);
    return More;
}

QByteArray Refusal(const QByteArray &Folder, const TRead &Marked, int Count, const QByteArray &By, bool Sharded)
{
    const QByteArray Marks = QByteArray::number(Marked.Count);
    const QByteArray Kind = Marked.By.isEmpty() ? QByteArray() : " by " + Marked.By;
    const QByteArray Other = QByteArray::number(Count)
        + (Count != Marked.Count ? QByteArray() : By.isEmpty() ? QByteArray(" by position") : " by " + By);
    return Folder + " holds the manifests of " + Marks + " shards" + Kind + ", "
        + (Sharded ? "not of " + Other : QByteArray("and this run cuts the whole list")) + ": give --shard I/"
        + Marks + (Marked.By.isEmpty() ? QByteArray() : " --shard-by " + Marked.By)
        + " or another folder (or remove its manifests and " + ShardMarkName + " to start over)";
}

} // namespace

QByteArray TShardMark::Claim(const QByteArray &ManifestPath, int Count, const QByteArray &By, bool Sharded,
                             const TFolderWait &Waiting)
{
    const QByteArray Folder = FolderOf(ManifestPath);
    const QByteArray Path = Folder + '/' + ShardMarkName;
    struct stat Info {};
    // A run without --shard neither makes the folder nor marks it.
    if (!Sharded && ::lstat(Path.constData(), &Info) != 0)
        return {};
    try {
        FFolder = std::make_unique<TFolderWriter>(Folder.toStdString());
        FFolder->Lock(Waiting);
        FFolder->RemoveLeftovers();
        const TRead Mark = ReadMark(Path);
        if (Mark.State == TMarkState::Foreign)
            return Path + ": is no shard count that redivev-split wrote; move it away to write manifests here";
        if (Mark.State == TMarkState::Count && Mark.Count == Count && Mark.By == By)
            return {};
        if (Mark.State == TMarkState::Count) {
            QByteArray Error;
            const std::optional<bool> More = HoldsMore(Folder, Error);
            if (!More)
                return Error;
            if (*More)
                return Refusal(Folder, Mark, Count, By, Sharded);
        }
        if (!Sharded) {
            if (::unlink(Path.constData()) != 0 && errno != ENOENT)
                return Path + ": " + std::strerror(errno);
            return {};
        }
        const QByteArray Text = MarkText(Count, By);
        FFolder->WriteWhole(ShardMarkName, [&](int Handle) { WriteAll(Handle, Text.constData(), Text.size()); });
    } catch (const EFileSystemError &Error) {
        return QByteArray::fromStdString(Error.Path) + ": " + QByteArray::fromStdString(Error.Reason);
    }
    return {};
}
