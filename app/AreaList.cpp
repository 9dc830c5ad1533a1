#include "app/AreaList.h"

#include "app/ClockText.h"
#include "app/Unit1.h"

#include <QCoreApplication>

#include <algorithm>

TAreaListModel::TAreaListModel(TForm1 &Form, QObject *Parent) : QAbstractTableModel(Parent), FForm(Form) {}

int TAreaListModel::ListedRows() const
{
    return std::max(0, std::min<int>(FForm.FAreaCount, int(FForm.FAreas.size())));
}

int TAreaListModel::rowCount(const QModelIndex &Parent) const
{
    return Parent.isValid() ? 0 : FRows;
}

int TAreaListModel::columnCount(const QModelIndex &Parent) const
{
    return Parent.isValid() ? 0 : 4;
}

QVariant TAreaListModel::data(const QModelIndex &Index, int Role) const
{
    if (!Index.isValid() || Index.row() >= std::min(rowCount(), ListedRows()))
        return {};
    if (Role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (Role != Qt::DisplayRole)
        return {};
    const TTrimArea &Area = FForm.FAreas[std::size_t(Index.row())];
    const std::int64_t Rate = std::max<std::int64_t>(FForm.Document.RecordingView().Format.nSamplesPerSec, 1);
    switch (Index.column()) {
    case 0: return QStringLiteral("%1").arg(Index.row(), 2, 10, QLatin1Char('0'));
    case 1: return ClockTextMs(Area.StartPos * 1000 / Rate);
    case 2: return ClockTextMs(Area.EndPos * 1000 / Rate);
    default: return ClockTextMs((Area.EndPos - Area.StartPos) * 1000 / Rate);
    }
}

QVariant TAreaListModel::headerData(int Section, Qt::Orientation Orientation, int Role) const
{
    if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(Section, Orientation, Role);
    static const char *const Captions[] = {QT_TRANSLATE_NOOP("Redivev", "No."), QT_TRANSLATE_NOOP("Redivev", "Start"),
                                           QT_TRANSLATE_NOOP("Redivev", "End"), QT_TRANSLATE_NOOP("Redivev", "Length")};
    return Section >= 0 && Section < 4 ? QCoreApplication::translate("Redivev", Captions[Section]) : QVariant();
}

void TAreaListModel::Refresh()
{
    const int Rows = ListedRows();
    if (Rows > FRows) {
        beginInsertRows({}, FRows, Rows - 1);
        FRows = Rows;
        endInsertRows();
    } else if (Rows < FRows) {
        beginRemoveRows({}, Rows, FRows - 1);
        FRows = Rows;
        endRemoveRows();
    }
    if (FRows > 0)
        emit dataChanged(index(0, 0), index(FRows - 1, columnCount() - 1));
}
