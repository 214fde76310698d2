#include "platform/store/database.h"

#include <QFileInfo>

#include <sqlcipher/sqlite3.h>

namespace platform {

namespace {
// Another process may hold the file briefly (the file is shared, never locked for long).
constexpr int kBusyTimeoutMs = 2000;
}  // namespace

void Database::Closer::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

Database::~Database() = default;

bool Database::fail(const QString& what) {
    QString detail;
    if (db_) detail = QString::fromUtf8(sqlite3_errmsg(db_.get()));
    error_ = detail.isEmpty() ? what : what + QStringLiteral(": ") + detail;
    db_.reset();
    return false;
}

bool Database::connect(const QString& path, int flags, const QString& key) {
    close();
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
    db_.reset(raw);  // a handle is returned even on failure and must be closed
    if (rc != SQLITE_OK) return fail(QStringLiteral("cannot open %1").arg(path));
    sqlite3_extended_result_codes(db_.get(), 1);
    sqlite3_busy_timeout(db_.get(), kBusyTimeoutMs);
    if (!key.isEmpty()) {
        const QByteArray k = key.toUtf8();
        if (sqlite3_key(db_.get(), k.constData(), int(k.size())) != SQLITE_OK)
            return fail(QStringLiteral("cannot key %1").arg(path));
    }
    return true;
}

bool Database::open(const QString& path, const QString& key) {
    close();
    const QFileInfo info(path);
    // An empty file would be taken for a new database and written on the first change.
    if (!info.exists() || !info.isFile()) {
        error_ = QStringLiteral("no database file %1").arg(path);
        return false;
    }
    if (info.size() == 0) {
        error_ = QStringLiteral("%1 is empty, not a database").arg(path);
        return false;
    }
    if (!connect(path, SQLITE_OPEN_READWRITE, key)) return false;
    // The key is only checked when the first page is read; a read of the schema does it.
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db_.get(), "SELECT count(*) FROM sqlite_master", -1, &raw, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(raw);
    sqlite3_finalize(raw);
    if (rc != SQLITE_ROW) return fail(QStringLiteral("cannot read %1").arg(path));
    error_.clear();
    return true;
}

bool Database::create(const QString& path, const QString& key) {
    close();
    if (QFileInfo::exists(path)) {
        error_ = QStringLiteral("%1 already exists").arg(path);
        return false;
    }
    if (!connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, key)) return false;
    error_.clear();
    return true;
}

void Database::close() {
    db_.reset();
}

bool Database::exec(const QString& sql) {
    if (!db_) {
        error_ = QStringLiteral("database not open");
        return false;
    }
    char* message = nullptr;
    const int rc = sqlite3_exec(db_.get(), sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        error_ = message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(message);
        return false;
    }
    error_.clear();
    return true;
}

qint64 Database::lastInsertId() const {
    return db_ ? sqlite3_last_insert_rowid(db_.get()) : 0;
}

int Database::changes() const {
    return db_ ? sqlite3_changes(db_.get()) : 0;
}

}  // namespace platform
