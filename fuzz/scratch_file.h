#pragma once
// The one file a fuzz target hands to a parser that only takes a file name (the packet file,
// the configuration file, the norad file). It is created once per process under $TMPDIR, or
// /dev/shm when TMPDIR is not set, rewritten for every input and removed at exit. The name
// carries a random part, so parallel fuzzing jobs never share a file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace kova::fuzz {

class ScratchFile {
public:
    explicit ScratchFile(const std::string& purpose) : path_(directory() / uniqueName(purpose)) {}
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // Replaces the file's content with the bytes; returns its name.
    const std::string& write(const std::uint8_t* data, std::size_t size) {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return path_.native();
    }
    const std::string& name() const { return path_.native(); }

private:
    static std::filesystem::path directory() {
        std::error_code ignored;
        if (std::getenv("TMPDIR") == nullptr && std::filesystem::is_directory("/dev/shm", ignored)) {
            return "/dev/shm";
        }
        return std::filesystem::temp_directory_path();
    }
    static std::string uniqueName(const std::string& purpose) {
        std::random_device entropy;
        return "kova-fuzz-" + purpose + "-" + std::to_string(entropy()) + std::to_string(entropy());
    }

    std::filesystem::path path_;
};

}  // namespace kova::fuzz
