#pragma once

#include "programs/ProgramMatching.h"
#include "records/DbSession.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace oruk {

// One MEPRO row. The advice columns exist only in the reference-program database.
struct Program {
    int MKey = 0;
    std::string ProNo, ProName, ProData;
    std::string ProPict; // picture bytes, empty = none
    bool ProScal = false;
    bool PrtFG = false;
    std::string ProFN; // "1" per enabled function key 1..4
    OneBased<std::string, 4> ProScrp, ProPrg, ProParm;
    OneBased<std::string, 3> ProMed;
    OneBased<std::string, 5> ProHel;

    bool FunctionKeyEnabled(int k) const {
        return static_cast<int>(ProFN.size()) >= k && ProFN[k - 1] == '1';
    }
};

// One MEPRDT row.
struct Condition {
    int MKey = 0;
    std::string ProNo, ProSubN, ProNote, ProCond, ProAnd;
    int ProAGL = 0, ProAGH = 0;
    double ProEng = 0;
    bool ProFlg = false;
};

// Calculated columns of the program and condition grids.
inline int CoNo(int position) {
    return position < 0 ? -position : position;
}
inline std::string ProFlgC(const Condition& c) {
    return c.ProFlg ? "X" : "";
}

struct ProgramGroup {
    int MKey = 0;
    std::string ProGrp, ProName;
};

// The boxes of the condition editor. Positions 1..22 are the items of the encoding: 1 physical
// state, 2 mental state, 3 musculoskeletal, 4 metabolism, 5 autonomic, 6-17 meridians
// (LU LI PC TE HT SI SP ST LR GB KI BL), 18-22 wood, fire, earth, metal, water.
struct ConditionBoxes {
    OneBased<bool, 22> Item{};   // the item's own box
    OneBased<bool, 22> First{};  // first option (items 3 and 5: "異常")
    OneBased<bool, 22> Second{}; // second option
    bool Range = false;          // item 1 compares the body energy with ProEng
    int RangeChoice = 0;         // 0 "等於 =", 1 "大於 >", 2 "小於 <"; -1 none chosen
    bool AgeAtLeast = false, AgeAtMost = false;
    bool SexCondition = false, Female = false;
    friend bool operator==(const ConditionBoxes&, const ConditionBoxes&) = default;
};
struct ConditionMasks {
    std::string ProCond, ProAnd;
};
ConditionMasks EncodeConditionBoxes(const ConditionBoxes& boxes);
// Blank masks count as all "0"; items 3 and 5 tick "異常" for any digit but 0.
ConditionBoxes DecodeConditionMasks(const std::string& proCond, const std::string& proAnd);

enum class ProgramChange { Done, Duplicate, NotFound, EmptyNumber };
struct ProgramChangeResult {
    ProgramChange outcome = ProgramChange::Done;
    std::string duplicateName;
    int mkey = 0; // the new program's key after an add
};
// "您所輸入的群組編號已經與另一群組 [ name ] 重覆!!請重新指定另一個編號。"
std::string DuplicateProgramMessage(const std::string& name);

// The program library of one database: the user's (main) or the reference programs (read only).
class ProgramLibrary {
public:
    explicit ProgramLibrary(DbSession& db) : db_(db) {}

    std::vector<Program> Programs(); // "ProNo ASC"
    // The MeProB order the matching walks: by number, then by key.
    std::vector<Program> ProgramsInMatchOrder();
    std::optional<Program> FindProgram(const std::string& proNo); // exact, letter case ignored
    std::optional<Program> FindProgramByKey(int mkey);
    std::optional<Program> FindProgramByName(const std::string& proName); // reference programs
    int ProgramCount();

    // Adds a program (number trimmed, refused when taken in any letter case).
    ProgramChangeResult AddProgram(const Program& p);
    // Writes every column of the program with p.MKey except its number.
    ProgramChangeResult ChangeProgram(const Program& p);
    // The program and all of its conditions, in one transaction; returns the rows removed.
    int DeleteProgram(const std::string& proNo);

    std::vector<Condition> Conditions(const std::string& proNo); // table order
    int ConditionCount(const std::string& proNo);
    // A condition appended to a program takes the program's number; returns its key.
    std::optional<int> AddCondition(const std::string& proNo, const Condition& c);
    bool ChangeCondition(const Condition& c); // by c.MKey
    bool DeleteCondition(int mkey);

    std::vector<ProgramGroup> Groups(); // by ProGrp

    // Programs with their conditions in MeProB order, as MatchPrograms reads them.
    std::vector<ProgramForMatching> ForMatching();

private:
    std::vector<Program> Read(const QString& where, const QVariantList& params, const QString& order);
    DbSession& db_;
};

} // namespace oruk
