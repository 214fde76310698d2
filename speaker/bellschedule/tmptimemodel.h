#pragma once
// The columns of the temporary edit over its working copy of a timetable's entries: "No"
// (the row's position), "主题", "播放时间", "结束时间", "歌曲或列表", the seven weekdays,
// "播放方式", "循环", "播放环境", "音量". Ticks are check boxes; "No", the file and the play model
// are read-only, the last two shaded pale green.

#include <QAbstractTableModel>

namespace core {
class Dataset;
}

namespace bellschedule {

class TmpTimeModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        ColNo = 0,
        ColName,
        ColStart,
        ColEnd,
        ColFile,
        ColMonday,
        ColSunday = ColMonday + 6,
        ColModel,
        ColLoop,
        ColWeather,
        ColVolume,
        ColumnCount
    };

    explicit TmpTimeModel(core::Dataset& copy, QObject* parent = nullptr);

    // The dataset field of a column; empty for "No".
    static QString fieldOf(int column);
    static bool isTick(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void reset();

    core::Dataset& copy_;
};

}  // namespace bellschedule
