#include "toolkit/record_batch.h"

#include <span>

#include "toolkit/attitude_angles.h"
#include "toolkit/record_stream.h"

namespace kova {

bool RecordBatch::refillFrom(NavRecordStream& stream) {
    size_ = 0;
    while (!streamEnded_ && size_ < kCapacity) {
        const NavRecord* record = stream.next();
        if (record == nullptr) {
            streamEnded_ = true;
            break;
        }
        julianDates_[size_] = record->julianDate();
        tags_[size_] = stream.currentTag();
        values_[size_] = record->values();
        qaFlags_[size_] = stream.currentQaFlags();
        ++size_;
    }
    attitudeAnglesOfRecords(std::span<const NavValues>(values_.data(), size_),
                            std::span<std::array<double, 3>>(angles_.data(), size_));
    return !streamEnded_;
}

}  // namespace kova
