#pragma once
// Fuzz entry of kovaexport: both passes and both messages over an arbitrary ephemeris file or
// packet file, into sinks that check every line they are given, and the SPICE kernels of a
// packet file into sinks that check their shape and discard them.
//
// Input: one mode byte, then the bytes of the file.
//   byte 0 modulo 3: 0 an ephemeris file (OEM only); 1 a packet file of 126-byte navigation
//          packets; 2 a packet file of 214-byte navigation packets (OEM and AEM)
//   byte 0 / 3 modulo 3 (packet files): 0 the messages; 1 the messages and the four kernels
//          (fed from the messages' first pass); 2 the four kernels alone (one pass)
// Every line written must be printable ASCII of at most 254 characters, and every number of a
// data line a finite fixed-point or d.ddd exponent number of at most 16 significant digits
// without a negative zero. A binary kernel must be whole 1024-byte records, a text kernel lines
// of printable ASCII; a kernel set that finishes must write both binary kernels, and one that
// does not must say why. Anything else stops the process (a finding).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "export/export_run.h"
#include "export/record_sources.h"
#include "fuzz/scratch_file.h"
#include "packets/packet_layout.h"
#include "core/byte_sink.h"
#include "spice/spice_export.h"

namespace kova::fuzz {

class CheckingSink final : public ByteSink {
public:
    void write(const char* data, std::size_t size) override {
        for (std::size_t i = 0; i < size; ++i) {
            if (data[i] == '\n') {
                checkLine();
                line_.clear();
            } else {
                line_ += data[i];
            }
        }
    }
    bool failed() const override { return false; }
    std::string error() const override { return ""; }
    // A message ends with a line end: nothing may be left over.
    void checkEnd() const {
        if (!line_.empty()) std::abort();
    }

private:
    static void checkNumber(std::string_view token) {
        std::size_t at = token[0] == '-' ? 1 : 0;
        const std::size_t exponent = token.find('e');
        const std::string_view mantissa = token.substr(at, exponent == std::string_view::npos ? token.npos : exponent - at);
        const std::size_t point = mantissa.find('.');
        if (point == std::string_view::npos || point == 0 || point + 1 == mantissa.size()) std::abort();
        if (exponent != std::string_view::npos && point != 1) std::abort();
        int significant = 0;
        bool leading = true;
        for (char c : mantissa) {
            if (c == '.') continue;
            if (c < '0' || c > '9') std::abort();
            if (c != '0') leading = false;
            if (!leading) ++significant;
        }
        if (significant > 16) std::abort();
        if (significant == 0 && token[0] == '-') std::abort();  // a negative zero
    }
    void checkLine() const {
        if (line_.size() > 254) std::abort();
        for (char c : line_) {
            if (c < 0x20 || c > 0x7E) std::abort();
        }
        if (line_.empty() || line_[0] < '0' || line_[0] > '9') return;  // not a data line
        std::size_t start = line_.find(' ');
        while (start != std::string::npos) {
            const std::size_t end = line_.find(' ', start + 1);
            const std::string_view token(line_.data() + start + 1, (end == std::string::npos ? line_.size() : end) - start - 1);
            if (token.empty()) std::abort();
            checkNumber(token);
            start = end;
        }
    }
    std::string line_;
};

// Counts a kernel's bytes and checks text kernels' characters; keeps nothing.
class DiscardingKernelBytes final : public ByteSink {
public:
    explicit DiscardingKernelBytes(bool text) : text_(text) {}
    void write(const char* data, std::size_t size) override {
        bytes_ += size;
        if (!text_) return;
        for (std::size_t i = 0; i < size; ++i) {
            if (data[i] != '\n' && (data[i] < 0x20 || data[i] > 0x7E)) std::abort();
        }
        if (size > 0) lastByte_ = data[size - 1];
    }
    // A DAF is whole records; a text kernel ends with a line end.
    void checkEnd() const {
        if (bytes_ == 0) std::abort();
        if (!text_ && bytes_ % 1024 != 0) std::abort();
        if (text_ && lastByte_ != '\n') std::abort();
    }

private:
    bool text_;
    std::size_t bytes_ = 0;
    char lastByte_ = 0;
};

// Keeps a kernel's bytes; a rewritable one takes bytes again where they are, as a file does.
class KeptKernelBytes final : public ByteSink {
public:
    explicit KeptKernelBytes(bool rewritable) : rewritable_(rewritable) {}
    void write(const char* data, std::size_t size) override { bytes.append(data, size); }
    bool canRewrite() const override { return rewritable_; }
    void overwrite(std::uint64_t offset, const char* data, std::size_t size) override {
        if (!rewritable_ || offset + size > bytes.size()) std::abort();
        bytes.replace(offset, size, data, size);
    }
    void startOver() override {
        if (!rewritable_) std::abort();
        bytes.clear();
    }
    std::string bytes;

private:
    bool rewritable_;
};

inline void checkKernels(SpiceKernelSet& kernels) {
    if (!kernels.finish()) {
        if (kernels.error().empty()) std::abort();
        return;
    }
    if (kernels.segments().empty() || kernels.exportedRecords() < 2) std::abort();
    DiscardingKernelBytes spk(false), ck(false), sclk(true), fk(true);
    if (!kernels.writeSpk(spk) || !kernels.writeCk(ck)) std::abort();
    kernels.writeSclk(sclk);
    kernels.writeFk(fk);
    spk.checkEnd();
    ck.checkEnd();
    sclk.checkEnd();
    fk.checkEnd();
}

inline int fuzzExport(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static ScratchFile file("export");
    const std::string& name = file.write(data + 1, size - 1);
    const int mode = data[0] % 3;
    const auto open = [&name, mode]() -> std::unique_ptr<RecordSource> {
        if (mode == 0) return std::make_unique<EphemerisRecordSource>(name);
        return std::make_unique<PacketRecordSource>(name, mode == 1 ? kNavPacketSize : kWideNavPacketSize);
    };
    const std::unique_ptr<RecordSource> planning = open();
    if (!planning->error().empty()) return 0;
    const int spiceMode = mode == 0 ? 0 : data[0] / 3 % 3;
    SpiceKernelSettings settings;
    settings.spacecraftId = -190957;
    settings.spacecraftIdSource = "fuzz";
    settings.bodyName = "MARU";
    settings.programVersion = "0";
    settings.packetFileName = name;
    std::optional<SpiceKernelSet> kernels;
    if (spiceMode != 0) kernels.emplace(settings, 0);
    if (spiceMode == 2) {
        ExportSummary summary;
        std::string error;
        if (!exportPass(*planning, open, MessageIdentity{}, nullptr, nullptr, &*kernels, summary, error)) {
            if (error.empty()) std::abort();
            return 0;
        }
        checkKernels(*kernels);
        // The same records again, the kernels written while they come (hand-overs and a count
        // hint from the input's first byte): the bytes of the kernels written at the end.
        KeptKernelBytes spk(false), ck(false), streamedSpk(true), streamedCk(true);
        if (!kernels->writeSpk(spk) || !kernels->writeCk(ck)) std::abort();
        settings.recordsPerHandover = 1 + data[0] / 9 % 8;
        const std::size_t hint = data[0] % 2 == 0 ? kernels->exportedRecords() + kernels->leftOut().size() : 8;
        SpiceKernelSet streamed(settings, hint, KernelStreamSinks{&streamedSpk, &streamedCk});
        const std::unique_ptr<RecordSource> again = open();
        if (!exportPass(*again, open, MessageIdentity{}, nullptr, nullptr, &streamed, summary, error) ||
            !streamed.writeSpk(streamedSpk) || !streamed.writeCk(streamedCk) || streamedSpk.bytes != spk.bytes ||
            streamedCk.bytes != ck.bytes) {
            std::abort();
        }
        return 0;
    }
    const MessageIdentity identity{"KALPM1", "UNKNOWN", "DB", "2026-12-09T10:00:00", AemVersion::k1_0};
    CheckingSink oem;
    CheckingSink aem;
    ExportSummary summary;
    std::string error;
    if (exportPass(*planning, open, identity, &oem, mode == 0 ? nullptr : &aem, kernels ? &*kernels : nullptr, summary,
                   error)) {
        oem.checkEnd();
        aem.checkEnd();
        if (kernels) checkKernels(*kernels);
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}

}  // namespace kova::fuzz
