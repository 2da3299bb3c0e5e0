#pragma once

// Access to the reference content as the build leaves it: the JSON sources in the repository and
// the databases and pictures in the installed data folder of the build tree.

#include "app/WorkDir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace oruk::testing {

inline QJsonObject ReadSourceJson(const char* name) {
    QFile file(QString::fromStdString(
        (std::filesystem::path(ORUK_SOURCE_DIR) / "resources" / "reference" / name).string()));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(std::string("cannot open ") + name);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (doc.isNull())
        throw std::runtime_error(std::string(name) + ": " + error.errorString().toStdString());
    return doc.object();
}

inline std::filesystem::path DataFile(const std::string& relative) {
    return InstalledDataDir() / relative;
}

// A read-only connection to one generated database; closed when the object goes.
class ReadOnlyDb {
public:
    explicit ReadOnlyDb(const std::filesystem::path& file)
        : name_(QString::fromStdString("ref-" + file.string())) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(QString::fromStdString(file.string()));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!std::filesystem::exists(file) || !db.open())
            throw std::runtime_error("cannot open " + file.string() + ": " +
                                     db.lastError().text().toStdString());
    }
    ~ReadOnlyDb() {
        QSqlDatabase::database(name_).close();
        QSqlDatabase::removeDatabase(name_);
    }
    ReadOnlyDb(const ReadOnlyDb&) = delete;
    ReadOnlyDb& operator=(const ReadOnlyDb&) = delete;
    QSqlDatabase Db() const { return QSqlDatabase::database(name_); }

private:
    QString name_;
};

} // namespace oruk::testing
