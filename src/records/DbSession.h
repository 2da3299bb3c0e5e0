#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>

namespace oruk {

// A database error with the statement that failed; callers show it or let it end the operation.
class DbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class DbMode {
    ReadWrite, // the file must exist; a missing file is an error, never silently created
    ReadOnly,  // reference databases and sources of conversion and import: nothing is written
    Create,    // generators and the template copy: the file is created when missing
};

// One named Qt Sql connection on one SQLite file. Every value travels as a bound parameter.
// Writable files use a rollback journal with full syncs: a committed save is on disk when the call
// returns, and the file stays self-contained, so copying or moving it (backups, transfer files,
// generations) never leaves committed data behind in a side file.
class DbSession {
public:
    DbSession() = default;
    DbSession(const std::filesystem::path& file, DbMode mode) { Open(file, mode); }
    ~DbSession();
    DbSession(const DbSession&) = delete;
    DbSession& operator=(const DbSession&) = delete;

    void Open(const std::filesystem::path& file, DbMode mode);
    void Close();
    bool IsOpen() const { return !name_.isEmpty(); }
    const std::filesystem::path& File() const { return file_; }
    const QString& ConnectionName() const { return name_; }

    // Runs one statement with positional parameters ("?"); throws DbError on failure.
    QSqlQuery Exec(const QString& sql, const QVariantList& params = {});
    // First column of the first row, or an invalid QVariant when there is no row.
    QVariant Scalar(const QString& sql, const QVariantList& params = {});
    // A prepared statement for repeated use with Run().
    QSqlQuery Prepare(const QString& sql);
    static void Run(QSqlQuery& query, const QVariantList& params);

    void Begin();
    void Commit();
    void Rollback();

    bool HasTable(const QString& table, const QString& schema = "main");
    // Column names in lower case (names reach the same column in any letter case).
    std::set<std::string> Columns(const QString& table, const QString& schema = "main");

private:
    QString name_;
    std::filesystem::path file_;
};

// One transaction: rolled back unless committed, so an exception leaves the file as it was.
class DbTransaction {
public:
    explicit DbTransaction(DbSession& session) : session_(session) { session_.Begin(); }
    ~DbTransaction();
    DbTransaction(const DbTransaction&) = delete;
    DbTransaction& operator=(const DbTransaction&) = delete;
    void Commit();

private:
    DbSession& session_;
    bool done_ = false;
};

// Text columns come back as UTF-8; NULL reads as empty or 0.
std::string ToStd(const QVariant& v);
QString ToQ(const std::string& s);

} // namespace oruk
