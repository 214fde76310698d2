#pragma once
// Where the music list lives: table filelist (id, filename, filepath), always read ordered by
// file name. The program keeps it in the database; tests may keep it in memory.

#include <QString>

#include <memory>
#include <vector>

namespace core {
class Dataset;
}
namespace platform {
class Database;
}

namespace bells {

struct MusicListRow {
    qint64 id = 0;
    QString filename;
    QString filepath;
};

class MusicListStore {
public:
    virtual ~MusicListStore() = default;
    // "select * from filelist order by filename", read afresh.
    virtual std::vector<MusicListRow> rows() = 0;
    virtual bool append(const QString& filename, const QString& filepath) = 0;
    virtual bool remove(qint64 id) = 0;
    virtual bool removeAll() = 0;
};

// The music list of the data module: reads and appends through its dataset Q_filelist and
// deletes through the connection.
std::unique_ptr<MusicListStore> makeDatasetMusicList(core::Dataset& filelist,
                                                     platform::Database& connection);

}  // namespace bells
