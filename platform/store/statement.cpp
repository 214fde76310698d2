#include "platform/store/statement.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <limits>

#include <sqlcipher/sqlite3.h>

#include "platform/store/database.h"

namespace platform {

void Statement::Finalizer::operator()(sqlite3_stmt* stmt) const {
    sqlite3_finalize(stmt);
}

Statement::Statement(Database& db, const QString& sql) : db_(&db) {
    if (!db.handle()) {
        error_ = QStringLiteral("database not open");
        return;
    }
    sqlite3_stmt* raw = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db.handle(), text.constData(), int(text.size()), &raw, nullptr) !=
        SQLITE_OK) {
        error_ = QString::fromUtf8(sqlite3_errmsg(db.handle()));
        sqlite3_finalize(raw);
        return;
    }
    if (!raw) {  // only blanks or comments
        error_ = QStringLiteral("no statement in \"%1\"").arg(sql);
        return;
    }
    stmt_.reset(raw);
}

Statement::~Statement() = default;

int Statement::parameterCount() const {
    return stmt_ ? sqlite3_bind_parameter_count(stmt_.get()) : 0;
}

QString Statement::parameterName(int index) const {
    if (!stmt_) return {};
    return QString::fromUtf8(sqlite3_bind_parameter_name(stmt_.get(), index));
}

bool Statement::bind(int index, const QVariant& value) {
    if (!stmt_) return false;
    sqlite3_stmt* s = stmt_.get();
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(s, index);
    } else {
        switch (value.typeId()) {
            case QMetaType::Bool:
                rc = sqlite3_bind_int(s, index, value.toBool() ? -1 : 0);
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::Short:
            case QMetaType::UShort:
            case QMetaType::Long:
            case QMetaType::ULong:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Char:
            case QMetaType::SChar:
            case QMetaType::UChar:
                rc = sqlite3_bind_int64(s, index, value.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(s, index, value.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray bytes = value.toByteArray();
                rc = sqlite3_bind_blob64(s, index, bytes.constData(), sqlite3_uint64(bytes.size()),
                                         SQLITE_TRANSIENT);
                break;
            }
            default: {
                QString text;
                if (value.typeId() == QMetaType::QDateTime)
                    text = value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
                else if (value.typeId() == QMetaType::QDate)
                    text = value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
                else if (value.typeId() == QMetaType::QTime)
                    text = value.toTime().toString(QStringLiteral("hh:mm:ss"));
                else
                    text = value.toString();
                const QByteArray utf8 = text.toUtf8();
                rc = sqlite3_bind_text64(s, index, utf8.constData(), sqlite3_uint64(utf8.size()),
                                         SQLITE_TRANSIENT, SQLITE_UTF8);
            }
        }
    }
    if (rc != SQLITE_OK) {
        error_ = QString::fromUtf8(sqlite3_errstr(rc));
        return false;
    }
    return true;
}

bool Statement::bind(const QString& name, const QVariant& value) {
    if (!stmt_) return false;
    const QString full = name.startsWith(QLatin1Char(':')) ? name : QLatin1Char(':') + name;
    const int index = sqlite3_bind_parameter_index(stmt_.get(), full.toUtf8().constData());
    if (index == 0) {
        error_ = QStringLiteral("no parameter %1").arg(full);
        return false;
    }
    return bind(index, value);
}

StepResult Statement::step() {
    if (!stmt_) return StepResult::Error;
    const int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_ROW) return StepResult::Row;
    if (rc == SQLITE_DONE) return StepResult::Done;
    error_ = QString::fromUtf8(sqlite3_errmsg(db_->handle()));
    db_->setErrorText(error_);
    return StepResult::Error;
}

void Statement::reset() {
    if (stmt_) sqlite3_reset(stmt_.get());
}

int Statement::columnCount() const {
    return stmt_ ? sqlite3_column_count(stmt_.get()) : 0;
}

QString Statement::columnName(int column) const {
    if (!stmt_) return {};
    return QString::fromUtf8(sqlite3_column_name(stmt_.get(), column));
}

QStringList Statement::columnNames() const {
    QStringList names;
    for (int i = 0; i < columnCount(); ++i) names << columnName(i);
    return names;
}

QVariant Statement::value(int column) const {
    if (!stmt_ || column < 0 || column >= columnCount()) return {};
    sqlite3_stmt* s = stmt_.get();
    switch (sqlite3_column_type(s, column)) {
        case SQLITE_INTEGER: {
            const qint64 v = sqlite3_column_int64(s, column);
            if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
                return QVariant(int(v));
            return QVariant(qlonglong(v));
        }
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(s, column));
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
            return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(s, column)));
        }
        case SQLITE_BLOB: {
            const auto* data = static_cast<const char*>(sqlite3_column_blob(s, column));
            return QVariant(QByteArray(data, sqlite3_column_bytes(s, column)));
        }
        default:
            return {};
    }
}

QVariant Statement::value(const QString& name) const {
    for (int i = 0; i < columnCount(); ++i)
        if (columnName(i).compare(name, Qt::CaseInsensitive) == 0) return value(i);
    return {};
}

}  // namespace platform
