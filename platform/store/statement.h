#pragma once
// One prepared SQL statement. Values travel as QVariant: SQL NULL is an invalid QVariant,
// integers come back as int (qlonglong when wider), booleans are bound as -1/0 (the Yes/No
// convention of our tables), dates and times as sortable text.

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

struct sqlite3_stmt;

namespace platform {

class Database;

enum class StepResult { Row, Done, Error };

class Statement {
public:
    // Prepares the first statement of `sql`; check ok() / errorText().
    Statement(Database& db, const QString& sql);
    ~Statement();
    Statement(Statement&&) noexcept = default;
    Statement& operator=(Statement&&) noexcept = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return stmt_ != nullptr; }
    const QString& errorText() const { return error_; }

    int parameterCount() const;
    // The name of a parameter with its prefix (":aa"); empty for "?".
    QString parameterName(int index) const;
    // Index is 1-based; a name may be given with or without its ':'.
    bool bind(int index, const QVariant& value);
    bool bind(const QString& name, const QVariant& value);

    StepResult step();
    // Makes the statement ready to run again; bindings are kept.
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    QStringList columnNames() const;
    QVariant value(int column) const;
    QVariant value(const QString& name) const;

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* stmt) const;
    };
    Database* db_;
    std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
    QString error_;
};

}  // namespace platform
