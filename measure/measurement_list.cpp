#include "measurement_list.h"

#include "number_text.h"

#include <cmath>

namespace verdalis {

MeasurementList::MeasurementList(QObject *parent) : QAbstractTableModel(parent)
{
}

int MeasurementList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int MeasurementList::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant MeasurementList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_rows[index.row()][index.column()];
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QString MeasurementList::cell(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= kColumnCount)
        return {};
    return m_rows[row][column];
}

void MeasurementList::setCell(int row, int column, const QString &text)
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= kColumnCount)
        return;
    if (m_rows[row][column] == text)
        return;
    m_rows[row][column] = text;
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

int MeasurementList::appendPendingRow()
{
    const int row = int(m_rows.size());
    beginInsertRows(QModelIndex(), row, row);
    m_rows.append(Row());
    endInsertRows();
    m_pendingRow = row;
    return row;
}

void MeasurementList::finishPendingRow()
{
    m_pendingRow = -1;
}

void MeasurementList::removeRowAt(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.removeAt(row);
    endRemoveRows();
    if (row == m_pendingRow)
        m_pendingRow = -1;
    else if (row < m_pendingRow)
        --m_pendingRow;
    if (m_currentRow > row) {
        setCurrentRow(m_currentRow - 1);
    } else if (m_currentRow == row) {
        // The row that slid into the removed one's place becomes current.
        m_currentRow = qMin(row, int(m_rows.size()) - 1);
        emit currentRowChanged(m_currentRow);
    }
}

void MeasurementList::clearRows()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
    m_pendingRow = -1;
    setCurrentRow(-1);
}

void MeasurementList::setCurrentRow(int row)
{
    if (row < -1 || row >= m_rows.size() || row == m_currentRow)
        return;
    m_currentRow = row;
    emit currentRowChanged(row);
}

void MeasurementList::recomputeMeasurementStatistics()
{
    MeasurementStatistics statistics{m_statistics.mean, QString(), QString()};
    QVector<double> values;
    for (int row = 0; row < m_rows.size(); ++row) {
        if (!isMeasurement(row))
            continue;
        // The shown text, so each value carries its rounding to "0.00".
        if (const auto value = readNumber(m_rows[row][DistanceColumn]))
            values.append(*value);
    }
    if (!values.isEmpty()) {
        const double n = values.size();
        double sum = 0;
        for (double x : values)
            sum += x;
        const double mean = sum / n;
        statistics.mean = fixedText(mean, 2);
        if (values.size() > 1) {
            double squares = 0;
            for (double x : values)
                squares += (x - mean) * (x - mean);
            const double sd = std::sqrt(squares / (n - 1));
            statistics.sd = fixedText(sd, 3);
            statistics.se = fixedText(sd / std::sqrt(n), 3);
        }
    }
    setStatistics(statistics);
}

void MeasurementList::clearStatistics()
{
    setStatistics({});
}

void MeasurementList::setStatistics(const MeasurementStatistics &statistics)
{
    if (statistics.mean == m_statistics.mean && statistics.sd == m_statistics.sd &&
        statistics.se == m_statistics.se)
        return;
    m_statistics = statistics;
    emit statisticsChanged();
}

} // namespace verdalis
