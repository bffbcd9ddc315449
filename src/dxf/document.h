#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace dxf {

// A file that cannot be read or written. what() is the user's message; for
// a damaged file it names the line and what was expected there.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string &message) : std::runtime_error(message) {}
    Error(std::size_t line, const std::string &expected);
    std::size_t line() const { return m_line; }  // 0: not about a line

private:
    std::size_t m_line = 0;
};

// One group: a code line and a value line, where they lie in the file.
// Kept small: a large drawing has millions of them. Tags follow each other
// without gaps, so a tag ends where the next begins.
struct Tag {
    std::uint32_t begin = 0;        // first byte of the code line
    std::uint32_t valueLength = 0;  // without its line end
    std::uint16_t valueOffset = 0;  // value line, from `begin`
    std::int16_t code = 0;
};

// Replaces the tags [first, last) by `bytes` when a document is written;
// first == last inserts before tag `first`.
struct Patch {
    std::size_t first = 0;
    std::size_t last = 0;
    std::string bytes;
};

// An ASCII DXF file as a list of tags over its unchanged bytes. Writing
// with no patches gives the same bytes back: line ends (CR LF or LF, line
// by line), padding of the codes and whatever follows "0 EOF" are kept.
class Document {
public:
    Document() = default;
    // Raises Error for a binary DXF, a line that is no group code, a
    // missing value line, sections not closed before "0 EOF", or a file of
    // 4 GB or more.
    static Document parse(std::string bytes);

    std::size_t size() const { return m_tags.size(); }
    const Tag &tag(std::size_t i) const { return m_tags[i]; }
    int code(std::size_t i) const { return m_tags[i].code; }
    std::string_view value(std::size_t i) const;
    // The value with surrounding blanks removed, as numbers and names are read.
    std::string_view trimmed(std::size_t i) const;
    std::string_view raw(std::size_t i) const;
    bool is(std::size_t i, int code, std::string_view value) const;
    // 1-based line of the tag's code; its value is on the next line.
    static std::size_t lineOf(std::size_t i) { return 2 * i + 1; }
    const std::string &bytes() const { return m_bytes; }

    // Numbers of a tag; Error names the line when the value is not one.
    double real(std::size_t i) const;
    long long integer(std::size_t i) const;

    // How new tags are written: the line end of tag `near`, and codes right
    // aligned in three columns when the file does so.
    std::string format(int code, std::string_view value, std::size_t near) const;

    // The whole file with `patches` (sorted, not overlapping) applied.
    std::string render(const std::vector<Patch> &patches) const;

private:
    std::size_t end(std::size_t i) const { return i + 1 < m_tags.size() ? m_tags[i + 1].begin : m_tagsEnd; }

    std::string m_bytes;
    std::vector<Tag> m_tags;
    std::size_t m_tagsEnd = 0;  // past the last tag; what follows "0 EOF" is kept as it is
    bool m_padded = false;
};

}  // namespace dxf
