#include "app/cli/AnalysisRecords.h"

#include "analysis/EvaluationTexts.h"
#include "programs/ProgramLibrary.h"
#include "records/ReferenceTexts.h"

#include <map>

namespace oruk::cli {

namespace {

struct ListOut {
    const char* key;
    const char* title;
    std::vector<EvaluationItem> items;
    std::vector<std::string> (*texts)(const EvaluationItem&, const AnalysisResult&, const ReferenceTopic*);
};

std::vector<std::string> FindingLines(const EvaluationItem& item, const AnalysisResult& r,
                                      const ReferenceTopic* t) {
    FindingTexts f = FindingTextsFor(item, r, t);
    f.Details.insert(f.Details.end(), f.Ryodoraku.begin(), f.Ryodoraku.end());
    return f.Details;
}

} // namespace

AnalysisExtras RecordAnalysisExtras(const AnalysisResult& result, const MatchSubject& subject,
                                    const AnalysisDatabases& db) {
    AnalysisExtras extras;

    std::vector<std::string> expertJson, referenceJson;
    std::string expertText = "專家療程:", referenceText = "多經絡分析:";
    if (db.main) {
        ProgramLibrary lib(*db.main);
        for (const auto& m : MatchPrograms(lib.ForMatching(), result, subject)) {
            expertJson.push_back("{\"ProName\":" + JsonString(m.ProName) +
                                 ",\"MKEY\":" + std::to_string(m.MKey) + "}");
            expertText += "\n  " + m.ProName + " (MKEY " + std::to_string(m.MKey) + ")";
        }
    }
    if (db.programs) {
        ProgramLibrary lib(*db.programs);
        for (const auto& m : MatchPrograms(lib.ForMatching(), result, subject)) {
            referenceJson.push_back(JsonString(m.ProName));
            referenceText += "\n  " + m.ProName;
        }
    }
    extras.JsonMembers.emplace_back("ExpertPrograms", JsonArray(expertJson));
    extras.JsonMembers.emplace_back("ReferencePrograms", JsonArray(referenceJson));
    extras.TextSections.push_back(expertText);
    extras.TextSections.push_back(referenceText);

    std::map<int, ReferenceTopic> topics;
    if (db.texts)
        topics = ReadReferenceTopics(*db.texts);
    const ListOut lists[] = {
        {"Findings", "單經絡分析:", FindingItems(result), FindingLines},
        {"Prescriptions", "醫方:", PrescriptionItems(result), PrescriptionTextsFor},
        {"Diet", "食物療法表列:", DietItems(result), DietTextsFor},
    };
    for (const auto& list : lists) {
        std::vector<std::string> json;
        std::string text = list.title;
        for (const auto& item : list.items) {
            const auto found = topics.find(item.Code);
            const auto lines = list.texts(item, result, found == topics.end() ? nullptr : &found->second);
            std::vector<std::string> linesJson;
            for (const auto& line : lines)
                linesJson.push_back(JsonString(line));
            json.push_back("{\"Code\":" + std::to_string(item.Code) + ",\"Item\":" + JsonString(item.Item) +
                           ",\"Texts\":" + JsonArray(linesJson) + "}");
            text += "\n" + item.Item;
            for (const auto& line : lines) {
                std::string indented = "\n    ";
                for (const char c : line)
                    indented += c == '\n' ? std::string("\n    ") : std::string(1, c);
                text += indented;
            }
        }
        extras.JsonMembers.emplace_back(list.key, JsonArray(json));
        extras.TextSections.push_back(text);
    }
    return extras;
}

} // namespace oruk::cli
