#pragma once
// The trim areas as a table beside the view: number (as in the piece's file
// name), start, end and length, as h:mm:ss.mmm.
#include <QAbstractTableModel>

class TForm1;

class TAreaListModel : public QAbstractTableModel {
public:
    TAreaListModel(TForm1 &Form, QObject *Parent);

    int rowCount(const QModelIndex &Parent = {}) const override;
    int columnCount(const QModelIndex &Parent = {}) const override;
    QVariant data(const QModelIndex &Index, int Role) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override;

    // The list changed: the table reads it afresh. Rows come and go at the
    // end and the others are redrawn, without a reset, so the view keeps
    // its selection and current row and a click in progress (the first of
    // a double click) still counts.
    void Refresh();

private:
    int ListedRows() const;

    TForm1 &FForm;
    int FRows = 0; // the rows the view was told of

};
