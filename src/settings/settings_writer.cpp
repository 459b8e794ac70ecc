// The one writer of settings files: the lines of the file already there are
// split as the reader splits them, so exactly the lines the reader would take
// are rewritten.
#include "settings/settings_writer.h"

#include <array>
#include <vector>

#include "platform/whole_file.h"
#include "settings/settings_file.h"
#include "settings/settings_line.h"
#include "settings/settings_table.h"

namespace {

constexpr const char* FILE_HEADER = "# Ironstep's settings. Lines are \"name = value\"; # starts a comment.\n"
                                    "# A line the game cannot use is named in a warning and keeps its default.\n";
constexpr std::size_t COMMENT_WIDTH = 78; // characters of a comment line, "# " included

// The text as "# " lines, its words wrapped.
void append_comment(std::string& out, std::string_view text)
{
    std::string line = "#";
    while (!text.empty()) {
        const std::size_t end = text.find(' ');
        const std::string_view word = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.size() > 1 && line.size() + 1 + word.size() > COMMENT_WIDTH) {
            out += line + "\n";
            line = "#";
        }
        line += ' ';
        line += word;
    }
    if (line.size() > 1)
        out += line + "\n";
}

void append_row(std::string& out, const SettingRow& row, const Settings& s)
{
    const std::string range = setting_range_text(row);
    append_comment(out, range.empty() ? std::string(row.comment) : row.comment + (" (" + range + ")"));
    out += row.name + (" = " + setting_value_text(row, s)) + "\n";
}

std::size_t index_of(const SettingRow& row)
{
    return std::size_t(&row - SETTINGS_TABLE.data());
}

std::size_t index_of(const SettingsSection& section)
{
    return std::size_t(&section - SETTINGS_SECTIONS.data());
}

// The line with the setting's value in place of the one it has, or, where
// that would be too long to read, the setting's line alone.
std::string rewritten(std::string_view line, const SettingsLine& split, const SettingRow& row, const Settings& s)
{
    const std::string value = setting_value_text(row, s);
    const std::size_t begin = std::size_t(split.value.data() - line.data());
    const bool spaced = begin == 0 || line[begin - 1] != '=';
    std::string text = std::string(line.substr(0, begin)) + (spaced ? "" : " ") + value +
                       std::string(line.substr(begin + split.value.size()));
    if (split_settings_line(text).kind != LineKind::setting)
        text = std::string(row.name) + " = " + value;
    return text;
}

} // namespace

std::string settings_text(std::string_view existing, const Settings& s)
{
    std::vector<std::string> lines;
    std::array<bool, SETTING_COUNT> written = {};
    // The line after which each section's missing settings go: its last
    // setting or header; -1 while the text has not had the section.
    std::array<int, SETTINGS_SECTIONS.size()> section_end;
    section_end.fill(-1);
    const SettingsSection* section = nullptr;
    while (!existing.empty()) {
        const std::size_t end = existing.find('\n');
        const std::string_view line = existing.substr(0, end);
        existing = end == std::string_view::npos ? std::string_view() : existing.substr(end + 1);
        const SettingsLine split = split_settings_line(line);
        const SettingRow* row = nullptr;
        if (split.kind == LineKind::section)
            section = settings_section(split.name);
        else if (split.kind == LineKind::bad_section)
            section = nullptr;
        else if (split.kind == LineKind::setting && section != nullptr)
            row = setting_row(section->name, split.name);
        if (section != nullptr && split.kind != LineKind::blank)
            section_end[index_of(*section)] = int(lines.size());
        if (row != nullptr)
            written[index_of(*row)] = true;
        lines.push_back(row != nullptr ? rewritten(line, split, *row, s) : std::string(line));
    }

    // What each section lacks, to go after its end or in a section of its own.
    std::array<std::string, SETTINGS_SECTIONS.size()> missing;
    for (const SettingRow& row : SETTINGS_TABLE)
        if (!written[index_of(row)])
            append_row(missing[index_of(*settings_section(row.section))], row, s);

    std::string out = lines.empty() ? FILE_HEADER : "";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += lines[i] + "\n";
        for (std::size_t k = 0; k < SETTINGS_SECTIONS.size(); ++k)
            if (section_end[k] == int(i))
                out += missing[k];
    }
    for (std::size_t k = 0; k < SETTINGS_SECTIONS.size(); ++k) {
        if (section_end[k] >= 0 || missing[k].empty())
            continue;
        if (out.size() >= 2 && out.compare(out.size() - 2, 2, "\n\n") != 0)
            out += "\n";
        out += "[" + std::string(SETTINGS_SECTIONS[k].name) + "]\n";
        append_comment(out, SETTINGS_SECTIONS[k].comment);
        out += missing[k];
    }
    return out;
}

std::string default_settings_text()
{
    return settings_text("", Settings{});
}

std::string save_settings(const std::string& path, const Settings& s)
{
    std::string existing;
    bool missing = false;
    const std::string wrong = read_settings_bytes(path.c_str(), existing, missing);
    if (!wrong.empty() && !missing)
        return path + ": " + wrong + "; nothing was written";
    if (!is_settings_text(existing))
        return path + ": not a settings file; nothing was written";
    const std::string text = settings_text(existing, s);
    if (text.size() > SETTINGS_FILE_MAX)
        return path + ": the settings would be too long for a settings file; nothing was written";
    return write_whole_file(path, text);
}
