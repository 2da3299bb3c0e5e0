// Build-time generator of the installed databases: the empty template and the two reference
// databases made from the source files in resources/reference.
#include "records/ReferenceBuild.h"
#include "records/Schema.h"

#include <QCoreApplication>
#include <clocale>
#include <cstring>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::filesystem::path out, texts, programs, artwork;
    for (int i = 1; i + 1 < argc; i += 2) {
        const char* key = argv[i];
        if (!std::strcmp(key, "--out"))
            out = argv[i + 1];
        else if (!std::strcmp(key, "--texts"))
            texts = argv[i + 1];
        else if (!std::strcmp(key, "--programs"))
            programs = argv[i + 1];
        else if (!std::strcmp(key, "--artwork"))
            artwork = argv[i + 1];
        else {
            std::cerr << "oruk-dbgen: unknown option " << key << "\n";
            return 2;
        }
    }
    if (out.empty() || texts.empty() || programs.empty()) {
        std::cerr
            << "usage: oruk-dbgen --out DIR --texts texts.json --programs programs.json [--artwork DIR]\n";
        return 2;
    }
    try {
        std::filesystem::create_directories(out);
        const auto tmpl = out / oruk::dbfiles::Template;
        const auto tmp = out / "MeSpa_60.mdb.tmp";
        oruk::CreateTemplateFile(tmp);
        std::filesystem::rename(tmp, tmpl);
        oruk::BuildTextDatabase(texts, artwork, out / oruk::dbfiles::Texts);
        oruk::BuildProgramDatabase(programs, out / oruk::dbfiles::Programs);
    } catch (const std::exception& e) {
        std::cerr << "oruk-dbgen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
