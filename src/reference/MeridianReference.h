#pragma once

#include <QByteArray>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace oruk {

class DbSession;

// One row of MEMTDB with its texts deciphered.
struct MeridianReference {
    int MKey = 0;
    std::map<std::string, std::string> Texts; // by column name as written: "DtEA1" ... "DtML5"
    QByteArray Diagram;                       // DtGpM: the picture file's bytes

    // The deciphered text of a column; empty when the column is empty or absent.
    const std::string& Text(const std::string& column) const;
};

// The text columns of the explanation window, in the order it reads them.
inline constexpr const char* kMeridianTextColumns[] = {
    "DtEA1", "DtEA2", "DtEA3", "DtEA4", "DtEA5", "DtPot1", "DtPot2", "DtPot3", "DtMA1", "DtMA2", "DtMA3",
    "DtMH1", "DtMH2", "DtMH3", "DtMH4", "DtMH5", "DtML1",  "DtML2",  "DtML3",  "DtML4", "DtML5"};

// Reads row MKEY = mkey of MEMTDB; nothing when the row is missing. A text that is not valid
// cipher text reads as empty. Throws DbError when the table cannot be read.
std::optional<MeridianReference> ReadMeridianReference(DbSession& texts, int mkey);

using MeridianReferenceSource = std::function<std::optional<MeridianReference>(int mkey)>;

// Line i of the meridian list: "%2d" + ". " + Channel + two blanks + Name.
std::string MeridianListLine(int meridian);

// The three text boxes of a text page (page 2..5 of the window); a box the page does not use is
// absent (nullopt).
struct ExplanationPageTexts {
    std::optional<std::string> Upper, Middle, Lower;
};
ExplanationPageTexts ExplanationPage(const MeridianReference& row, int page);

} // namespace oruk
