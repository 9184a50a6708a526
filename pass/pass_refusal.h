#pragma once
// Why the inputs of a pass cannot be read, one value per check, in the order of the checks.
// Each program words them itself.

namespace kova {

// Why a pass cannot be read, in the order of the checks.
enum class PassRefusal {
    kNoPacketFileName,
    kPacketFileIsDirectory,
    kPacketFileNotRegular,      // a device, a pipe, a socket: the file is read twice
    kPacketFileNotOpenable,     // openError() holds the system's reason
    kPacketFileNotIndexable,    // a read error or an invalid packet header while indexing
    kNoradFileNotOpenable,      // missing, unreadable or not a regular file
    kElementSetNotFound,        // no name line with two lines after it
    kFewerThanTwoNavigationPackets,
    kEndPacketUnreadable,       // the first or last navigation packet is short or of another length
};

}  // namespace kova
