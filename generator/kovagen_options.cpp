#include "generator/kovagen_options.h"

#include <charconv>
#include <iterator>
#include <utility>
#include <fstream>
#include <limits>
#include <ostream>
#include <stdexcept>

#include "core/file_identity.h"
#include "generator/pass_time.h"
#include "orbit/norad_file.h"
#include "packets/packet_layout.h"

namespace kova::generator {

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFile = 1;

template <typename Number>
bool parseNumber(const std::string& text, Number& value) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

bool parseGap(const std::string& text, PassGap& gap) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) return false;
    return parseNumber(text.substr(0, colon), gap.start) && parseNumber(text.substr(colon + 1), gap.length) &&
           gap.length >= 1;
}

}  // namespace

void printKovagenUsage(std::ostream& out) {
    out << "usage: kovagen --out FILE [options]\n"
           "Writes a synthetic packet file: one navigation packet (APID 957) per second from\n"
           "two-body motion of an element set, with a nadir-pointing attitude.\n"
           "\n"
           "  --out FILE              packet file to write (required)\n"
           "  --norad FILE            also write the element set as a norad file\n"
           "  --tle FILE              read the element set from this norad file (default: built in)\n"
           "  --name NAME             satellite name, searched in --tle and written to --norad\n"
           "                          (default MARU; SELA when --packet-size is 214)\n"
           "  --start YYYY-MM-DDThh:mm:ss  TAI time of the first packet (default: 10 min after the epoch)\n"
           "  --subseconds COUNT      sub-second count of every time tag, 0 to 65535 (default 0)\n"
           "  --duration SECONDS      length of the pass, one packet per second (default 7200)\n"
           "  --packet-size 126|214   navigation packet length (default 126; 214 for the name SELA)\n"
           "  --gap START:LENGTH      the packets after START and before START+LENGTH seconds are\n"
           "                          left out (the packets either side are LENGTH s apart); repeatable\n"
           "  --duplicate T           write the packet at T seconds twice; repeatable\n"
           "  --other-apids N         after each navigation packet, N packets of other APIDs\n"
           "  --seed N                seed of the other packets' APIDs, lengths and bytes (default 1)\n"
           "  --help                  this text\n";
}

bool parseKovagenArguments(const std::vector<std::string>& arguments, KovagenOptions& options, std::string& error) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& flag = arguments[i];
        if (flag == "--help" || flag == "-h") {
            options.helpRequested = true;
            return true;
        }
        if (i + 1 >= arguments.size()) {
            error = flag.rfind("--", 0) == 0 ? "missing value after " + flag : "unknown argument " + flag;
            return false;
        }
        const std::string& value = arguments[++i];
        bool ok = true;
        if (flag == "--out") {
            options.packetFile = value;
        } else if (flag == "--norad") {
            options.noradFile = value;
        } else if (flag == "--tle") {
            options.elementSetFile = value;
        } else if (flag == "--name") {
            options.satelliteName = value;
            ok = !value.empty();
        } else if (flag == "--start") {
            options.startText = value;
            ok = parseTai58Time(value, options.pass.startSeconds);
        } else if (flag == "--subseconds") {
            ok = parseNumber(value, options.pass.startSubseconds);
        } else if (flag == "--duration") {
            ok = parseNumber(value, options.pass.durationSeconds) && options.pass.durationSeconds >= 1;
        } else if (flag == "--packet-size") {
            ok = parseNumber(value, options.pass.packetSize) &&
                 (options.pass.packetSize == 126 || options.pass.packetSize == 214);
            options.packetSizeGiven = true;
        } else if (flag == "--gap") {
            PassGap gap;
            ok = parseGap(value, gap);
            options.pass.gaps.push_back(gap);
        } else if (flag == "--duplicate") {
            std::uint32_t offset = 0;
            ok = parseNumber(value, offset);
            options.pass.duplicates.push_back(offset);
        } else if (flag == "--other-apids") {
            ok = parseNumber(value, options.pass.otherPacketsPerNavPacket) &&
                 options.pass.otherPacketsPerNavPacket <= 1000;
        } else if (flag == "--seed") {
            ok = parseNumber(value, options.pass.seed);
        } else {
            error = "unknown argument " + flag;
            return false;
        }
        if (!ok) {
            error = "bad value \"" + value + "\" for " + flag;
            return false;
        }
    }
    if (options.packetFile.empty()) {
        error = "missing --out FILE";
        return false;
    }
    return true;
}

