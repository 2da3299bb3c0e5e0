#include "records/ReferenceBuild.h"

#include "app/TextCipher.h"
#include "records/DbSession.h"
#include "records/FileOps.h"
#include "records/Schema.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <stdexcept>

namespace oruk {

namespace fs = std::filesystem;

namespace {

QJsonObject ReadJson(const fs::path& file) {
    QFile f(QString::fromStdString(file.string()));
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + file.string());
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        throw std::runtime_error(file.string() + ": " + error.errorString().toStdString() + " at offset " +
                                 std::to_string(error.offset));
    return doc.object();
}

// Strings stay strings; numbers (a condition name written as 1) become their text.
QString TextOf(const QJsonValue& v) {
    if (v.isString())
        return v.toString();
    if (v.isDouble())
        return QString::number(v.toDouble());
    return {};
}

// Writes to a temporary file first, so a failed build never leaves a half-filled database.
template <class Fill> void BuildFile(const fs::path& outFile, Fill fill) {
    const fs::path temp = outFile.parent_path() / (outFile.filename().string() + ".tmp");
    RemoveFileForce(temp);
    fs::create_directories(outFile.parent_path());
    try {
        DbSession db(temp, DbMode::Create);
        DbTransaction tx(db);
        fill(db);
        tx.Commit();
    } catch (...) {
        RemoveFileForce(temp);
        throw;
    }
    fs::rename(temp, outFile);
}

QStringList TextColumns() {
    QStringList cols;
    for (int i = 1; i <= 5; ++i)
        cols << QString("DtEA%1").arg(i);
    for (int i = 1; i <= 3; ++i)
        cols << QString("DtPot%1").arg(i);
    for (int i = 1; i <= 3; ++i)
        cols << QString("DtMA%1").arg(i);
    for (const char* g : {"DtMH", "DtML"})
        for (int i = 1; i <= 5; ++i)
            cols << QString("%1%2").arg(g).arg(i);
    return cols;
}

QStringList ProgramTextColumns() {
    QStringList cols = {"ProName", "ProData", "ProFN"};
    for (const char* g : {"ProScrp", "ProPrg", "ProParm"})
        for (int k = 1; k <= 4; ++k)
            cols << QString("%1%2").arg(g).arg(k);
    for (int i = 1; i <= 3; ++i)
        cols << QString("ProMed%1").arg(i);
    for (int i = 1; i <= 5; ++i)
        cols << QString("ProHel%1").arg(i);
    return cols;
}

} // namespace

void BuildTextDatabase(const fs::path& textsJson, const fs::path& pictureDir, const fs::path& outFile) {
    const QJsonArray rows = ReadJson(textsJson).value("rows").toArray();
    BuildFile(outFile, [&](DbSession& db) {
        CreateTextTables(db);
        const QStringList cols = TextColumns();
        QString marks = "?, ?";
        for (int i = 0; i < cols.size(); ++i)
            marks += ", ?";
        QSqlQuery insert =
            db.Prepare("INSERT INTO MEMTDB (MKEY, DtGpM, " + cols.join(", ") + ") VALUES (" + marks + ")");
        for (const auto& value : rows) {
            const QJsonObject row = value.toObject();
            const int mkey = row.value("MKEY").toInt(0);
            if (mkey <= 0)
                throw std::runtime_error(textsJson.string() + ": a row without a positive MKEY");
            QVariant picture(QMetaType(QMetaType::QByteArray));
            const QString pictureName = row.value("DtGpM").toString();
            if (!pictureName.isEmpty()) {
                QFile f(QString::fromStdString((pictureDir / pictureName.toStdString()).string()));
                if (f.open(QIODevice::ReadOnly))
                    picture = f.readAll();
            }
            QVariantList params{mkey, picture};
            for (const QString& c : cols)
                params << QString::fromStdString(
                    EncipherText(TextOf(row.value(c)).toStdString(), CipherKey::Texts));
            DbSession::Run(insert, params);
        }
    });
}

void BuildProgramDatabase(const fs::path& programsJson, const fs::path& outFile) {
    const QJsonArray programs = ReadJson(programsJson).value("programs").toArray();
    BuildFile(outFile, [&](DbSession& db) {
        CreateReferenceProgramTables(db);
        const QStringList cols = ProgramTextColumns();
        QString marks = "?, ?, ?";
        for (int i = 0; i < cols.size(); ++i)
            marks += ", ?";
        QSqlQuery insertProgram = db.Prepare("INSERT INTO MEPRO (ProNo, ProScal, PrtFG, " + cols.join(", ") +
                                             ") VALUES (" + marks + ")");
        QSqlQuery insertCondition = db.Prepare(
            "INSERT INTO MEPRDT (ProNo, ProSubN, ProNote, ProAnd, ProCond, ProEng, ProAGL, ProAGH, ProFlg) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
        for (const auto& value : programs) {
            const QJsonObject p = value.toObject();
            const QString no = TextOf(p.value("ProNo")).trimmed();
            if (no.isEmpty())
                throw std::runtime_error(programsJson.string() + ": a program without ProNo");
            QVariantList params{no, p.value("ProScal").toBool() ? 1 : 0, 0};
            for (const QString& c : cols)
                params << TextOf(p.value(c));
            DbSession::Run(insertProgram, params);
            for (const auto& cv : p.value("conditions").toArray()) {
                const QJsonObject c = cv.toObject();
                DbSession::Run(insertCondition,
                               {no, TextOf(c.value("ProSubN")), TextOf(c.value("ProNote")),
                                TextOf(c.value("ProAnd")), TextOf(c.value("ProCond")),
                                c.value("ProEng").toDouble(), c.value("ProAGL").toInt(),
                                c.value("ProAGH").toInt(), c.value("ProFlg").toBool() ? 1 : 0});
            }
        }
    });
}

} // namespace oruk
