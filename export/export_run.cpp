#include "export/export_run.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <vector>

#include "core/atomic_output_file.h"
#include "core/file_identity.h"
#include "export/export_options.h"
#include "core/version.h"
#include "export/kvn_text.h"
#include "export/message_plan.h"
#include "export/record_sources.h"
#include "orbit/norad_file.h"
#include "packets/packet_layout.h"
#include "toolkit/toolkit_header.h"

namespace kova {

namespace {

class AtomicFileSink final : public ByteSink {
public:
    explicit AtomicFileSink(AtomicOutputFile& file) : file_(file) {}
    void write(const char* data, std::size_t size) override { file_.write(data, size); }
    bool failed() const override { return file_.failed(); }
    std::string error() const override { return "cannot write " + file_.target() + ": " + file_.error(); }

private:
    AtomicOutputFile& file_;
};

MessageSummary summaryOf(const MessagePlan& plan) {
    return {plan.segments().size(), plan.exportedCount(), plan.leftOutCount()};
}

// The inputs and outputs of a run under their roles, for the messages that name them.
struct NamedFile {
    std::string_view role;
    std::string name;
};

class ExportRun {
public:
    ExportRun(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
    int execute(int argc, const char* const* argv);

private:
    int fail(const std::string& message) {
        err_ << "kovaexport: " << message << std::endl;
        return kExportFailed;
    }
    bool refuseSameFiles();
    bool readObjectId();
    std::unique_ptr<RecordSource> openSource() const;
    bool settleIdentity(const RecordSource& source);

    std::ostream& out_;
    std::ostream& err_;
    ExportOptions options_;
    std::string oemName_;
    std::string aemName_;
    MessageIdentity identity_;
    std::string problem_;
};

int ExportRun::execute(int argc, const char* const* argv) {
    std::string problem;
    switch (parseExportCommandLine(argc, argv, options_, problem)) {
        case ParseOutcome::kRefused:
            err_ << "kovaexport: " << problem << "\n" << kExportUsage << std::endl;
            return kExportBadCommandLine;
        case ParseOutcome::kHelp:
            printExportHelp(out_);
            return kExportSucceeded;
        case ParseOutcome::kVersion:
            out_ << "kovaexport " << kVersion << std::endl;
            return kExportSucceeded;
        case ParseOutcome::kRun:
            break;
    }
    const bool fromEphemeris = !options_.ephemerisFile.empty();
    if (fromEphemeris) {
        oemName_ = options_.oemFile.empty() ? derivedOutputName(options_.ephemerisFile, ".eph", ".oem") : options_.oemFile;
    } else {
        oemName_ = options_.oemFile.empty() ? derivedOutputName(options_.packetFile, ".kov", ".oem") : options_.oemFile;
        aemName_ = options_.aemFile.empty() ? derivedOutputName(options_.packetFile, ".kov", ".aem") : options_.aemFile;
    }
    if (!refuseSameFiles()) return fail(problem_);
    if (!readObjectId()) return fail(problem_);

    std::unique_ptr<RecordSource> planningPass = openSource();
    if (!planningPass->error().empty()) return fail(planningPass->error());
    if (!settleIdentity(*planningPass)) return fail(problem_);

    AtomicOutputFile oemFile(oemName_);
    if (!oemFile.isOpen()) return fail("cannot create the OEM file " + oemName_ + ": " + oemFile.error());
    std::optional<AtomicOutputFile> aemFile;
    if (!fromEphemeris) {
        aemFile.emplace(aemName_);
        if (!aemFile->isOpen()) return fail("cannot create the AEM file " + aemName_ + ": " + aemFile->error());
    }
    AtomicFileSink oemSink(oemFile);
    std::optional<AtomicFileSink> aemSink;
    if (aemFile) aemSink.emplace(*aemFile);

    ExportSummary summary;
    std::string error;
    if (!exportMessages(*planningPass, [this] { return openSource(); }, identity_, oemSink,
                        aemSink ? &*aemSink : nullptr, summary, error)) {
        return fail(error);
    }
    if (!oemFile.commit()) return fail("cannot write the OEM file " + oemName_ + ": " + oemFile.error());
    if (aemFile && !aemFile->commit()) {
        // Both messages or neither: the OEM of a failed export does not stay behind alone.
        std::error_code ignored;
        std::filesystem::remove(oemName_, ignored);
        return fail("cannot write the AEM file " + aemName_ + ": " + aemFile->error());
    }
    const auto line = [this](std::string_view kind, const std::string& name, const MessageSummary& message) {
        out_ << "kovaexport: " << kind << ' ' << name << ": " << message.segments << " segment"
             << (message.segments == 1 ? "" : "s") << ", " << message.records << " records, " << message.leftOut
             << " left out\n";
    };
    line("OEM", oemName_, summary.oem);
    if (aemFile) line("AEM", aemName_, summary.aem);
    out_.flush();
    return kExportSucceeded;
}

// An output never replaces an input of the run or the other output.
bool ExportRun::refuseSameFiles() {
    std::vector<NamedFile> inputs;
    if (!options_.packetFile.empty()) inputs.push_back({"packet file", options_.packetFile});
    if (!options_.ephemerisFile.empty()) inputs.push_back({"ephemeris file", options_.ephemerisFile});
    if (!options_.noradFile.empty()) inputs.push_back({"norad file", options_.noradFile});
    std::vector<NamedFile> outputs{{"OEM output", oemName_}};
    if (!aemName_.empty()) outputs.push_back({"AEM output", aemName_});
    for (std::size_t o = 0; o < outputs.size(); ++o) {
        std::vector<NamedFile> others = inputs;
        others.insert(others.end(), outputs.begin(), outputs.begin() + static_cast<std::ptrdiff_t>(o));
        for (const NamedFile& other : others) {
            if (!namesSameFile(outputs[o].name, other.name)) continue;
            problem_ = "the " + std::string(outputs[o].role) + " " + outputs[o].name + " names the same file as the " +
                       std::string(other.role) + "; nothing was written";
            return false;
        }
    }
    return true;
}

bool ExportRun::readObjectId() {
    identity_.objectId = "UNKNOWN";
    if (!options_.noradFile.empty()) {
        NoradFile norad(options_.noradFile, options_.satelliteName);
        if (!norad.isOpen()) {
            problem_ = "cannot open the norad file " + options_.noradFile;
            return false;
        }
        if (!norad.findElementSet()) {
            problem_ = "the norad file " + options_.noradFile + " holds no element set under the name " +
                       options_.satelliteName;
            return false;
        }
        const std::string& line1 = norad.line1();
        const std::string field = line1.size() > 9 ? line1.substr(9, 8) : std::string();
        if (const std::optional<std::string> id = objectIdFromDesignator(field)) {
            identity_.objectId = *id;
        } else if (!options_.objectId) {
            err_ << "kovaexport: the element set of " << options_.satelliteName
                 << " has no international designator in columns 10-17; OBJECT_ID = UNKNOWN" << std::endl;
        }
    }
    if (options_.objectId) identity_.objectId = *options_.objectId;
    return true;
}

std::unique_ptr<RecordSource> ExportRun::openSource() const {
    if (!options_.ephemerisFile.empty()) return std::make_unique<EphemerisRecordSource>(options_.ephemerisFile);
    return std::make_unique<PacketRecordSource>(options_.packetFile, navPacketSizeFor(options_.satelliteName));
}

bool ExportRun::settleIdentity(const RecordSource& source) {
    std::string objectName(kDefaultXtkSatName);
    std::string originator(kDefaultOriginator);
    if (const auto* ephemeris = dynamic_cast<const EphemerisRecordSource*>(&source)) {
        // The texts kova wrote into the header, so that this OEM equals the packet file's.
        const auto fromHeader = [this](const std::string& text, std::string_view field, std::string_view option,
                                       bool overridden, std::string& value) {
            if (overridden) return true;
            if (const std::optional<std::string> usable = kvnTextValue(text)) {
                value = *usable;
                return true;
            }
            problem_ = "the " + std::string(field) + " text '" + text + "' of the ephemeris file " +
                       options_.ephemerisFile + " cannot be written into a message; give " + std::string(option);
            return false;
        };
        if (!fromHeader(ephemeris->spacecraft(), "spacecraft", "--object-name", options_.objectName.has_value(),
                        objectName) ||
            !fromHeader(ephemeris->source(), "source", "--originator", options_.originator.has_value(), originator)) {
            return false;
        }
    }
    identity_.objectName = options_.objectName.value_or(objectName);
    identity_.originator = options_.originator.value_or(originator);
    if (options_.creationDate) {
        identity_.creationDate = *options_.creationDate;
    } else {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        identity_.creationDate = utcEpochText(std::chrono::duration_cast<std::chrono::seconds>(now).count());
    }
    identity_.aemVersion = options_.aemVersion;
    return true;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }

}  // namespace

int runExport(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    ExportRun run(out, err);
    const int status = run.execute(argc, argv);
    // The summary (or the help) lost on a full disk or a closed standard output is a failure.
    out.flush();
    if (!out && status != kExportBadCommandLine) {
        err << "kovaexport: write failed for the standard output" << std::endl;
        return kExportFailed;
    }
    return status;
}

bool exportMessages(RecordSource& planningPass, const std::function<std::unique_ptr<RecordSource>()>& reopen,
                    const MessageIdentity& identity, ByteSink& oem, ByteSink* aem, ExportSummary& summary,
                    std::string& error) {
    MessagePlan oemPlan(MessageKind::kOem);
    MessagePlan aemPlan(MessageKind::kAem);
    ExportRecord record;
    std::uint64_t index = 0;
    while (planningPass.next(record)) {
        oemPlan.add(record, index);
        if (aem != nullptr) aemPlan.add(record, index);
        ++index;
    }
    if (!planningPass.error().empty()) {
        error = planningPass.error();
        return false;
    }
    oemPlan.finish();
    aemPlan.finish();
    summary.oem = summaryOf(oemPlan);
    summary.aem = summaryOf(aemPlan);
    if (oemPlan.segments().empty()) {
        error = "none of the " + std::to_string(index) + " records has a usable time, position and velocity: no OEM";
        return false;
    }
    if (aem != nullptr && aemPlan.segments().empty()) {
        error = "none of the " + std::to_string(index) + " records has a usable time and quaternion: no AEM";
        return false;
    }

    const std::unique_ptr<RecordSource> writingPass = reopen();
    if (!writingPass->error().empty()) {
        error = writingPass->error();
        return false;
    }
    MessageWriter oemWriter(oemPlan, identity, oem);
    std::optional<MessageWriter> aemWriter;
    if (aem != nullptr) aemWriter.emplace(aemPlan, identity, *aem);
    bool written = true;
    while (written && writingPass->next(record)) {
        written = oemWriter.add(record) && (!aemWriter || aemWriter->add(record));
    }
    if (!writingPass->error().empty()) {
        error = writingPass->error();
        return false;
    }
    if (!written) {
        error = !oemWriter.error().empty() ? "OEM: " + oemWriter.error() : "AEM: " + aemWriter->error();
        return false;
    }
    if (!oemWriter.finish()) {
        error = "OEM: " + oemWriter.error();
        return false;
    }
    if (aemWriter && !aemWriter->finish()) {
        error = "AEM: " + aemWriter->error();
        return false;
    }
    return true;
}

std::optional<std::string> objectIdFromDesignator(std::string_view field) {
    const std::size_t end = field.find_last_not_of(' ');
    if (end == std::string_view::npos) return std::nullopt;
    field = field.substr(0, end + 1);
    if (field.size() < 6 || field.size() > 8) return std::nullopt;
    for (std::size_t i = 0; i < 5; ++i) {
        if (!isDigit(field[i])) return std::nullopt;
    }
    for (std::size_t i = 5; i < field.size(); ++i) {
        if (!isUpperLetter(field[i])) return std::nullopt;
    }
    const int year = (field[0] - '0') * 10 + (field[1] - '0');
    return std::string(year >= 57 ? "19" : "20") + std::string(field.substr(0, 2)) + "-" + std::string(field.substr(2));
}

std::string utcEpochText(std::int64_t unixSeconds) {
    std::int64_t days = unixSeconds / 86400;
    std::int64_t ofDay = unixSeconds % 86400;
    if (ofDay < 0) {
        ofDay += 86400;
        --days;
    }
    const kvn::CivilDate date = kvn::civilFromDays(days);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02lld:%02lld:%02lld", static_cast<long long>(date.year),
                  date.month, date.day, static_cast<long long>(ofDay / 3600),
                  static_cast<long long>(ofDay / 60 % 60), static_cast<long long>(ofDay % 60));
    return text;
}

}  // namespace kova
