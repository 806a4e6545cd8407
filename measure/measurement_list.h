#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QVector>

#include <array>

namespace verdalis {

// Columns of the measurement list. 0..3 hold the end points in picture units
// (integer text); 4 the length in display millimetres at full precision; 5 the
// length in the calibrated unit, "0.00". Only column 5 is shown to the user.
enum MeasurementColumn {
    StartXColumn = 0,
    StartYColumn = 1,
    EndXColumn = 2,
    EndYColumn = 3,
    BaseDistanceColumn = 4,
    DistanceColumn = 5,
};

// Texts of the statistics boxes: mean "0.00", standard deviation and standard
// error "0.000". Empty when not computed.
struct MeasurementStatistics {
    QString mean;
    QString sd;
    QString se;
};

// The measured distances: one row per measurement, kept as the texts the user
// sees, so every figure read back carries the rounding of its text. Rows are
// numbered from 0. A measurement under way (first click done) has its row at the
// end of the list; that pending row follows the mouse and is not a measurement
// yet: the statistics and the calibration passes leave it out.
class MeasurementList : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 6;

    explicit MeasurementList(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString &text);

    // Appends an empty row for a measurement under way and returns its number.
    int appendPendingRow();
    // The pending row becomes a finished measurement.
    void finishPendingRow();
    // Number of the pending row, -1 when no measurement is under way.
    int pendingRow() const { return m_pendingRow; }
    bool isMeasurement(int row) const
    {
        return row >= 0 && row < m_rows.size() && row != m_pendingRow;
    }

    // Removes one row; the current row stays on the same number, or the last row.
    void removeRowAt(int row);
    void clearRows();

    // The row the user last selected (or the newest measurement), -1 for none.
    int currentRow() const { return m_currentRow; }
    void setCurrentRow(int row);

    const MeasurementStatistics &statistics() const { return m_statistics; }
    // Mean, SD (sample, n - 1) and SE of column 5 of every measurement, read as
    // numbers. With no measurement the mean is left as it was; with one, SD and SE
    // stay empty.
    void recomputeMeasurementStatistics();
    void clearStatistics();

signals:
    void currentRowChanged(int row);
    void statisticsChanged();

private:
    using Row = std::array<QString, kColumnCount>;
    void setStatistics(const MeasurementStatistics &statistics);

    QVector<Row> m_rows;
    int m_pendingRow = -1;
    int m_currentRow = -1;
    MeasurementStatistics m_statistics;
};

} // namespace verdalis
