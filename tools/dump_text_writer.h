#pragma once
// The text side of a dump: literals, fixed-width text fields and numbers in the dump's styles,
// gathered in one large buffer and handed to the dump file in big pieces. A dump of a ten-day
// file runs to close to a million lines; writing each line on its own would cost a system call
// per line, so a line end only ends the line and the text reaches the file when the buffer
// fills, on flush() and on destruction.
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string_view>

namespace kova {

class DumpTextWriter {
public:
    // Writes into `sink` (the dump file), which must outlive the writer.
    explicit DumpTextWriter(std::ostream& sink);
    ~DumpTextWriter();
    DumpTextWriter(const DumpTextWriter&) = delete;
    DumpTextWriter& operator=(const DumpTextWriter&) = delete;

    void text(std::string_view literal);
    // A fixed-width text field of a block: up to, not including, its first NUL byte; the
    // whole width when it has none. Blanks are kept.
    void textField(const std::uint8_t* field, std::size_t width);
    // One "\n".
    void lineEnd();

    // The plus sign applies to styles S and F and to nothing else.
    void setPlusSign(bool on) { plusSign_ = on; }
    bool plusSign() const { return plusSign_; }

    // Style U, or U2 / U5 with `width` 2 / 5.
    void unsignedNumber(std::uint32_t value, unsigned width = 0);
    // Style S.
    void signedNumber(std::int64_t value);
    // Styles F2, F6, F8 with `digits` 2, 6, 8.
    void fixedNumber(double value, int digits);
    // The QaFlag column: low 16 bits of the flag word as four lower-case hex digits.
    void hexFlagWord(std::uint32_t flagWord);
    // The named-bit text of a flag word.
    void qaFlagText(std::uint32_t flagWord);

    // Hands everything gathered so far to the sink and flushes it.
    void flush();

private:
    // Makes room for `length` more characters, emptying the buffer into the sink if needed.
    char* reserve(std::size_t length);
    void commit(char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }
    void drain();

    std::ostream& sink_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    bool plusSign_ = false;
};

}  // namespace kova
