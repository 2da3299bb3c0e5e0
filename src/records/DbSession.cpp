#include "records/DbSession.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <algorithm>
#include <atomic>
#include <cctype>

namespace oruk {

namespace {

std::atomic<int> g_connectionCounter{0};

[[noreturn]] void Fail(const QString& what, const QSqlError& error) {
    throw DbError((what + ": " + error.text()).toStdString());
}

} // namespace

DbSession::~DbSession() {
    Close();
}

void DbSession::Open(const std::filesystem::path& file, DbMode mode) {
    Close();
    std::error_code ec;
    if (mode != DbMode::Create && !std::filesystem::is_regular_file(file, ec))
        throw DbError("database file not found: " + file.string());
    const QString name = QString("oruk-db-%1").arg(++g_connectionCounter);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(QString::fromStdString(file.string()));
        QString options = "QSQLITE_BUSY_TIMEOUT=5000;QSQLITE_OPEN_URI";
        if (mode == DbMode::ReadOnly)
            options += ";QSQLITE_OPEN_READONLY";
        db.setConnectOptions(options);
        if (!db.open()) {
            const QSqlError error = db.lastError();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            Fail("cannot open " + QString::fromStdString(file.string()), error);
        }
    }
    name_ = name;
    file_ = file;
    try {
        // Reading the schema also proves the file is an SQLite database.
        Exec("SELECT count(*) FROM sqlite_master");
        if (mode != DbMode::ReadOnly) {
            Exec("PRAGMA journal_mode=DELETE");
            Exec("PRAGMA synchronous=FULL");
        }
    } catch (...) {
        Close();
        throw;
    }
}

void DbSession::Close() {
    if (name_.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        if (db.isOpen()) {
            if (db.driver()->hasFeature(QSqlDriver::Transactions))
                db.rollback(); // no effect unless a transaction was left open
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name_);
    name_.clear();
    file_.clear();
}

QSqlQuery DbSession::Prepare(const QString& sql) {
    if (name_.isEmpty())
        throw DbError("database not open");
    QSqlQuery query(QSqlDatabase::database(name_, false));
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        Fail(sql, query.lastError());
    return query;
}

void DbSession::Run(QSqlQuery& query, const QVariantList& params) {
    for (int i = 0; i < params.size(); ++i)
        query.bindValue(i, params[i]);
    if (!query.exec())
        Fail(query.lastQuery(), query.lastError());
}

QSqlQuery DbSession::Exec(const QString& sql, const QVariantList& params) {
    QSqlQuery query = Prepare(sql);
    Run(query, params);
    return query;
}

QVariant DbSession::Scalar(const QString& sql, const QVariantList& params) {
    QSqlQuery query = Exec(sql, params);
    if (!query.next())
        return {};
    return query.value(0);
}

void DbSession::Begin() {
    Exec("BEGIN IMMEDIATE");
}
void DbSession::Commit() {
    Exec("COMMIT");
}
void DbSession::Rollback() {
    Exec("ROLLBACK");
}

bool DbSession::HasTable(const QString& table, const QString& schema) {
    return Scalar("SELECT count(*) FROM " + schema +
                      ".sqlite_master WHERE type='table' AND name = ? COLLATE NOCASE",
                  {table})
               .toInt() > 0;
}

std::set<std::string> DbSession::Columns(const QString& table, const QString& schema) {
    std::set<std::string> names;
    QSqlQuery query = Exec("SELECT name FROM pragma_table_info(?, ?)", {table, schema});
    while (query.next()) {
        std::string n = query.value(0).toString().toStdString();
        std::transform(n.begin(), n.end(), n.begin(), [](unsigned char c) { return std::tolower(c); });
        names.insert(n);
    }
    return names;
}

DbTransaction::~DbTransaction() {
    if (!done_) {
        try {
            session_.Rollback();
        } catch (...) {
            // The connection already rolled back (or is gone); nothing more can be done here.
        }
    }
}

void DbTransaction::Commit() {
    session_.Commit();
    done_ = true;
}

std::string ToStd(const QVariant& v) {
    return v.isNull() ? std::string() : v.toString().toStdString();
}
QString ToQ(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace oruk
