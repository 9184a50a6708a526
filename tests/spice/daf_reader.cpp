#include "tests/spice/daf_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "spice/little_endian.h"

namespace kova::test {

namespace {

constexpr std::size_t kRecord = 1024;

std::int32_t intAt(const std::string& bytes, std::size_t offset) {
    return le::loadI32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset);
}
double doubleAt(const std::string& bytes, std::size_t offset) {
    return le::loadF64(reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset);
}

}  // namespace

bool DafReader::parse(std::string bytes) {
    bytes_ = std::move(bytes);
    if (bytes_.size() < kRecord || bytes_.size() % kRecord != 0) {
        error_ = "not a whole number of records";
        return false;
    }
    idWord = bytes_.substr(0, 8);
    doubleCount = intAt(bytes_, 8);
    integerCount = intAt(bytes_, 12);
    internalName = bytes_.substr(16, 60);
    forward = intAt(bytes_, 76);
    backward = intAt(bytes_, 80);
    freeAddress = intAt(bytes_, 84);
    format = bytes_.substr(88, 8);
    static const char kFtp[] = "FTPSTR:\r:\n:\r\n:\r\0:\x81:\x10\xce:ENDFTP";
    ftpIntact = std::memcmp(bytes_.data() + 699, kFtp, 28) == 0;
    if (doubleCount != 2 || integerCount != 6) {
        error_ = "ND/NI are not 2/6";
        return false;
    }
    const std::size_t records = bytes_.size() / kRecord;

    // Comment area: 1000 characters of each record 2 ... forward - 1 up to the EOT.
    commentRecords = forward - 2;
    comments.clear();
    std::string line;
    bool ended = commentRecords == 0;
    for (std::int32_t r = 0; r < commentRecords && !ended; ++r) {
        const std::size_t base = kRecord * static_cast<std::size_t>(r + 1);
        for (std::size_t i = 0; i < 1000 && !ended; ++i) {
            const char c = bytes_[base + i];
            if (c == '\x04') {
                ended = true;
            } else if (c == '\0') {
                comments.push_back(line);
                line.clear();
            } else {
                line.push_back(c);
            }
        }
    }
    if (!ended) {
        error_ = "comment area without its end mark";
        return false;
    }

    // Summaries along the NEXT chain; the name record follows each summary record.
    arrays.clear();
    std::int64_t summaryRecord = forward;
    std::int64_t previous = 0;
    const std::size_t summaryWords = static_cast<std::size_t>(doubleCount + (integerCount + 1) / 2);
    while (summaryRecord != 0) {
        if (summaryRecord < 2 || static_cast<std::size_t>(summaryRecord) + 1 > records) {
            error_ = "summary record outside the file";
            return false;
        }
        const std::size_t base = kRecord * static_cast<std::size_t>(summaryRecord - 1);
        const double next = doubleAt(bytes_, base);
        const double prev = doubleAt(bytes_, base + 8);
        const double count = doubleAt(bytes_, base + 16);
        if (prev != static_cast<double>(previous) || count < 1 || count > 125.0 / summaryWords) {
            error_ = "summary record control words wrong";
            return false;
        }
        for (std::size_t k = 0; k < static_cast<std::size_t>(count); ++k) {
            const std::size_t at = base + 8 * (3 + summaryWords * k);
            DafArrayEntry entry;
            entry.doubles = {doubleAt(bytes_, at), doubleAt(bytes_, at + 8)};
            for (std::size_t i = 0; i < 6; ++i) entry.integers[i] = intAt(bytes_, at + 16 + 4 * i);
            entry.name = bytes_.substr(base + kRecord + 8 * summaryWords * k, 8 * summaryWords);
            entry.summaryRecord = static_cast<std::int32_t>(summaryRecord);
            arrays.push_back(entry);
        }
        if (next == 0.0 && summaryRecord != backward) {
            error_ = "last summary record is not BWARD";
            return false;
        }
        previous = summaryRecord;
        summaryRecord = static_cast<std::int64_t>(next);
    }
    return true;
}

double DafReader::word(std::int64_t address) const {
    if (address < 1 || static_cast<std::size_t>(address) * 8 > bytes_.size()) return std::numeric_limits<double>::quiet_NaN();
    return doubleAt(bytes_, 8 * static_cast<std::size_t>(address - 1));
}

std::vector<double> DafReader::arrayWords(const DafArrayEntry& array) const {
    std::vector<double> words;
    for (std::int64_t a = array.integers[4]; a <= array.integers[5]; ++a) words.push_back(word(a));
    return words;
}

