// Build-time generator of the program's pictures: the 72 point pictures and the energy balance
// background into the installed "Data" folder, the meridian diagrams into the
// artwork folder from which the reference database takes them.
//
//   oruk_artwork --data <Data folder> --artwork <artwork folder>

#include "Artwork.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

int main(int argc, char** argv) {
    std::filesystem::path dataDir, artworkDir;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--data") == 0)
            dataDir = argv[i + 1];
        else if (std::strcmp(argv[i], "--artwork") == 0)
            artworkDir = argv[i + 1];
    }
    if (dataDir.empty() || artworkDir.empty()) {
        std::fprintf(stderr, "usage: oruk_artwork --data <dir> --artwork <dir>\n");
        return 2;
    }
    // Drawing needs no display; fonts come from fontconfig.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);

    for (const auto& dir : {dataDir, artworkDir}) {
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        if (ec) {
            std::fprintf(stderr, "oruk_artwork: cannot create %s: %s\n", dir.string().c_str(),
                         ec.message().c_str());
            return 1;
        }
    }
    using namespace oruk::artwork;
    const bool ok =
        WritePointPictures(dataDir) && WriteMeridianDiagrams(artworkDir) && WriteBalanceBackground(dataDir);
    return ok ? 0 : 1;
}
