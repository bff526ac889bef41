// The floor that quarvel-export's read + C array is measured against: one pass over
// a well-formed project file straight into the C array, in the same output format,
// with nothing the product adds: no checks, no map held in memory, no temporary
// file, no sync. It trusts its input; it is a yardstick, not a tool.
//
//   one-pass-c-array PROJECT OUTPUT
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kBlock = std::size_t{1} << 20;

// Bytes in, one block at a time; a line cut by the block's end is carried over.
class Input {
public:
    explicit Input(int fd) : fd_(fd) {}

    // The next line without its line end, valid until the next call.
    std::string_view line() {
        for (;;) {
            if (const void* lf = std::memchr(next_, '\n', static_cast<std::size_t>(end_ - next_))) {
                const char* start = next_;
                const char* stop = static_cast<const char*>(lf);
                next_ = stop + 1;
                if (stop != start && stop[-1] == '\r') --stop;
                return {start, static_cast<std::size_t>(stop - start)};
            }
            if (!refill()) {
                std::string_view rest(next_, static_cast<std::size_t>(end_ - next_));
                next_ = end_;
                return rest;
            }
        }
    }

    // A cell line's value, low 16 bits; 0 at the end of the file.
    std::uint16_t cell() {
        if (end_ - next_ < 16 && !refill() && next_ == end_) return 0;
        std::uint32_t value = 0;
        while (static_cast<unsigned char>(*next_ - '0') < 10) value = value * 10 + static_cast<std::uint32_t>(*next_++ - '0');
        if (*next_ == '\r') ++next_;
        ++next_;
        return static_cast<std::uint16_t>(value);
    }

private:
    // Moves what is left to the front and reads behind it; false at the end.
    bool refill() {
        const std::size_t left = static_cast<std::size_t>(end_ - next_);
        std::memmove(buffer_, next_, left);
        next_ = buffer_;
        end_ = buffer_ + left;
        const ssize_t got = ::read(fd_, buffer_ + left, kBlock);
        if (got <= 0) {
            buffer_[left] = '\n';  // a last line without its line end still stops the digits
            return false;
        }
        end_ += got;
        *const_cast<char*>(end_) = '\n';
        return true;
    }

    int fd_;
    char buffer_[2 * kBlock + 1];
    const char* next_ = buffer_;
    const char* end_ = buffer_;
};

class Output {
public:
    explicit Output(int fd) : fd_(fd) {}
    ~Output() { flush(); }

    void text(std::string_view bytes) {
        if (bytes.size() > kBlock - used_) flush();
        std::memcpy(buffer_ + used_, bytes.data(), bytes.size());
        used_ += bytes.size();
    }
    // Room for `bytes` more; the caller writes into end() and advances.
    char* room(std::size_t bytes) {
        if (bytes > kBlock - used_) flush();
        return buffer_ + used_;
    }
    void advance(char* to) { used_ = static_cast<std::size_t>(to - buffer_); }

private:
    void flush() {
        for (std::size_t done = 0; done < used_;) done += static_cast<std::size_t>(::write(fd_, buffer_ + done, used_ - done));
        used_ = 0;
    }

    int fd_;
    char buffer_[kBlock];
    std::size_t used_ = 0;
};

struct Digits {
    char text[7];
    std::uint8_t length;
};

std::array<Digits, 65536> digitTable() {
    std::array<Digits, 65536> table{};
    for (unsigned v = 0; v < table.size(); ++v)
        table[v].length = static_cast<std::uint8_t>(std::to_chars(table[v].text, table[v].text + 7, v).ptr - table[v].text);
    return table;
}

std::uint32_t decimal(std::string_view text) {
    std::uint32_t value = 0;
    for (char c : text) value = value * 10 + static_cast<std::uint32_t>(c - '0');
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: one-pass-c-array PROJECT OUTPUT\n");
        return 2;
    }
    const int in = ::open(argv[1], O_RDONLY);
    const int out = ::open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0) {
        std::perror("one-pass-c-array");
        return 1;
    }
    static Input input(in);
    static Output output(out);
    static const std::array<Digits, 65536> table = digitTable();

    input.line();  // the sheet's path
    const std::string label(input.line());
    const std::uint32_t width = decimal(input.line());
    const std::uint32_t height = decimal(input.line());

    output.text("\r\nconst unsigned short ");
    output.text(label);
    output.text("[] = {\r\n\r\n");
    // A line of eight values takes at most 8 x 6 bytes and its CR LF.
    constexpr std::size_t kLineRoom = 8 * 8 + 2;
    // Every row gives width / 8 + 1 lines: the last holds what is left, maybe nothing.
    for (std::uint32_t r = 0; r < height; ++r) {
        for (std::uint32_t left = width;; left -= 8) {
            char* at = output.room(kLineRoom);
            const std::uint32_t count = left < 8 ? left : 8;
            for (std::uint32_t k = 0; k < count; ++k) {
                const Digits& d = table[input.cell()];
                std::memcpy(at, d.text, 8);
                at[d.length] = ',';
                at += d.length + 1;
            }
            at[0] = '\r';
            at[1] = '\n';
            output.advance(at + 2);
            if (left < 8) break;
        }
    }
    output.text("};\r\n");
    return 0;
}
