#include "run/processing_run.h"

#include <cstdint>
#include <exception>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "core/file_identity.h"
#include "core/file_kind.h"
#include "core/run_stop.h"
#include "orbit/orbit_pass.h"
#include "orbit/tle_format.h"
#include "orbit/tle_record.h"
#include "packets/nav_record.h"
#include "packets/packet_file.h"
#include "packets/packet_layout.h"
#include "pass/pass_input.h"
#include "run/options.h"
#include "core/version.h"
#include "toolkit/file_writer.h"
#include "toolkit/headers.h"
#include "toolkit/record_batch.h"
#include "toolkit/record_stream.h"
#include "toolkit/records.h"

namespace kova {
namespace {

// The objects of one run, created in this order and destroyed in reverse: the stream first,
// then the attitude writer, the ephemeris writer, and the header blocks last.
class ProcessingRun {
public:
    ProcessingRun(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    void execute(int argc, const char* const* argv);

private:
    void settleOptions(int argc, const char* const* argv);
    // The packet file, the element set, the first and last packets: each refusal in
    // kova's words and with its status.
    void openPass();
    void reportPassRefusal(PassRefusal refusal);
    void printDiagnostics();
    void prepareHeaders();
    void openOutputFiles();
    void refuseInputAsOutput(std::string_view kind, const std::string& name, bool isAttitude);
    // Stops with the open failure of a writer that did not open.
    void checkOpened(const ToolkitFileWriter& writer);
    void recordPass();
    void orbitPass();
    void closeOutputFiles();
    [[noreturn]] void reportWriteFailure(const ToolkitFileWriter& writer);
    void checkWritten(const ToolkitFileWriter& writer) {
        if (writer.failed()) reportWriteFailure(writer);
    }

    std::ostream& out_;
    std::ostream& err_;

    CommandLineOptions commandLine_;
    ConfigFileOptions config_;
    std::uint32_t packetReadSize_ = kNavPacketSize;
    // The packet file, the element set and the first and last packets.
    std::optional<PassInput> pass_;
    std::optional<ToolkitHeader> toolkitHeader_;
    std::optional<EphemerisHeader> ephemerisHeader_;
    std::optional<AttitudeHeader> attitudeHeader_;
    std::optional<EphemerisFileWriter> ephemerisWriter_;
    std::optional<AttitudeFileWriter> attitudeWriter_;
    std::optional<NavRecordStream> stream_;
};

void ProcessingRun::execute(int argc, const char* const* argv) {
    out_ << "kova " << kVersion << std::endl;
    settleOptions(argc, argv);

    packetReadSize_ = navPacketSizeFor(config_.getOption(option_keyword::kNoradSatName));
    if (config_.isOn(option_keyword::kDiag1)) {
        err_ << "\ndiag_1 Pkt Read Size = " << std::dec << packetReadSize_ << std::endl;
    }

    openPass();
    if (config_.isOn(option_keyword::kDiag1)) printDiagnostics();

    prepareHeaders();
    openOutputFiles();
    stream_.emplace(pass_->packetFile(), packetReadSize_);
    recordPass();
    orbitPass();

    // Success is announced only once both files are closed and every byte reached them.
    closeOutputFiles();
    if (config_.isOn(option_keyword::kListConfig)) out_ << "\nnormal termination\n" << std::endl;
}

void ProcessingRun::settleOptions(int argc, const char* const* argv) {
    parseCommandLine(argc, argv, commandLine_, err_);
    readConfigFile(commandLine_, config_, err_);
    mergeCommandLine(commandLine_, config_);
    applyDefaultFileNames(config_);
    listConfiguration(commandLine_, config_, out_);
}

void ProcessingRun::openPass() {
    PassInputSettings settings;
    settings.packetFileName = config_.getOption(option_keyword::kPacketFile);
    settings.noradFileName = config_.getOption(option_keyword::kNoradFile);
    settings.satelliteName = config_.getOption(option_keyword::kNoradSatName);
    settings.packetReadSize = packetReadSize_;
    pass_.emplace(settings);
    // The run goes on with a set that is found but unfit, and says so before anything else
    // the packets may still bring.
    if (const auto& text = pass_->elementSetText()) {
        for (const std::string_view problem : text->problems) {
            err_ << "\nWarning: element set for " << text->searchKey << ": " << problem << std::endl;
        }
    }
    if (pass_->refusal()) reportPassRefusal(*pass_->refusal());
}

void ProcessingRun::reportPassRefusal(PassRefusal refusal) {
    const PassInputSettings& settings = pass_->settings();
    switch (refusal) {
        case PassRefusal::kNoPacketFileName:
            err_ << "ERROR: missing input file name" << std::endl;
            stopRun(kStatusNoPacketFile);
        case PassRefusal::kPacketFileIsDirectory:
        case PassRefusal::kPacketFileNotRegular:
        case PassRefusal::kPacketFileNotOpenable:
            err_ << "ERROR opening input:" << settings.packetFileName << std::endl;
            stopRun(kStatusNoPacketFile);
        case PassRefusal::kPacketFileNotIndexable:
            reportFileOpenFailure(file_kind::kPacket, settings.packetFileName, err_);
        case PassRefusal::kNoradFileNotOpenable:
            reportFileOpenFailure(file_kind::kNorad, settings.noradFileName, err_);
        case PassRefusal::kElementSetNotFound:
            err_ << "\nNorad File Read Error" << std::endl;
            stopRun(kStatusFailure);
        case PassRefusal::kFewerThanTwoNavigationPackets:
            err_ << "\nPacket File Empty" << std::endl;
            stopRun(kStatusFailure);
        case PassRefusal::kEndPacketUnreadable:
            err_ << "\nPacket File Read Error" << std::endl;
            err_ << "\nBegin Packet is:\n";
            printNavRecord(err_, pass_->firstPacket());
            err_ << "\nEnd   Packet is:\n";
            printNavRecord(err_, pass_->lastPacket()) << std::endl;
            stopRun(kStatusFailure);
    }
}

void ProcessingRun::printDiagnostics() {
    err_ << "\ndiag_1 Beg Pkt";
    printNavRecord(err_, pass_->firstPacket()) << std::endl;
    err_ << "\ndiag_1 End Pkt";
    printNavRecord(err_, pass_->lastPacket()) << std::endl;
    err_ << "\ndiag_1 TLE " << std::endl;
    printTle(pass_->elementSet(), err_);
}

void ProcessingRun::prepareHeaders() {
    toolkitHeader_.emplace();
    toolkitHeader_->setSpacecraft(config_.getOption(option_keyword::kXtkSatName));
    toolkitHeader_->setSource(config_.getOption(option_keyword::kStation));
    toolkitHeader_->setVersion(config_.getOption(option_keyword::kVersion));
    toolkitHeader_->setTimeRange(pass_->firstPacket().julianDate(), pass_->lastPacket().julianDate());
    toolkitHeader_->setInterval(1.0f);

    ephemerisHeader_.emplace();
    ephemerisHeader_->setReferenceFrame(kJ2000ReferenceFrame);
    attitudeHeader_.emplace();
    attitudeHeader_->setAngleOrder(3, 1, 2);
}

// An output never overwrites an input of the run or the other output: truncating the
// packet file (or one output with the other) would destroy the data it is made from.
void ProcessingRun::refuseInputAsOutput(std::string_view kind, const std::string& name,
                                        bool isAttitude) {
    struct Named {
        std::string_view kind;
        std::string name;
    };
    const Named others[] = {
        {file_kind::kPacket, config_.getOption(option_keyword::kPacketFile)},
        {file_kind::kNorad, config_.getOption(option_keyword::kNoradFile)},
        {file_kind::kConfiguration, commandLine_.getOption(option_keyword::kConfigFile)},
        {file_kind::kEphemeris, isAttitude ? config_.getOption(option_keyword::kEphemerisFile) : std::string()},
    };
    for (const Named& other : others) {
        if (!namesSameFile(name, other.name)) continue;
        err_ << "\nFile Open failed for " << kind << " file: " << fileNameDetail(name)
             << "\nit names the same file as the " << other.kind << " file" << std::endl;
        stopRun(kStatusFailure);
    }
}

void ProcessingRun::checkOpened(const ToolkitFileWriter& writer) {
    if (writer.lockedByAnotherRun()) {
        err_ << "\nFile Open failed for " << writer.kind() << " file: " << fileNameDetail(writer.fileName())
             << "\nit is being written by another run" << std::endl;
        stopRun(kStatusFailure);
    }
    if (writer.openFailed()) reportFileOpenFailure(writer.kind(), writer.fileName(), err_);
    checkWritten(writer);
}

void ProcessingRun::openOutputFiles() {
    // Both names are checked before either file is created: a refused run truncates nothing.
    const std::string ephemerisName = config_.getOption(option_keyword::kEphemerisFile);
    const std::string attitudeName = config_.getOption(option_keyword::kAttitudeFile);
    refuseInputAsOutput(file_kind::kEphemeris, ephemerisName, false);
    refuseInputAsOutput(file_kind::kAttitude, attitudeName, true);

    ephemerisWriter_.emplace(ephemerisName, *toolkitHeader_, *ephemerisHeader_);
    checkOpened(*ephemerisWriter_);
    attitudeWriter_.emplace(attitudeName, *toolkitHeader_, *attitudeHeader_);
    checkOpened(*attitudeWriter_);
}

void ProcessingRun::recordPass() {
    EphemerisRecord ephemerisRecord;
    AttitudeRecord attitudeRecord;
    // The records come a batch at a time so that their attitude angles are computed together;
    // the blocks are still written, and checked, one record after the other.
    RecordBatch batch;
    bool streamGoesOn = true;
    while (streamGoesOn) {
        streamGoesOn = batch.refillFrom(*stream_);
        for (std::size_t n = 0; n < batch.size(); ++n) {
            const std::uint32_t flags = batch.qaFlags(n);
            ephemerisRecord.setFromNavValues(batch.julianDate(n), batch.values(n), flags);
            attitudeRecord.setFromNavValues(batch.julianDate(n), batch.values(n), batch.attitudeAngles(n), flags);
            ephemerisWriter_->writeBlock(ephemerisRecord);
            attitudeWriter_->writeBlock(attitudeRecord);
            if (ephemerisWriter_->failed() || attitudeWriter_->failed()) {
                checkWritten(*ephemerisWriter_);
                checkWritten(*attitudeWriter_);
            }
        }
    }
    // The end of the file ends the pass; anything else, a packet that was whole when the file
    // was indexed and is cut short now included, is a read error.
    const PacketFile& packets = pass_->packetFile();
    if (!packets.eof()) {
        err_ << "\nPacket File read error" << std::endl;
        err_ << "\npacket index = " << std::dec << packets.currentIndex();
        printPacketHeader(err_, stream_->scratchRecord()) << std::endl;
        stopRun(kStatusFailure);
    }
}

void ProcessingRun::orbitPass() {
    const SatPass& pass = stream_->satPass();
    OrbitMetadataRecord metadata;
    revolutionRecords(pass, pass_->elementSet(), config_.isOn(option_keyword::kDiag2), err_,
                      [&](std::int32_t orbitNumber, double ascendingNode, double descendingNode,
                          double descendingNodeLongitude) {
                          metadata.setOrbitNumber(orbitNumber);
                          metadata.setAscendingNodeTime(ascendingNode);
                          metadata.setDescendingNodeTime(descendingNode);
                          metadata.setDescendingNodeLongitude(descendingNodeLongitude);
                          ephemerisWriter_->writeBlock(metadata);
                          checkWritten(*ephemerisWriter_);
                      });
    const auto [beginOrbit, endOrbit] = passOrbitNumbers(pass, pass_->elementSet());
    toolkitHeader_->setRecordCount(static_cast<std::int32_t>(stream_->recordCount()));
    ephemerisHeader_->setOrbits(beginOrbit, endOrbit,
                                static_cast<std::int32_t>(orbitCount(beginOrbit, endOrbit)));
    ephemerisHeader_->setKeplerElements(passElements(pass, pass_->elementSet()));
}

void ProcessingRun::closeOutputFiles() {
    stream_.reset();
    attitudeWriter_->close();
    checkWritten(*attitudeWriter_);
    ephemerisWriter_->close();
    checkWritten(*ephemerisWriter_);
}

void ProcessingRun::reportWriteFailure(const ToolkitFileWriter& writer) {
    err_ << "\nFile Write failed for " << writer.kind() << " file: " << fileNameDetail(writer.fileName())
         << std::endl;
    stopRun(kStatusFailure);
}

}  // namespace

int runKova(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    // The run's objects are gone by the time a handler runs: the writers have flushed what
    // they were given, as at every stop.
    try {
        ProcessingRun run(out, err);
        run.execute(argc, argv);
    } catch (const RunStop& stop) {
        out.flush();
        err.flush();
        return stop.status;
    } catch (const std::exception& unexpected) {
        out.flush();
        err << "\nProgram error: " << unexpected.what() << std::endl;
        return kStatusFailure;
    } catch (...) {
        out.flush();
        err << "\nProgram error: unexpected exception" << std::endl;
        return kStatusFailure;
    }
    // A listing lost on a full disk or a closed standard output is a failure too.
    out.flush();
    if (!out) {
        err << "\nStandard Output write failed" << std::endl;
        return kStatusFailure;
    }
    return 0;
}

}  // namespace kova
