#pragma once
// SGrid2: today's copy of the active timetable, one row per entry with its played mark. The
// header row of the grid is the model's header; grid row r (1-based, as the scheduler counts
// them) is model row r - 1. Cells are the state the scheduler reads and writes.

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <vector>

namespace core {
class Dataset;
}

namespace bellschedule {

class BellGrid : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        ColMark = 0,
        ColStart = 1,
        ColEnd = 2,
        ColName = 3,
        ColFile = 4,
        ColMonday = 5,  // to ColSunday = 11
        ColSunday = 11,
        ColModel = 12,
        ColLoop = 13,
        ColWeather = 14,
        ColId = 15,
        ColSpare = 16,  // hidden, never filled
        ColVolume = 17,
        ColumnCount = 18
    };
    using Cells = std::array<QString, ColumnCount>;

    static const QString kTick;   // "√"
    static const QString kCross;  // "×"

    using QAbstractTableModel::QAbstractTableModel;

    // Entry rows (the grid without its header row).
    int entryRows() const { return int(rows_.size()); }
    // A cell of grid row `row` (1 .. entryRows()); empty outside.
    const QString& cell(int row, int col) const;
    void setCell(int row, int col, const QString& text);
    // Keeps rows 1 .. n (new rows are empty); 0 leaves the header row only.
    void setEntryRows(int n);
    void setRow(int row, const Cells& cells);
    void clear() { setEntryRows(0); }

    // The cells of the current row of a dataset of table sch_det, with the mark cleared.
    static Cells cellsOf(const core::Dataset& entries, int datasetRow);
    // Widths of the columns as the grid shows them (0: hidden).
    static int columnWidth(int col);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<Cells> rows_;
};

}  // namespace bellschedule
