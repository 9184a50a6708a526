#pragma once
// The files one run writes, made to appear together or not at all.
//
//   OutputSet outputs;
//   outputs.addInput("packet file", packetName);
//   OutputMember& oem = outputs.addOutput("OEM file", oemName);
//   if (const auto conflict = outputs.findConflict()) ... refuse, nothing was created
//   if (!outputs.open()) ... outputs.problem()
//   oem.write(...);
//   if (!outputs.commit()) ... outputs.problem()
//
// Every name is checked against the inputs and the other outputs before anything is created.
// A name that denotes a regular file, or nothing yet, is written under a short temporary name
// in the folder of the file it finally denotes (symbolic links followed, so a link keeps
// pointing at the new file), synced, and renamed over that file only when every member is
// complete: a member that fails leaves every file of the set as it was. A replaced file keeps
// its mode. A name that denotes a character device, a FIFO or a terminal is written as it is:
// never replaced, renamed, locked or synced, and never "the same file" as another name.
// While it renames, the set holds an exclusive lock on every folder it renames into (taken in
// one order), so that runs writing one set at once never leave members of different runs.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/output_member.h"
#include "core/sync_ahead.h"

namespace kova {

// Two names of a run that denote one file: an output and an input, or two outputs.
struct NameConflict {
    std::string outputRole;
    std::string outputName;
    std::string otherRole;  // the input's role, or the earlier output's
    std::string otherName;
    bool otherIsOutput = false;
};

class OutputSet {
public:
    OutputSet() = default;
    OutputSet(const OutputSet&) = delete;
    OutputSet& operator=(const OutputSet&) = delete;
    // Removes the temporary files of members not committed.
    ~OutputSet();

    // A file the run reads; an empty name is ignored.
    void addInput(std::string_view role, const std::string& name);
    // A file the run writes; the reference stays valid for the set's life.
    OutputMember& addOutput(std::string_view role, const std::string& name);

    // The first output (in the order added) that denotes a regular file, or a file not yet
    // there, that an input or an earlier output denotes too: the same existing file (through
    // hard or symbolic links), or the same path once resolved. Inputs are checked first.
    std::optional<NameConflict> findConflict() const;

    // Creates every member's temporary file (or opens its device). False, with nothing left
    // behind and problem() set, when one cannot be made.
    bool open();
    // Completes every member and renames them all. False, with every earlier file of these
    // names as it was, no temporary file left and problem() set, when any member failed.
    bool commit();
    // Removes every temporary file; nothing is renamed.
    void discard();

    // "cannot create the OEM file pass.oem: No such file or directory" and the like.
    const std::string& problem() const { return problem_; }

private:
    bool failWith(std::string_view verb, const OutputMember& member);
    bool renameAll();

    struct NamedInput {
        std::string role;
        std::string name;
    };
    std::vector<NamedInput> inputs_;
    std::unique_ptr<SyncAhead> syncAhead_;  // before the members: it outlives them
    std::vector<std::unique_ptr<OutputMember>> members_;
    std::string problem_;
};

// The conflict in words: "the OEM file x names the same file as the packet file".
std::string describeConflict(const NameConflict& conflict);

}  // namespace kova
