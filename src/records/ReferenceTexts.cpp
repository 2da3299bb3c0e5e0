#include "records/ReferenceTexts.h"

#include "app/TextCipher.h"

#include <QSqlRecord>

namespace oruk {

namespace {

std::string Deciphered(const QSqlQuery& q, const QString& column) {
    const int index = q.record().indexOf(column);
    if (index < 0)
        return {};
    const std::string stored = ToStd(q.value(index));
    return DecipherText(stored, CipherKey::Texts).value_or(std::string());
}

ReferenceTopic ReadTopic(const QSqlQuery& q) {
    ReferenceTopic t;
    t.MKey = q.value("MKEY").toInt();
    for (int i = 1; i <= 5; ++i) {
        t.DtEA[i] = Deciphered(q, QString("DtEA%1").arg(i));
        t.DtMH[i] = Deciphered(q, QString("DtMH%1").arg(i));
        t.DtML[i] = Deciphered(q, QString("DtML%1").arg(i));
    }
    for (int i = 1; i <= 3; ++i) {
        t.DtPot[i] = Deciphered(q, QString("DtPot%1").arg(i));
        t.DtMA[i] = Deciphered(q, QString("DtMA%1").arg(i));
    }
    const int picture = q.record().indexOf("DtGpM");
    if (picture >= 0) {
        const QByteArray bytes = q.value(picture).toByteArray();
        t.DtGpM.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    return t;
}

} // namespace

std::optional<ReferenceTopic> ReadReferenceTopic(DbSession& texts, int mkey) {
    QSqlQuery q = texts.Exec("SELECT * FROM MEMTDB WHERE MKEY = ?", {mkey});
    if (!q.next())
        return std::nullopt;
    return ReadTopic(q);
}

std::map<int, ReferenceTopic> ReadReferenceTopics(DbSession& texts) {
    std::map<int, ReferenceTopic> topics;
    QSqlQuery q = texts.Exec("SELECT * FROM MEMTDB ORDER BY MKEY");
    while (q.next()) {
        ReferenceTopic t = ReadTopic(q);
        topics.emplace(t.MKey, std::move(t));
    }
    return topics;
}

} // namespace oruk
