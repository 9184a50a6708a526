#include "packets/nav_record.h"

#include <cstring>
#include <iomanip>
#include <ostream>

#include "core/big_endian.h"
#include "packets/packet_layout.h"
#include "time/time_scales.h"

namespace kova {

namespace {

constexpr int kPrintDecimals = 8;

std::ostream& printValues(std::ostream& out, const char* label, const double* values, std::size_t count) {
    out << label;
    for (std::size_t i = 0; i < count; ++i) out << values[i] << ' ';
    return out << ' ';
}

}  // namespace

NavRecord::NavRecord(std::uint32_t packetReadSize) : Packet(packetReadSize) {}

void NavRecord::decode() {
    if (size() >= nav_packet::kDecodedEnd) {
        decodeFields(data());
        return;
    }
    // A record too short for the decoded fields is read as if zero-padded.
    std::uint8_t padded[nav_packet::kDecodedEnd] = {};
    if (size() != 0) std::memcpy(padded, data(), size());
    decodeFields(padded);
}

void NavRecord::decodeFields(const std::uint8_t* bytes) {
    julianDate_ = julianDateFromTai58(be::loadU32(bytes + nav_packet::kTimeTagSeconds),
                                      be::loadU16(bytes + nav_packet::kTimeTagSubseconds));
    for (std::size_t i = 0; i < nav_packet::kReal48Count; ++i) {
        values_[i] = decodeReal48(bytes + nav_packet::kFirstReal48 + nav_packet::kReal48Size * i);
    }
    for (std::size_t i = 0; i < nav_packet::kReal32Count; ++i) {
        values_[nav_packet::kReal48Count + i] =
            decodeReal32(bytes + nav_packet::kFirstReal32 + nav_packet::kReal32Size * i);
    }
    qaFlags_ = 0;
}

std::uint32_t NavRecord::timeTagSeconds() const {
    if (size() < nav_packet::kTimeTagSeconds + 4) return 0;
    return be::loadU32(data() + nav_packet::kTimeTagSeconds);
}

std::uint16_t NavRecord::timeTagSubseconds() const {
    if (size() < nav_packet::kTimeTagSubseconds + 2) return 0;
    return be::loadU16(data() + nav_packet::kTimeTagSubseconds);
}

std::ostream& printNavRecord(std::ostream& out, const NavRecord& record) {
    printPacketHeader(out, record);
    out << std::fixed << std::setprecision(kPrintDecimals);
    out << "\nkova_timetag   = " << record.julianDate() << "  TAI seconds = " << record.timeTagSeconds();
    const NavValues& v = record.values();
    printValues(out, "\nkova_position  = ", v.data(), 3);
    printValues(out, "\nkova_velocity  = ", v.data() + 3, 3);
    printValues(out, "\nkova_attitude  = ", v.data() + 6, 4);
    printValues(out, "\nkova_att_rates = ", v.data() + 10, 3);
    return out;
}

}  // namespace kova
