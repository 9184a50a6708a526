#include "export/export_run.h"

#include <chrono>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include "core/background_worker.h"
#include "core/output_set.h"
#include "core/program_shell.h"
#include "export/export_options.h"
#include "core/version.h"
#include "export/kvn_text.h"
#include "export/message_plan.h"
#include "export/record_sources.h"
#include "orbit/norad_file.h"
#include "packets/packet_layout.h"
#include "spice/naif_ids.h"
#include "time/iso_time_text.h"
#include "toolkit/toolkit_header.h"

namespace kova {

namespace {

// The bytes of a message or a kernel into a member of the run's output set.
class OutputSink final : public ByteSink {
public:
    explicit OutputSink(OutputMember& file) : file_(file) {}
    void write(const char* data, std::size_t size) override { file_.write(data, size); }
    bool failed() const override { return file_.failed(); }
    std::string error() const override { return "cannot write " + file_.name() + ": " + file_.error(); }
    // A sync that fails here fails the set's commit, which reports it as for any member.
    bool complete() override { return file_.complete(); }
    bool canRewrite() const override { return file_.canRewrite(); }
    const std::string& name() const { return file_.name(); }
    void overwrite(std::uint64_t offset, const char* data, std::size_t size) override {
        file_.overwrite(offset, data, size);
    }
    void startOver() override { file_.startOver(); }

private:
    OutputMember& file_;
};

// The sinks of the kernels a run writes (each one only when asked for).
struct KernelSinks {
    std::optional<OutputSink> spk;
    std::optional<OutputSink> ck;
    std::optional<OutputSink> sclk;
    std::optional<OutputSink> fk;
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
    // The spacecraft ID and names of the kernels, from the options and the element set.
    bool settleSpacecraft();
    bool writeKernels(SpiceKernelSet& kernels, KernelSinks& sinks);
    std::unique_ptr<RecordSource> openSource() const;
    bool settleIdentity(const RecordSource& source);

