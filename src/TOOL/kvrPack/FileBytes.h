// Whole files by UTF-8 path, on any host.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kvr::pack {

// The path named by UTF-8 text.
std::filesystem::path HostPath(const std::string& utf8);
// The UTF-8 text of a path.
std::string Utf8Of(const std::filesystem::path& path);

// The file's bytes; nullopt when it cannot be read (missing, a folder, ...).
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);
// Writes the file whole; false on failure.
bool WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace kvr::pack