std::optional<std::array<double, 6>> spkType13State(const std::vector<double>& array, double et) {
    const std::size_t n = static_cast<std::size_t>(array.back());
    const std::size_t window = static_cast<std::size_t>(array[array.size() - 2]) + 1;
    const double* states = array.data();
    const double* epochs = array.data() + 6 * n;
    if (n < window || et < epochs[0] || et > epochs[n - 1]) return std::nullopt;
    // The last epoch at or before et, then window/2 states from there back and the rest ahead.
    const std::size_t at = static_cast<std::size_t>(std::upper_bound(epochs, epochs + n, et) - epochs) - 1;
    std::size_t first = at + 1 >= window / 2 ? at + 1 - window / 2 : 0;
    first = std::min(first, n - window);

    std::array<double, 6> result{};
    const std::size_t nodes = 2 * window;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        // Divided differences on doubled nodes: value and derivative at every epoch.
        std::vector<double> z(nodes), table(nodes * nodes, 0.0);
        auto q = [&](std::size_t i, std::size_t j) -> double& { return table[i * nodes + j]; };
        for (std::size_t i = 0; i < window; ++i) {
            const double* s = states + 6 * (first + i);
            z[2 * i] = z[2 * i + 1] = epochs[first + i];
            q(2 * i, 0) = q(2 * i + 1, 0) = s[axis];
            q(2 * i + 1, 1) = s[axis + 3];
            if (i > 0) q(2 * i, 1) = (q(2 * i, 0) - q(2 * i - 1, 0)) / (z[2 * i] - z[2 * i - 1]);
        }
        for (std::size_t j = 2; j < nodes; ++j) {
            for (std::size_t i = j; i < nodes; ++i) q(i, j) = (q(i, j - 1) - q(i - 1, j - 1)) / (z[i] - z[i - j]);
        }
        // Newton form and its derivative, by Horner's scheme from the highest term.
        double value = q(nodes - 1, nodes - 1);
        double slope = 0.0;
        for (std::size_t k = nodes - 1; k-- > 0;) {
            slope = slope * (et - z[k]) + value;
            value = value * (et - z[k]) + q(k, k);
        }
        result[axis] = value;
        result[axis + 3] = slope;
    }
    return result;
}

std::optional<std::array<double, 4>> ckType3Quaternion(const std::vector<double>& array, double ticks) {
    const std::size_t n = static_cast<std::size_t>(array.back());
    const std::size_t intervals = static_cast<std::size_t>(array[array.size() - 2]);
    const double* quaternions = array.data();
    const double* times = array.data() + 4 * n;
    const double* starts = times + n + (n - 1) / 100;
    if (ticks < times[0] || ticks > times[n - 1]) return std::nullopt;
    const std::size_t interval = static_cast<std::size_t>(std::upper_bound(starts, starts + intervals, ticks) - starts) - 1;
    const std::size_t at = static_cast<std::size_t>(std::upper_bound(times, times + n, ticks) - times) - 1;
    auto instance = [&](std::size_t i) {
        return std::array<double, 4>{quaternions[4 * i], quaternions[4 * i + 1], quaternions[4 * i + 2], quaternions[4 * i + 3]};
    };
    if (times[at] == ticks) return instance(at);
    // The next instance must lie in the same interval.
    if (interval + 1 < intervals && times[at + 1] >= starts[interval + 1]) return std::nullopt;
    std::array<double, 4> a = instance(at), b = instance(at + 1);
    double dot = a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3];
    if (dot < 0) {
        for (double& v : b) v = -v;
        dot = -dot;
    }
    const double fraction = (ticks - times[at]) / (times[at + 1] - times[at]);
    const double angle = std::acos(std::min(1.0, dot));
    std::array<double, 4> result{};
    if (angle < 1e-12) return a;
    const double wa = std::sin((1 - fraction) * angle) / std::sin(angle);
    const double wb = std::sin(fraction * angle) / std::sin(angle);
    for (std::size_t i = 0; i < 4; ++i) result[i] = wa * a[i] + wb * b[i];
    return result;
}

std::array<std::array<double, 3>, 3> cMatrixOfQuaternion(const std::array<double, 4>& q) {
    const double q0 = q[0], q1 = q[1], q2 = q[2], q3 = q[3];
    return {{{1 - 2 * (q2 * q2 + q3 * q3), 2 * (q1 * q2 - q0 * q3), 2 * (q1 * q3 + q0 * q2)},
             {2 * (q1 * q2 + q0 * q3), 1 - 2 * (q1 * q1 + q3 * q3), 2 * (q2 * q3 - q0 * q1)},
             {2 * (q1 * q3 - q0 * q2), 2 * (q2 * q3 + q0 * q1), 1 - 2 * (q1 * q1 + q2 * q2)}}};
}

TimeTag tagFromEphemerisTime(double et) {
    double tdt = et;
    for (int i = 0; i < 4; ++i) {
        const double m = 6.239996 + 1.99096871e-7 * tdt;
        tdt = et - 1.657e-3 * std::sin(m + 1.671e-2 * std::sin(m));
    }
    const double tai = tdt - 32.184;
    const double whole = std::floor(tai);
    TimeTag tag;
    tag.seconds = static_cast<std::int64_t>(whole) + 1325419200;
    const double count = std::round((tai - whole) / 1.52e-05);
    if (count >= 65790) {  // rounded up to the next second
        ++tag.seconds;
        tag.subsecondCount = 0;
    } else {
        tag.subsecondCount = static_cast<std::uint16_t>(count);
    }
    return tag;
}

TimeTag tagFromTicks(double ticks) {
    const auto whole = static_cast<std::int64_t>(ticks);
    return TimeTag{whole / 10000000, static_cast<std::uint16_t>(whole % 10000000 / 152)};
}

}  // namespace kova::test
