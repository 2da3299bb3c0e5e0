#pragma once

#include <string>
#include <string_view>
#include <vector>

// The few JSON pieces the commands write by hand; every command's JSON output goes through these.
namespace oruk::cli {

// Shortest text that reads back to the same double.
std::string JsonNumber(double value);
// A JSON string literal (quotes and escapes). UTF-8 passes through; bytes that are not valid UTF-8
// become replacement characters, so the output always parses.
std::string JsonString(std::string_view text);
// A JSON array of already rendered elements.
std::string JsonArray(const std::vector<std::string>& elements);

} // namespace oruk::cli
