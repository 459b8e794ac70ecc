// Option parsing: no option has a short form, and an option is matched
// whole (no abbreviations), so a script's command line means one thing.
#include "settings/options.h"

#include <cstring>
#include <string_view>

#include "settings/settings.h"

namespace {

// The option's value: after "=", else the next argument. Null when missing.
const char* option_value(int argc, char** argv, int& i, std::string_view given)
{
    const std::size_t equals = given.find('=');
    if (equals != std::string_view::npos)
        return argv[i] + equals + 1;
    if (i + 1 >= argc)
        return nullptr;
    return argv[++i];
}

bool read_scale(const char* text, int& scale)
{
    int n = 0;
    if (text[0] == '\0' || std::strlen(text) > 2)
        return false;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        n = n * 10 + (*p - '0');
    }
    if (n < 1 || n > SCALE_MAX)
        return false;
    scale = n;
    return true;
}

} // namespace

std::string parse_options(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const std::string_view name = arg.substr(0, arg.find('='));
        const bool has_value = name.size() != arg.size();
        const bool takes_value = name == "--scale" || name == "--config" || name == "--demo";
        if (has_value && !takes_value)
            return "option '" + std::string(name) + "' takes no value";
        if (name == "--help")
            o.help = true;
        else if (name == "--version")
            o.version = true;
        else if (name == "--window")
            o.window = true, o.fullscreen = false;
        else if (name == "--fullscreen")
            o.fullscreen = true, o.window = false;
        else if (name == "--nosound")
            o.nosound = true;
        else if (name == "--write-config")
            o.write_config = true;
        else if (takes_value) {
            const char* value = option_value(argc, argv, i, arg);
            if (value == nullptr)
                return "option '" + std::string(name) + "' needs a value";
            if (name == "--scale" && !read_scale(value, o.scale))
                return "--scale takes a whole number from 1 to " + std::to_string(SCALE_MAX) + ", not '" + value + "'";
            if (value[0] == '\0')
                return "option '" + std::string(name) + "' needs a file name";
            if (name == "--config")
                o.config = value;
            else if (name == "--demo")
                o.demo = value;
        } else {
            return "unrecognised argument '" + std::string(arg) + "'";
        }
    }
    return {};
}

void print_usage(std::FILE* out)
{
    std::fprintf(out,
                 "Usage: ironstep [OPTION]...\n"
                 "Steer a walking machine through a hilly town in 3D.\n"
                 "\n"
                 "  --window          play in a window\n"
                 "  --fullscreen      play full screen\n"
                 "  --scale N         the window's size in screens of 800 x 600, 1 to %d\n"
                 "  --nosound         play without sound\n"
                 "  --config FILE     read the settings from FILE instead of the usual place\n"
                 "  --write-config    write the default settings, with comments, to the usual\n"
                 "                    place (or to FILE given by --config) and exit\n"
                 "  --demo RECORDING  play RECORDING through DEMO instead of vesk\n"
                 "  --help            show this help and exit\n"
                 "  --version         show the version and exit\n"
                 "\n"
                 "Settings: $XDG_CONFIG_HOME/ironstep/ironstep.conf (see ironstep(6)).\n",
                 SCALE_MAX);
}
