#include "bench/bench_packet_files.h"

#include <chrono>
#include <fstream>
#include <map>
#include <stdexcept>

#include "core/constants.h"
#include "generator/pass_time.h"

namespace kova::bench {

namespace {

class ScratchDirectory {
public:
    ScratchDirectory() {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() / ("kova-bench-" + std::to_string(stamp));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

constexpr std::uint32_t kSecondsPerDay = 86400;

}  // namespace

generator::PassSettings oneDayPass(std::uint32_t packetSize, std::uint32_t otherPacketsPerNavPacket) {
    generator::PassSettings settings;
    settings.startSeconds = generator::defaultStartTai58Seconds(settings.elementSet);
    settings.durationSeconds = kSecondsPerDay;
    settings.packetSize = packetSize;
    settings.otherPacketsPerNavPacket = otherPacketsPerNavPacket;
    settings.gaps = {{3600, 5}, {20000, 30}, {50000, 90}};
    return settings;
}

const std::string& packetFile(const std::string& name, const generator::PassSettings& settings) {
    static ScratchDirectory scratch;
    static std::map<std::string, std::string> written;
    auto found = written.find(name);
    if (found != written.end()) return found->second;
    const std::string path = (scratch.path() / name).string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    generator::PassGenerator(settings).write(out);
    out.close();
    if (!out) throw std::runtime_error("cannot write the benchmark packet file " + path);
    return written.emplace(name, path).first->second;
}

}  // namespace kova::bench
