// Option parsing over OPTIONS. An option is matched whole (no
// abbreviations), so a script's command line means one thing.
#include "settings/options.h"

#include <algorithm>
#include <string_view>

#include "settings/settings_line.h"

namespace {

constexpr std::size_t HELP_COLUMN = 20; // where the help texts start
constexpr std::size_t HELP_WIDTH = 79;

const OptionRow* option_named(std::string_view name)
{
    for (const OptionRow& row : OPTIONS)
        if (name == row.name || (row.short_name != '\0' && name.size() == 2 && name[0] == '-' &&
                                 name[1] == row.short_name))
            return &row;
    return nullptr;
}

std::string help_text(const OptionRow& row)
{
    if (row.kind == OptionKind::number)
        return std::string(row.help) + ", " + std::to_string(row.min) + " to " + std::to_string(row.max);
    return row.help;
}

} // namespace

std::string parse_options(int argc, char** argv, Settings& s, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const std::string_view name = arg.substr(0, arg.find('='));
        const OptionRow* row = option_named(name);
        if (row == nullptr)
            return "unrecognised argument '" + std::string(arg) + "'";
        const bool has_value = name.size() != arg.size();
        if (row->argument == nullptr && has_value)
            return "option '" + std::string(name) + "' takes no value";
        const char* value = nullptr;
        if (row->argument != nullptr) {
            if (has_value)
                value = argv[i] + name.size() + 1;
            else if (i + 1 < argc)
                value = argv[++i];
            else
                return "option '" + std::string(name) + "' needs a value";
        }
        switch (row->kind) {
        case OptionKind::run:
            options.*row->run = true;
            break;
        case OptionKind::flag:
            s.*row->flag = row->flag_value;
            if (row->run != nullptr)
                options.*row->run = true;
            break;
        case OptionKind::number:
            if (!read_number(value, row->min, row->max, s.*row->number))
                return std::string(row->name) + " takes a whole number from " + std::to_string(row->min) + " to " +
                       std::to_string(row->max) + ", not '" + value + "'";
            break;
        case OptionKind::file:
            if (value[0] == '\0')
                return "option '" + std::string(name) + "' needs a file name";
            options.*row->file = value;
            break;
        }
    }
    return {};
}

void print_usage(std::FILE* out)
{
    std::string text = "Usage: ironstep [OPTION]...\n"
                       "Steer a walking machine through a hilly town in 3D.\n"
                       "\n";
    for (const OptionRow& row : OPTIONS) {
        std::string line = "  ";
        if (row.short_name != '\0')
            line += std::string("-") + row.short_name + ", ";
        line += row.name;
        if (row.argument != nullptr)
            line += std::string(" ") + row.argument;
        // The help's words from HELP_COLUMN on, wrapped at HELP_WIDTH.
        const std::string help = help_text(row);
        std::string_view words = help;
        while (!words.empty()) {
            line.resize(std::max(line.size() + 1, HELP_COLUMN), ' ');
            std::size_t end = words.size();
            if (line.size() + words.size() > HELP_WIDTH)
                end = words.rfind(' ', HELP_WIDTH - line.size());
            line += words.substr(0, end);
            words = end >= words.size() ? std::string_view() : words.substr(end + 1);
            text += line + "\n";
            line.clear();
        }
    }
    text += "\nSettings: $XDG_CONFIG_HOME/ironstep/ironstep.conf (see ironstep(6)).\n";
    std::fputs(text.c_str(), out);
}
