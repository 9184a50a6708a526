#include "tools/qa_flag_text.h"

#include <cstring>
#include <string_view>

#include "toolkit/layout.h"

namespace kova {

namespace {

struct NamedQaFlag {
    std::string_view label;
    unsigned bit;
};

constexpr NamedQaFlag kFlagTextOrder[] = {
    {"sgf(8)=", qa_flags::kSgf},   {"  sgb(7)=", qa_flags::kSgb}, {"  lgf(9)=", qa_flags::kLgf},
    {"  lgb(6)=", qa_flags::kLgb}, {"  rep(5)=", qa_flags::kRep},
};

}  // namespace

char* writeQaFlagText(char* out, std::uint32_t flagWord) {
    for (const NamedQaFlag& flag : kFlagTextOrder) {
        std::memcpy(out, flag.label.data(), flag.label.size());
        out += flag.label.size();
        *out++ = ((flagWord >> flag.bit) & 1u) != 0 ? '1' : '0';
    }
    return out;
}

}  // namespace kova
