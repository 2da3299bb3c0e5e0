#pragma once

#include "records/DbSession.h"

#include <QStringList>
#include <filesystem>

namespace oruk {

// File names in the working directory.
namespace dbfiles {
inline constexpr const char* Template = "MeSpa_60.mdb";
inline constexpr const char* Fresh = "oruk_60.mdb";
inline constexpr const char* Main = "oruk6.mdb";
inline constexpr const char* Previous = "oruk4.mdb";
inline constexpr const char* Old = "oruk.mdb";
inline constexpr const char* Texts = "orukTW.mdb";
inline constexpr const char* Programs = "orukMTW.mdb";
inline constexpr const char* Transfer = "MeTran.mdb";
inline constexpr const char* PictureFolder = "Data";
} // namespace dbfiles

// Tables of the main database (and of the template and transfer files): MECUST, MEDATA, MEPRO,
// MEPRDT, MEProGP with their indexes. Yes/no columns hold 0/1, dates days since 1899-12-30 in a
// REAL, pictures the image file's bytes in a BLOB.
void CreateMainTables(DbSession& db);
// The reference texts (MEMTDB).
void CreateTextTables(DbSession& db);
// The reference programs: MEPRO with its advice columns and MEPRDT.
void CreateReferenceProgramTables(DbSession& db);

// A new, empty main-layout file (the template).
void CreateTemplateFile(const std::filesystem::path& file);

// Column names as the system writes them, in copy order.
QStringList MedataValueColumns(); // ME1 ... ME24

} // namespace oruk
