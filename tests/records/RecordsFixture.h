#pragma once

#include "records/DbSession.h"
#include "records/Schema.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace oruk::test {

// A temporary working directory, removed after the test.
class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        dir = std::filesystem::temp_directory_path() /
              ("oruk-records-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    // The installed files of a working directory: template and both reference databases.
    void InstallBase() {
        CreateTemplateFile(dir / dbfiles::Template);
        {
            DbSession t(dir / dbfiles::Texts, DbMode::Create);
            CreateTextTables(t);
        }
        DbSession p(dir / dbfiles::Programs, DbMode::Create);
        CreateReferenceProgramTables(p);
    }

    bool Exists(const std::string& name) const { return std::filesystem::exists(dir / name); }

    std::filesystem::path dir;
};

} // namespace oruk::test
