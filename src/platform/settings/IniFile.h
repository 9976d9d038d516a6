#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillmark {

// An INI text (sections of key=value lines) that keeps the order and the comments of what it
// read, so that changing one value leaves the rest of the file as the user wrote it. Section
// and key names compare case-insensitively. Values are trimmed; backslash, CR, LF, tab and a
// blank at either end of a value are written as \\, \r, \n, \t and \s.
class IniFile {
public:
    // Throws RuntimeError 75 at the line that is neither blank, a comment, a section nor a key,
    // the problem saying what it should be.
    static IniFile Parse(const std::string& text);

    std::optional<std::string> Get(const std::string& section, const std::string& key) const;
    void Set(const std::string& section, const std::string& key, const std::string& value);
    std::string Text() const;

private:
    struct Line {
        std::string raw;     // kept as read for comments and blank lines
        std::string section; // for section headers
        std::string key;     // for key lines
        std::string value;   // unescaped
        enum Kind { Other, Section, Key } kind = Other;
    };
    std::vector<Line> lines_;
};

} // namespace quillmark