    const ProgramShell& shell_;
    std::ostream& out_;
    std::ostream& err_;
    ExportOptions options_;
    std::string oemName_;
    std::string aemName_;
    MessageIdentity identity_;
    SpiceKernelSettings kernelSettings_;
    std::string elementSetLine1_;  // of the element set found under --satellite, if any
    std::string elementSetName_;   // its name line
    std::string problem_;
};

int ExportRun::execute(const CommandLine& line) {
    std::string problem;
    if (!readExportCommandLine(line, options_, problem)) return shell_.refuseCommandLine(problem);
    const bool fromEphemeris = !options_.ephemerisFile.empty();
    const bool kernelsWanted = options_.wantsKernels();
    if (fromEphemeris) {
        oemName_ = options_.oemFile.empty() ? derivedOutputName(options_.ephemerisFile, ".eph", ".oem") : options_.oemFile;
    } else if (kernelsWanted) {
        // With kernels, a message is written only when its name is given.
        oemName_ = options_.oemFile;
        aemName_ = options_.aemFile;
    } else {
        oemName_ = options_.oemFile.empty() ? derivedOutputName(options_.packetFile, ".kov", ".oem") : options_.oemFile;
        aemName_ = options_.aemFile.empty() ? derivedOutputName(options_.packetFile, ".kov", ".aem") : options_.aemFile;
    }
    const KernelNames kernelNames = kernelNamesOf(options_);
    // An output never replaces an input of the run or another output.
    OutputSet outputs;
    outputs.addInput("packet file", options_.packetFile);
    outputs.addInput("ephemeris file", options_.ephemerisFile);
    outputs.addInput("norad file", options_.noradFile);
    const auto optionalOutput = [&outputs](std::string_view role, const std::string& name) {
        return name.empty() ? nullptr : &outputs.addOutput(role, name);
    };
    OutputMember* oemFile = optionalOutput("OEM file", oemName_);
    OutputMember* aemFile = optionalOutput("AEM file", aemName_);
    OutputMember* spkFile = optionalOutput("SPK file", kernelNames.spk);
    OutputMember* ckFile = optionalOutput("CK file", kernelNames.ck);
    OutputMember* sclkFile = optionalOutput("SCLK kernel", kernelNames.sclk);
    OutputMember* fkFile = optionalOutput("frame kernel", kernelNames.fk);
    if (const std::optional<NameConflict> conflict = outputs.findConflict()) {
        return fail(describeConflict(*conflict) + "; nothing was written");
    }
    if (!readObjectId()) return fail(problem_);

    std::unique_ptr<RecordSource> firstPass = openSource();
    if (!firstPass->error().empty()) return fail(firstPass->error());
    if (!settleIdentity(*firstPass)) return fail(problem_);
    if (kernelsWanted && !settleSpacecraft()) return fail(problem_);

    if (!outputs.open()) return fail(outputs.problem());
    std::optional<OutputSink> oemSink;
    std::optional<OutputSink> aemSink;
    if (oemFile != nullptr) oemSink.emplace(*oemFile);
    if (aemFile != nullptr) aemSink.emplace(*aemFile);
    KernelSinks kernelSinks;
    if (spkFile != nullptr) kernelSinks.spk.emplace(*spkFile);
    if (ckFile != nullptr) kernelSinks.ck.emplace(*ckFile);
    if (sclkFile != nullptr) kernelSinks.sclk.emplace(*sclkFile);
    if (fkFile != nullptr) kernelSinks.fk.emplace(*fkFile);
    // After the sinks: the kernel set's stream writes to them until the set goes.
    std::optional<SpiceKernelSet> kernels;
    if (kernelsWanted) {
        SpiceKernelSettings settings = kernelSettings_;
        settings.keepStates = spkFile != nullptr;
        settings.keepAttitude = ckFile != nullptr;
        const std::size_t packets = static_cast<const PacketRecordSource&>(*firstPass).navigationPacketCount();
        // Fill records come on top of the packets: a margin keeps short gaps from regrowing the arrays.
        kernels.emplace(std::move(settings), packets + packets / 16 + 64,
                        KernelStreamSinks{kernelSinks.spk ? &*kernelSinks.spk : nullptr,
                                          kernelSinks.ck ? &*kernelSinks.ck : nullptr});
    }

    ExportSummary summary;
    std::string error;
    if (!exportPass(*firstPass, [this] { return openSource(); }, identity_, oemSink ? &*oemSink : nullptr,
                    aemSink ? &*aemSink : nullptr, kernels ? &*kernels : nullptr, summary, error)) {
        return fail(error);
    }
    if (kernels && !writeKernels(*kernels, kernelSinks)) return fail(problem_);
    // Every file or none; the summary only after all are in place, so that a standard output
    // that is lost costs the summary, never the files.
    if (!outputs.commit()) return fail(outputs.problem());
    const auto summaryLine = [this](std::string_view kind, const std::string& name, const MessageSummary& message) {
        out_ << "kovaexport: " << kind << ' ' << name << ": " << message.segments << " segment"
             << (message.segments == 1 ? "" : "s") << ", " << message.records << " records, " << message.leftOut
             << " left out\n";
    };
    if (oemFile != nullptr) summaryLine("OEM", oemName_, summary.oem);
    if (aemFile != nullptr) summaryLine("AEM", aemName_, summary.aem);
    if (kernels) {
        const MessageSummary kernelSummary{kernels->segments().size(), kernels->exportedRecords(),
                                           kernels->leftOut().size()};
        if (spkFile != nullptr) summaryLine("SPK", kernelNames.spk, kernelSummary);
        if (ckFile != nullptr) summaryLine("CK", kernelNames.ck, kernelSummary);
        if (sclkFile != nullptr) {
            out_ << "kovaexport: SCLK " << kernelNames.sclk << ": clock " << kernels->spacecraftId() << "\n";
        }
        if (fkFile != nullptr) {
            out_ << "kovaexport: FK " << kernelNames.fk << ": frame " << kernels->frameName() << " ("
                 << kernels->ckId() << ") of " << kernels->bodyName() << " (" << kernels->spacecraftId() << ")\n";
        }
    }
    return kExportSucceeded;
}

bool ExportRun::settleSpacecraft() {
    SpiceKernelSettings& settings = kernelSettings_;
    if (options_.naifId) {
        settings.spacecraftId = *options_.naifId;
        settings.spacecraftIdSource = spacecraftIdFromOptionSource();
    } else if (!elementSetLine1_.empty() && noradNumberFromElementLine(elementSetLine1_)) {
        const std::int32_t norad = *noradNumberFromElementLine(elementSetLine1_);
        settings.spacecraftId = spacecraftIdFromNorad(norad);
        settings.spacecraftIdSource = spacecraftIdFromNoradSource(norad);
    } else {
        problem_ = options_.noradFile.empty()
                       ? "no spacecraft ID for the SPICE kernels: give --naif-id N (from -1 down to -2147483), or "
                         "--norad FILE with the element set of " +
                             options_.satelliteName + " (-100000 minus its catalogue number is taken)"
                       : "no spacecraft ID for the SPICE kernels: the element set of " + options_.satelliteName +
                             " in " + options_.noradFile +
                             " has no five-digit catalogue number in columns 3-7; give --naif-id N "
                             "(from -1 down to -2147483)";
        return false;
    }
    if (options_.objectName) settings.bodyName = *options_.objectName;
    else if (!elementSetName_.empty()) settings.bodyName = elementSetName_;
    else settings.bodyName = std::string(kDefaultBodyName);
    settings.programName = "kovaexport";
    settings.programVersion = kVersion;
    settings.packetFileName = options_.packetFile;
    return true;
}

// The SPK's epochs (two sines per record) are computed in two halves at once, unless the
// kernel set's stream computed them with the records; then the SPK, the largest kernel, is made
// (or ended) and synced on a second thread while this one makes and syncs the others.
bool ExportRun::writeKernels(SpiceKernelSet& kernels, KernelSinks& sinks) {
    struct SpkJob {
        SpiceKernelSet* kernels = nullptr;
        OutputSink* sink = nullptr;
        bool written = false;
    };
    SpkJob job;
    job.kernels = &kernels;
    std::optional<BackgroundWorker> worker;
    if (sinks.spk) {
        job.sink = &*sinks.spk;
        worker.emplace();
        worker->start([](void* context) { static_cast<SpiceKernelSet*>(context)->prepareEpochs(0, 2); }, &kernels);
        kernels.prepareEpochs(1, 2);
        worker->wait();
        worker->start(
            [](void* context) {
                SpkJob& spkJob = *static_cast<SpkJob*>(context);
                spkJob.written = spkJob.kernels->writeSpk(*spkJob.sink);
                if (spkJob.written) spkJob.sink->complete();
            },
            &job);
    }
    bool written = true;
    if (sinks.ck) {
        written = kernels.writeCk(*sinks.ck);
        if (written) sinks.ck->complete();
        else problem_ = "CK " + sinks.ck->name() + ": " + kernels.error();
    }
    if (written && sinks.sclk) {
        kernels.writeSclk(*sinks.sclk);
        sinks.sclk->complete();
    }
    if (written && sinks.fk) {
        kernels.writeFk(*sinks.fk);
        sinks.fk->complete();
    }
    if (worker) {
        worker->waitAndRethrow();  // as if the SPK were made here
        if (!job.written) {
            // The SPK's reason first, as when the kernels were made one after the other.
            problem_ = "SPK " + sinks.spk->name() + ": " + kernels.error();
            return false;
        }
    }
    return written;
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
        elementSetLine1_ = line1;
        elementSetName_ = norad.nameLine();
        const std::string field = line1.size() > 9 ? line1.substr(9, 8) : std::string();
        if (const std::optional<std::string> id = objectIdFromDesignator(field)) {
            identity_.objectId = *id;
        } else if (!options_.objectId && (!oemName_.empty() || !aemName_.empty())) {
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

// Both messages from one pass over the records: the AEM's writer formats each batch of
// records on a second thread while this one formats the OEM's lines of the batch and reads the
// next one. The text is most of a message's cost, so on two cores the pass takes about the time
// of the OEM alone. Failures are reported as if the records went to the two writers one by one:
// the first in record order, the OEM's on a tie, a read failure only after every record before
// it was written. An exception on the second thread is thrown again on this one.
constexpr std::size_t kRecordsPerBatch = 8192;

struct MessageBatchJob {
    MessageWriter* writer = nullptr;
    ByteSink* sink = nullptr;
    const ExportRecord* records = nullptr;
    std::size_t count = 0;
    std::uint64_t firstIndex = 0;
    std::optional<std::uint64_t> failedAt;  // the index of the record the writer refused
    bool finished = false;
};

void writeMessageBatch(void* context) {
    MessageBatchJob& job = *static_cast<MessageBatchJob*>(context);
    for (std::size_t i = 0; i < job.count && !job.failedAt; ++i) {
        if (!job.writer->add(job.records[i])) job.failedAt = job.firstIndex + i;
    }
}

void finishMessage(void* context) {
    MessageBatchJob& job = *static_cast<MessageBatchJob*>(context);
    job.finished = job.writer->finish();
    if (job.finished) job.sink->complete();
}

bool writeBothMessages(RecordSource& source, MessageWriter& oemWriter, ByteSink& oem, MessageWriter& aemWriter,
                       ByteSink& aem, std::string& error) {
    std::vector<ExportRecord> records(2 * kRecordsPerBatch);
    MessageBatchJob aemJob;
    aemJob.writer = &aemWriter;
    aemJob.sink = &aem;
    std::optional<std::uint64_t> oemFailedAt;
    bool oemFinished = false;
    {
        BackgroundWorker worker;
        std::uint64_t read = 0;
        bool more = true;
        for (std::size_t half = 0; more && !oemFailedAt; half ^= 1) {
            ExportRecord* const batch = records.data() + half * kRecordsPerBatch;
            std::size_t count = 0;
            while (count < kRecordsPerBatch && (more = source.next(batch[count]))) ++count;
            worker.waitAndRethrow();  // the other half is free again
            if (aemJob.failedAt || count == 0) break;
            aemJob.records = batch;
            aemJob.count = count;
            aemJob.firstIndex = read;
            worker.start(writeMessageBatch, &aemJob);
            for (std::size_t i = 0; i < count; ++i) {
                if (!oemWriter.add(batch[i])) {
                    oemFailedAt = read + i;
                    break;
                }
            }
            read += count;
        }
        worker.waitAndRethrow();
        if (!oemFailedAt && !aemJob.failedAt && source.error().empty()) {
            // Each message is finished and synced on its own thread, the two syncs at once.
            worker.start(finishMessage, &aemJob);
            oemFinished = oemWriter.finish();
            if (oemFinished) oem.complete();
            worker.waitAndRethrow();
        }
    }
    if (oemFailedAt && (!aemJob.failedAt || *oemFailedAt <= *aemJob.failedAt)) {
        error = "OEM: " + oemWriter.error();
        return false;
    }
    if (aemJob.failedAt) {
        error = "AEM: " + aemWriter.error();
        return false;
    }
    if (!source.error().empty()) {
        error = source.error();
        return false;
    }
    if (!oemFinished) {
        error = "OEM: " + oemWriter.error();
        return false;
    }
    if (!aemJob.finished) {
        error = "AEM: " + aemWriter.error();
        return false;
    }
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
    return exportPass(planningPass, reopen, identity, &oem, aem, nullptr, summary, error);
}

void fillSpiceInput(const ExportRecord& record, std::uint64_t recordNumber, SpiceInputRecord& input) {
    input.recordNumber = recordNumber;
    input.tag = record.tag;
    input.position = record.position;
    input.velocity = record.velocity;
    input.quaternion = record.quaternion;
    input.qaFlags = record.qaFlags;
}

bool exportPass(RecordSource& firstPass, const std::function<std::unique_ptr<RecordSource>()>& reopen,
                const MessageIdentity& identity, ByteSink* oem, ByteSink* aem, SpiceKernelSet* kernels,
                ExportSummary& summary, std::string& error) {
    MessagePlan oemPlan(MessageKind::kOem);
    MessagePlan aemPlan(MessageKind::kAem);
    ExportRecord record;
    SpiceInputRecord kernelRecord;
    std::uint64_t index = 0;
    while (firstPass.next(record)) {
        if (oem != nullptr) oemPlan.add(record, index);
        if (aem != nullptr) aemPlan.add(record, index);
        if (kernels != nullptr) {
            fillSpiceInput(record, index, kernelRecord);
            kernels->add(kernelRecord);
        }
        ++index;
    }
    if (!firstPass.error().empty()) {
        error = firstPass.error();
        return false;
    }
    oemPlan.finish();
    aemPlan.finish();
    summary.oem = summaryOf(oemPlan);
    summary.aem = summaryOf(aemPlan);
    if (oem != nullptr && oemPlan.segments().empty()) {
        error = "none of the " + std::to_string(index) + " records has a usable time, position and velocity: no OEM";
        return false;
    }
    if (aem != nullptr && aemPlan.segments().empty()) {
        error = "none of the " + std::to_string(index) + " records has a usable time and quaternion: no AEM";
        return false;
    }
    if (kernels != nullptr && !kernels->finish()) {
        error = kernels->error();
        return false;
    }
    if (oem == nullptr && aem == nullptr) return true;

    // The second pass walks the first one's packet index again where it can: the file is not
    // indexed twice, and the records written are those of the packets that were planned.
    std::unique_ptr<RecordSource> reopened;
    RecordSource* writingPass = &firstPass;
    if (!firstPass.rewind()) {
        reopened = reopen();
        writingPass = reopened.get();
    }
    if (!writingPass->error().empty()) {
        error = writingPass->error();
        return false;
    }
    std::optional<MessageWriter> oemWriter;
    std::optional<MessageWriter> aemWriter;
    if (oem != nullptr) oemWriter.emplace(oemPlan, identity, *oem);
    if (aem != nullptr) aemWriter.emplace(aemPlan, identity, *aem);
    if (oemWriter && aemWriter) return writeBothMessages(*writingPass, *oemWriter, *oem, *aemWriter, *aem, error);
    MessageWriter& writer = oemWriter ? *oemWriter : *aemWriter;
    const char* const kind = oemWriter ? "OEM: " : "AEM: ";
    bool written = true;
    while (written && writingPass->next(record)) written = writer.add(record);
    if (!writingPass->error().empty()) {
        error = writingPass->error();
        return false;
    }
    if (!written || !writer.finish()) {
        error = kind + writer.error();
        return false;
    }
    (oemWriter ? oem : aem)->complete();
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
    // Whole seconds since 1993 are the ticks of the calendar text without a fraction.
    char text[kIsoTimeTextCapacity];
    const char* end = writeIsoTime(text, unixSeconds - kDays1970To1993 * kWholeSecondsPerDay, 0);
    return std::string(text, static_cast<std::size_t>(end - text));
}

}  // namespace kova