bool settleKovagenOptions(KovagenOptions& options, std::string& error) {
    if (options.satelliteName.empty()) {
        options.satelliteName =
            options.packetSizeGiven && options.pass.packetSize == kWideNavPacketSize ? std::string(kWidePacketSatName)
                                                                                  : std::string(kDefaultNoradSatName);
    }
    if (!options.packetSizeGiven) options.pass.packetSize = navPacketSizeFor(options.satelliteName);
    if (options.elementSetFile.empty()) {
        options.pass.elementSet = defaultElementSet(options.satelliteName);
    } else {
        if (!readElementSetFile(options.elementSetFile, options.satelliteName, options.pass.elementSet, error)) return false;
    }
    if (options.startText.empty()) options.pass.startSeconds = defaultStartTai58Seconds(options.pass.elementSet);
    if (options.pass.durationSeconds > std::numeric_limits<std::uint32_t>::max() - options.pass.startSeconds) {
        error = "the pass would end after the last 32-bit time tag";
        return false;
    }
    return checkPassSettings(options.pass, error);
}

namespace {

// `status`, or the failure status with a message when the standard output lost what it was
// given (a full disk, a closed descriptor).
int standardOutputChecked(std::ostream& out, std::ostream& err, int status) {
    out.flush();
    if (out) return status;
    err << "kovagen: write failed for the standard output" << std::endl;
    return kExitFile;
}

}  // namespace

int runKovagen(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    KovagenOptions options;
    std::string error;
    if (!parseKovagenArguments(arguments, options, error)) {
        err << "kovagen: " << error << "\n";
        printKovagenUsage(err);
        return kExitUsage;
    }
    if (options.helpRequested) {
        printKovagenUsage(out);
        return standardOutputChecked(out, err, 0);
    }
    // Writing one output over another (or over the element set it reads) would leave a file
    // that holds only what was written last.
    const std::pair<const char*, const std::string*> named[] = {
        {"--out", &options.packetFile}, {"--norad", &options.noradFile}, {"--tle", &options.elementSetFile}};
    for (std::size_t a = 0; a < std::size(named); ++a) {
        for (std::size_t b = a + 1; b < std::size(named); ++b) {
            if (!namesSameFile(*named[a].second, *named[b].second)) continue;
            err << "kovagen: " << named[a].first << " and " << named[b].first << " name the same file: "
                << *named[a].second << std::endl;
            return kExitFile;
        }
    }
    if (!settleKovagenOptions(options, error)) {
        err << "kovagen: " << error << std::endl;
        return kExitFile;
    }

    PassSummary summary;
    {
        std::ofstream packets(options.packetFile.c_str(), std::ios::out | std::ios::binary | std::ios::trunc);
        if (!packets.is_open()) {
            err << "kovagen: cannot create " << options.packetFile << std::endl;
            return kExitFile;
        }
        PassGenerator generator(options.pass);
        summary = generator.write(packets);
        packets.close();
        if (packets.fail()) {
            err << "kovagen: write failed for " << options.packetFile << std::endl;
            return kExitFile;
        }
    }
    if (!options.noradFile.empty()) {
        std::ofstream norad(options.noradFile.c_str(), std::ios::out | std::ios::trunc);
        if (!norad.is_open()) {
            err << "kovagen: cannot create " << options.noradFile << std::endl;
            return kExitFile;
        }
        writeNoradFile(norad, options.pass.elementSet);
        norad.close();
        if (norad.fail()) {
            err << "kovagen: write failed for " << options.noradFile << std::endl;
            return kExitFile;
        }
    }
    out << "kovagen: " << summary.navPackets << " navigation packets of " << options.pass.packetSize
        << " bytes and " << summary.otherPackets << " other packets (" << summary.bytes << " bytes) in "
        << options.packetFile;
    if (!options.noradFile.empty()) out << "; element set \"" << options.satelliteName << "\" in " << options.noradFile;
    out << std::endl;
    return standardOutputChecked(out, err, 0);
}

}  // namespace kova::generator
