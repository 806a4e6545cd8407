#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QVector>

namespace verdalis {

// One picture of a set: the user's label for it (its row's name in the results
// table; names may repeat) and the full path of its file.
struct SetPicture {
    QString lineName;
    QString path;
    bool operator==(const SetPicture &o) const { return lineName == o.lineName && path == o.path; }
};

// The picture-set table: the pictures in the order they were added, each body
// row numbered 1..n in the fixed first column. The table always shows at least
// one body row: an empty set is a single row of empty cells, which the next
// picture added fills instead of appending after it.
class PictureSet : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NumberColumn, LineNameColumn, PathColumn, ColumnCount };

    // Row numbers were 16-bit, and counting had to step one past the last row.
    static constexpr int MaxPictures = 32766;

    explicit PictureSet(QObject *parent = nullptr);

    int count() const { return int(m_pictures.size()); }
    bool isEmpty() const { return m_pictures.isEmpty(); }
    const QVector<SetPicture> &pictures() const { return m_pictures; }
    // How many more pictures the set takes.
    int room() const { return MaxPictures - count(); }

    // Appends the pictures in order. Refused as a whole, the set unchanged,
    // when they do not all fit.
    bool add(const QVector<SetPicture> &pictures);
    bool add(const SetPicture &picture) { return add(QVector<SetPicture>{picture}); }
    void rename(int index, const QString &lineName);
    void removeAt(int index);
    void clear();

    // The table as a view shows it: model row r is body row r + 1.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Column widths and the height of every body row, twips.
    static int columnWidthTwips(int column);
    static constexpr int RowHeightTwips = 240;

private:
    QVector<SetPicture> m_pictures;
};

} // namespace verdalis
