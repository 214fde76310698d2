// The music list kept in table filelist of the program's database.
#include "platform/store/database.h"
#include "platform/store/statement.h"
#include "speaker/bells/musicliststore.h"
#include "speaker/core/dataset.h"

namespace bells {
namespace {

class DatasetMusicList final : public MusicListStore {
public:
    DatasetMusicList(core::Dataset& filelist, platform::Database& db) : ds_(filelist), db_(db) {}

    std::vector<MusicListRow> rows() override {
        if (ds_.isOpen() ? !ds_.requery() : !ds_.open()) return {};
        const int id = ds_.fieldIndex(QStringLiteral("id"));
        const int name = ds_.fieldIndex(QStringLiteral("filename"));
        const int path = ds_.fieldIndex(QStringLiteral("filepath"));
        std::vector<MusicListRow> out;
        out.reserve(static_cast<std::size_t>(ds_.recordCount()));
        for (int r = 0; r < ds_.recordCount(); ++r)
            out.push_back({ds_.value(r, id).toLongLong(), ds_.value(r, name).toString(),
                           ds_.value(r, path).toString()});
        return out;
    }

    bool append(const QString& filename, const QString& filepath) override {
        if (!ds_.isOpen() && !ds_.open()) return false;
        if (!ds_.append()) return false;
        if (!ds_.setField(QStringLiteral("filename"), filename) ||
            !ds_.setField(QStringLiteral("filepath"), filepath) || !ds_.post()) {
            ds_.cancel();
            return false;
        }
        return true;
    }

    bool remove(qint64 id) override {
        platform::Statement st(db_, QStringLiteral("delete from filelist where id=:a"));
        return st.ok() && st.bind(QStringLiteral(":a"), id) &&
               st.step() == platform::StepResult::Done;
    }

    bool removeAll() override { return db_.exec(QStringLiteral("delete from filelist")); }

private:
    core::Dataset& ds_;
    platform::Database& db_;
};

}  // namespace

std::unique_ptr<MusicListStore> makeDatasetMusicList(core::Dataset& filelist,
                                                     platform::Database& connection) {
    return std::make_unique<DatasetMusicList>(filelist, connection);
}

}  // namespace bells
