#include "export/export_run.h"

#include <chrono>
#include <cstdio>
#include <ostream>
#include <vector>

#include "core/output_set.h"
#include "core/program_shell.h"
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

// The bytes of a message into a member of the run's output set.
class OutputSink final : public ByteSink {
public:
    explicit OutputSink(OutputMember& file) : file_(file) {}
    void write(const char* data, std::size_t size) override { file_.write(data, size); }
    bool failed() const override { return file_.failed(); }
    std::string error() const override { return "cannot write " + file_.name() + ": " + file_.error(); }

private:
    OutputMember& file_;
};

MessageSummary summaryOf(const MessagePlan& plan) {
    return {plan.segments().size(), plan.exportedCount(), plan.leftOutCount()};
}

class ExportRun {
public:
    ExportRun(const ProgramShell& shell, std::ostream& out, std::ostream& err) : shell_(shell), out_(out), err_(err) {}
    int execute(const CommandLine& line);

private:
    int fail(const std::string& message) const { return shell_.fail(message); }
    bool readObjectId();
    std::unique_ptr<RecordSource> openSource() const;
    bool settleIdentity(const RecordSource& source);

    const ProgramShell& shell_;
    std::ostream& out_;
    std::ostream& err_;
    ExportOptions options_;
    std::string oemName_;
    std::string aemName_;
    MessageIdentity identity_;
    std::string problem_;
};

int ExportRun::execute(const CommandLine& line) {
    std::string problem;
    if (!readExportCommandLine(line, options_, problem)) return shell_.refuseCommandLine(problem);
    const bool fromEphemeris = !options_.ephemerisFile.empty();
    if (fromEphemeris) {
        oemName_ = options_.oemFile.empty() ? derivedOutputName(options_.ephemerisFile, ".eph", ".oem") : options_.oemFile;
    } else {
        oemName_ = options_.oemFile.empty() ? derivedOutputName(options_.packetFile, ".kov", ".oem") : options_.oemFile;
        aemName_ = options_.aemFile.empty() ? derivedOutputName(options_.packetFile, ".kov", ".aem") : options_.aemFile;
    }
    // An output never replaces an input of the run or the other output.
    OutputSet outputs;
    outputs.addInput("packet file", options_.packetFile);
    outputs.addInput("ephemeris file", options_.ephemerisFile);
    outputs.addInput("norad file", options_.noradFile);
    OutputMember& oemFile = outputs.addOutput("OEM file", oemName_);
    OutputMember* aemFile = fromEphemeris ? nullptr : &outputs.addOutput("AEM file", aemName_);
    if (const std::optional<NameConflict> conflict = outputs.findConflict()) {
        return fail(describeConflict(*conflict) + "; nothing was written");
    }
    if (!readObjectId()) return fail(problem_);

    std::unique_ptr<RecordSource> planningPass = openSource();
    if (!planningPass->error().empty()) return fail(planningPass->error());
    if (!settleIdentity(*planningPass)) return fail(problem_);

    if (!outputs.open()) return fail(outputs.problem());
    OutputSink oemSink(oemFile);
    std::optional<OutputSink> aemSink;
    if (aemFile != nullptr) aemSink.emplace(*aemFile);

    ExportSummary summary;
    std::string error;
    if (!exportMessages(*planningPass, [this] { return openSource(); }, identity_, oemSink,
                        aemSink ? &*aemSink : nullptr, summary, error)) {
        return fail(error);
    }
    // Both messages or neither; the summary only after both files are in place, so that a
    // standard output that is lost costs the summary, never the files.
    if (!outputs.commit()) return fail(outputs.problem());
    const auto summaryLine = [this](std::string_view kind, const std::string& name, const MessageSummary& message) {
        out_ << "kovaexport: " << kind << ' ' << name << ": " << message.segments << " segment"
             << (message.segments == 1 ? "" : "s") << ", " << message.records << " records, " << message.leftOut
             << " left out\n";
    };
    summaryLine("OEM", oemName_, summary.oem);
    if (aemFile != nullptr) summaryLine("AEM", aemName_, summary.aem);
    return kExportSucceeded;
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
    const ProgramShell shell(kExportProgram, out, err);
    return shell.run(programArguments(argc, argv), [&](const CommandLine& line) {
        ExportRun run(shell, out, err);
        return run.execute(line);
    });
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
