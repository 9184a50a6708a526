#pragma once
// One kovaexport run: the command line, the inputs, the passes over the records and the
// output files (messages and SPICE kernels), which appear under their names only when all
// are complete.
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/program_shell.h"
#include "export/export_record.h"
#include "export/message_writer.h"
#include "spice/spice_export.h"

namespace kova {

inline constexpr int kExportSucceeded = kExitDone;
inline constexpr int kExportFailed = kExitFailure;  // bad input, refused output, failed write
inline constexpr int kExportBadCommandLine = kExitCommandLine;

// Runs kovaexport on the process arguments: the files, then a summary line per message on
// `out`; every problem on `err`. Returns the exit status above.
int runExport(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

struct MessageSummary {
    std::uint64_t segments = 0;
    std::uint64_t records = 0;   // data lines
    std::uint64_t leftOut = 0;   // records named as left out
};

struct ExportSummary {
    MessageSummary oem;
    MessageSummary aem;
};

// The two passes: plans the OEM (and, with `aem`, the AEM) over `planningPass`, then writes
// them from its records walked again (RecordSource::rewind), or, where it cannot rewind, from
// a second source opened by `reopen`. False, with the reason in
// `error`, when a source fails, a message would have no record, the second pass departs from
// the first, or a sink fails; the sinks then hold an incomplete message.
bool exportMessages(RecordSource& planningPass, const std::function<std::unique_ptr<RecordSource>()>& reopen,
                    const MessageIdentity& identity, ByteSink& oem, ByteSink* aem, ExportSummary& summary,
                    std::string& error);

// The same with any of the outputs left out (a null sink or kernel set): the records of the
// first pass also go, numbered from 0, to `kernels`, which is finished after it. With no
// message asked for, the records are read once. False, with the reason in `error`, when a
// source fails, a message would have no record, the kernels have no stretch of two records,
// the second pass departs from the first, or a sink fails.
bool exportPass(RecordSource& firstPass, const std::function<std::unique_ptr<RecordSource>()>& reopen,
                const MessageIdentity& identity, ByteSink* oem, ByteSink* aem, SpiceKernelSet* kernels,
                ExportSummary& summary, std::string& error);

// A record as the kernel set takes it: `recordNumber` counted from 0 in kova's order.
void fillSpiceInput(const ExportRecord& record, std::uint64_t recordNumber, SpiceInputRecord& input);

// OBJECT_ID from the international designator of an element set (line 1, columns 10 to 17,
// YYNNNPPP): "19YY-NNNPPP" for YY 57 to 99, else "20YY-NNNPPP". Empty optional when the field
// is not two digits of year, three of launch number and one to three piece letters.
std::optional<std::string> objectIdFromDesignator(std::string_view field);

// CREATION_DATE text of a time in seconds since 1970-01-01T00:00:00 UTC.
std::string utcEpochText(std::int64_t unixSeconds);

}  // namespace kova
