#include "generator/kovagen_options.h"

#include <charconv>
#include <iterator>
#include <utility>
#include <fstream>
#include <limits>
#include <ostream>
#include <stdexcept>

#include "core/output_set.h"
#include "generator/pass_time.h"
#include "orbit/norad_file.h"
#include "packets/packet_layout.h"

namespace kova::generator {

namespace {

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

constexpr ProgramOption kOptions[] = {
    {"--out"},         {"--norad"}, {"--tle"},        {"--name"},        {"--start"}, {"--subseconds"},
    {"--duration"},    {"--packet-size"}, {"--gap"},  {"--duplicate"},   {"--other-apids"}, {"--seed"},
};

void printKovagenUsage(std::ostream& out) {
    out << kKovagenProgram.usage
        << "\n"
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
           "  -h, --help              this text\n"
           "  --version               the program's version\n"
           "Options take their value as the next argument or after '=' (--out=pass.kov).\n"
           "Exit status: 0 written, 1 a file cannot be read or written, 2 bad command line.\n";
}

const ProgramInterface kKovagenProgram{"kovagen", "usage: kovagen --out FILE [options]", kOptions,
                                       printKovagenUsage};

bool readKovagenCommandLine(const CommandLine& line, KovagenOptions& options, std::string& error) {
    if (!line.positional.empty()) {
        error = "unexpected argument " + line.positional.front();
        return false;
    }
    for (const CommandLine::GivenOption& given : line.options) {
        const std::string& flag = given.name;
        const std::string& value = given.value;
        bool ok = true;
        if (flag == "--out") {
            options.packetFile = value;
        } else if (flag == "--norad") {
            options.noradFile = value;
        } else if (flag == "--tle") {
            options.elementSetFile = value;
        } else if (flag == "--name") {
            options.satelliteName = value;
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

constexpr std::string_view kPacketFileRole = "packet file";
constexpr std::string_view kNoradFileRole = "norad file";
constexpr std::string_view kElementSetRole = "element set file";

std::string_view optionOf(std::string_view role) {
    return role == kPacketFileRole ? "--out" : role == kNoradFileRole ? "--norad" : "--tle";
}

// "--out and --norad name the same file: NAME", the options in the order of the help.
std::string conflictText(const NameConflict& conflict) {
    const std::string_view output = optionOf(conflict.outputRole);
    const std::string_view other = optionOf(conflict.otherRole);
    if (conflict.otherIsOutput) {
        return std::string(other) + " and " + std::string(output) + " name the same file: " + conflict.otherName;
    }
    return std::string(output) + " and " + std::string(other) + " name the same file: " + conflict.outputName;
}

int generate(const ProgramShell& shell, const CommandLine& line, std::ostream& out) {
    KovagenOptions options;
    std::string error;
    if (!readKovagenCommandLine(line, options, error)) return shell.refuseCommandLine(error);
    // Writing one output over another (or over the element set it reads) would leave a file
    // that holds only what was written last.
    OutputSet outputs;
    outputs.addInput(kElementSetRole, options.elementSetFile);
    OutputMember& packets = outputs.addOutput(kPacketFileRole, options.packetFile);
    OutputMember* norad = options.noradFile.empty() ? nullptr : &outputs.addOutput(kNoradFileRole, options.noradFile);
    if (const std::optional<NameConflict> conflict = outputs.findConflict()) return shell.fail(conflictText(*conflict));
    if (!settleKovagenOptions(options, error)) return shell.fail(error);

    if (!outputs.open()) return shell.fail(outputs.problem());
    PassGenerator generator(options.pass);
    const PassSummary summary = generator.write(packets.stream());
    if (norad != nullptr) writeNoradFile(norad->stream(), options.pass.elementSet);
    // Both files or neither, and both before the summary on the standard output.
    if (!outputs.commit()) return shell.fail(outputs.problem());
    out << "kovagen: " << summary.navPackets << " navigation packets of " << options.pass.packetSize
        << " bytes and " << summary.otherPackets << " other packets (" << summary.bytes << " bytes) in "
        << options.packetFile;
    if (!options.noradFile.empty()) out << "; element set \"" << options.satelliteName << "\" in " << options.noradFile;
    out << '\n';
    return kExitDone;
}

}  // namespace

int runKovagen(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const ProgramShell shell(kKovagenProgram, out, err);
    return shell.run(arguments, [&](const CommandLine& line) { return generate(shell, line, out); });
}

}  // namespace kova::generator
