#pragma once

#include <filesystem>

namespace oruk {

// Builds the reference databases from their source files (format in resources/reference/README.md).
// Throws std::runtime_error naming the file and the entry at fault.

// texts.json -> MEMTDB; every text enciphered with key selector 1; DtGpM names a picture file in
// pictureDir, stored as its bytes (left empty when the file is absent).
void BuildTextDatabase(const std::filesystem::path& textsJson, const std::filesystem::path& pictureDir,
                       const std::filesystem::path& outFile);

// programs.json -> MEPRO (with the advice columns) and MEPRDT, plain text.
void BuildProgramDatabase(const std::filesystem::path& programsJson, const std::filesystem::path& outFile);

} // namespace oruk
