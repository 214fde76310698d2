#pragma once
// One connection to an SQLCipher database file. Opening never creates or changes a file: it
// keys the connection and reads the schema once, so a wrong key or a foreign file fails here
// rather than at the first real query.

#include <QString>

#include <memory>

struct sqlite3;

namespace platform {

class Database {
public:
    Database() = default;
    ~Database();
    Database(Database&&) noexcept = default;
    Database& operator=(Database&&) noexcept = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing, non-empty file read-write with `key` (empty key: a plain file).
    bool open(const QString& path, const QString& key);
    // Creates a new file keyed with `key`; refuses a path that already exists.
    bool create(const QString& path, const QString& key);
    void close();
    bool isOpen() const { return db_ != nullptr; }

    // Runs one or more statements that return no rows.
    bool exec(const QString& sql);
    qint64 lastInsertId() const;
    int changes() const;

    bool begin() { return exec(QStringLiteral("BEGIN")); }
    bool commit() { return exec(QStringLiteral("COMMIT")); }
    bool rollback() { return exec(QStringLiteral("ROLLBACK")); }

    // The text of the last failure, empty after a success.
    const QString& errorText() const { return error_; }
    void setErrorText(const QString& text) { error_ = text; }

    sqlite3* handle() const { return db_.get(); }

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    bool connect(const QString& path, int flags, const QString& key);
    bool fail(const QString& what);

    std::unique_ptr<sqlite3, Closer> db_;
    QString error_;
};

// Rolls back on scope exit unless commit() was called.
class Transaction {
public:
    explicit Transaction(Database& db) : db_(db), active_(db.begin()) {}
    ~Transaction() {
        if (active_) db_.rollback();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool active() const { return active_; }
    bool commit() {
        if (!active_) return false;
        active_ = false;
        return db_.commit();
    }

private:
    Database& db_;
    bool active_;
};

}  // namespace platform
