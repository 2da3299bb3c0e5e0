#include "reference/MeridianReference.h"

#include "analysis/MeridianModel.h"
#include "app/TextCipher.h"
#include "records/DbSession.h"

#include <QSqlRecord>
#include <cstdio>

namespace oruk {

const std::string& MeridianReference::Text(const std::string& column) const {
    static const std::string empty;
    auto it = Texts.find(column);
    return it == Texts.end() ? empty : it->second;
}

std::optional<MeridianReference> ReadMeridianReference(DbSession& texts, int mkey) {
    QSqlQuery q = texts.Exec(QStringLiteral("SELECT * FROM MEMTDB WHERE MKEY = ?"), {mkey});
    if (!q.next())
        return std::nullopt;
    MeridianReference row;
    row.MKey = mkey;
    const QSqlRecord rec = q.record();
    for (const char* column : kMeridianTextColumns) {
        // Column names reach the same column in any letter case.
        int idx = -1;
        for (int i = 0; i < rec.count(); ++i)
            if (rec.fieldName(i).compare(QLatin1String(column), Qt::CaseInsensitive) == 0)
                idx = i;
        if (idx < 0)
            continue;
        const std::string cipher = ToStd(q.value(idx));
        row.Texts[column] = DecipherText(cipher, CipherKey::Texts).value_or(std::string());
    }
    for (int i = 0; i < rec.count(); ++i)
        if (rec.fieldName(i).compare(QLatin1String("DtGpM"), Qt::CaseInsensitive) == 0)
            row.Diagram = q.value(i).toByteArray();
    return row;
}

std::string MeridianListLine(int meridian) {
    const auto& m = MeridianTable()[meridian];
    char number[8];
    std::snprintf(number, sizeof number, "%2d", meridian);
    return std::string(number) + ". " + std::string(m.Channel) + "  " + std::string(m.Name);
}

ExplanationPageTexts ExplanationPage(const MeridianReference& r, int page) {
    auto join = [&](const char* a, const char* b) { return r.Text(a) + "\n\n" + r.Text(b); };
    ExplanationPageTexts t;
    switch (page) {
    case 2: // 經絡資料
        t.Upper = r.Text("DtMA1");
        t.Middle = r.Text("DtMH1");
        t.Lower = r.Text("DtML1");
        break;
    case 3: // 良導絡資料
        t.Upper = r.Text("DtMH5");
        t.Lower = r.Text("DtML5");
        break;
    case 4: // 醫方資料
        t.Upper = join("DtMH3", "DtMH2");
        t.Lower = join("DtML3", "DtML2");
        break;
    case 5: // 養生資料
        t.Upper = join("DtMA3", "DtMH4");
        t.Lower = r.Text("DtML4");
        break;
    default:
        break;
    }
    return t;
}

} // namespace oruk
