#include "picture_set.h"

#include <QDir>

namespace verdalis {

PictureSet::PictureSet(QObject *parent) : QAbstractTableModel(parent)
{
}

bool PictureSet::add(const QVector<SetPicture> &pictures)
{
    if (pictures.size() > room())
        return false;
    if (pictures.isEmpty())
        return true;
    // The empty set's placeholder row becomes the first picture's row.
    const int placeholder = isEmpty() ? 1 : 0;
    if (placeholder)
        m_pictures.append(pictures.constFirst());
    if (pictures.size() > placeholder) {
        beginInsertRows(QModelIndex(), count(), count() + int(pictures.size()) - placeholder - 1);
        m_pictures.append(pictures.mid(placeholder));
        endInsertRows();
    }
    if (placeholder)
        emit dataChanged(index(0, 0), index(0, ColumnCount - 1));
    return true;
}

void PictureSet::rename(int index, const QString &lineName)
{
    if (index < 0 || index >= count())
        return;
    m_pictures[index].lineName = lineName;
    const QModelIndex cell = this->index(index, LineNameColumn);
    emit dataChanged(cell, cell);
}

void PictureSet::removeAt(int index)
{
    if (index < 0 || index >= count())
        return;
    if (count() == 1) {
        clear();
        return;
    }
    beginRemoveRows(QModelIndex(), index, index);
    m_pictures.removeAt(index);
    endRemoveRows();
    // The rows after it move up and take new numbers.
    if (index < count())
        emit dataChanged(this->index(index, NumberColumn), this->index(count() - 1, NumberColumn));
}

void PictureSet::clear()
{
    beginResetModel();
    m_pictures.clear();
    endResetModel();
}

int PictureSet::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : qMax(1, count());
}

int PictureSet::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PictureSet::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= count())
        return QVariant();
    const SetPicture &picture = m_pictures[index.row()];
    switch (index.column()) {
    case NumberColumn:
        return QString::number(index.row() + 1);
    case LineNameColumn:
        return picture.lineName;
    case PathColumn:
        return QDir::toNativeSeparators(picture.path);
    default:
        return QVariant();
    }
}

QVariant PictureSet::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case LineNameColumn:
        return QStringLiteral("Picture name");
    case PathColumn:
        return QStringLiteral("File path");
    default:
        return QString();
    }
}

int PictureSet::columnWidthTwips(int column)
{
    static const int widths[] = {400, 1300, 7000};
    return column >= 0 && column < ColumnCount ? widths[column] : 0;
}

} // namespace verdalis
