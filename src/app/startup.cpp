// Start-up in its fixed order, and shutdown. Only start-up can fail: a refused
// graphics mode ends with status 1, an unusable datafile with status 12.
#include "app/startup.h"

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "app/command_line.h"
#include "app/main_loop.h"
#include "app/title_menu.h"
#include "display/picture.h"
#include "display/vsync.h"
#include "display/window_mode.h"
#include "game/game_data.h"
#include "game/game_state.h"
#include "game/resources.h"
#include "game/startup_tables.h"
#include "game/timers.h"
#include "gameplay/player.h"
#include "gameplay/projectiles.h"
#include "gameplay/terrain.h"
#include "input/demo.h"
#include "models/meshes.h"
#include "models/model_data.h"
#include "platform/message_box.h"
#include "platform/signals.h"
#include "settings/settings.h"
#include "sound/sound.h"
#include "world/scenery.h"

DATAFILE* game_data = nullptr;
FONT* hud_font = nullptr;
GLuint minimap_texture = 0;
GLuint banner_texture = 0;
FILE* demo_file = nullptr;
StartupSplit startup_split;

namespace {

// Adds the time since the last lap to one of the split's steps.
class StepClock {
public:
    void lap(double& step)
    {
        const auto now = std::chrono::steady_clock::now();
        step += std::chrono::duration<double, std::milli>(now - last_).count();
        last_ = now;
    }

private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

RGB_MAP rgb_table;
COLOR_MAP light_table;

constexpr int DATAFILE_PATH_SIZE = 256;
constexpr int ALLEGRO_MESSAGE_TEXT_SIZE = 4096; // the library's own limit for allegro_message

const char* const GRAPHICS_ERROR = "Error setting OpenGL graphics mode:\n%s\nAllegro GL error : %s\n";
const char* const NO_DISPLAY_ERROR = "Cannot connect to an X display";
// Without a display AllegroGL was never asked for a mode, so it has nothing to add.
const char* const NO_DISPLAY_FORMAT = "Error setting OpenGL graphics mode:\n%s\n";
const char* const DATAFILE_ERROR = "Error loading %s!\n\n";
const char* const PROGRESS_BAR =
    "<................................................................>\r<";
constexpr int PROGRESS_BAR_STARS = 64;

// Stars printed on the current bar. The library may report a table's progress
// only now and then (the lighting table once, at 255), so each report fills
// the bar up to its position.
int progress_stars_printed = 0;

// A start-up failure's message, formatted as allegro_message would: on
// standard error, and in the message box where there is a display.
__attribute__((format(printf, 2, 3))) void say_startup_failure(bool display_there, const char* format, ...)
{
    char text[ALLEGRO_MESSAGE_TEXT_SIZE];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    report_failure(text, display_there);
}

void print_progress_bar()
{
    std::printf("%s", PROGRESS_BAR);
    progress_stars_printed = 0;
}

} // namespace

void build_startup_palette(PALETTE palette)
{
    palette[0] = {0, 0, 0, 0};
    for (int i = 1; i < 64; ++i)
        palette[i] = desktop_palette[i];
    for (int i = 64; i < 96; ++i)
        palette[i] = {static_cast<unsigned char>(2 * (i - 64)), 0, 0, 0};
    for (int i = 96; i < 128; ++i)
        palette[i] = {0, static_cast<unsigned char>(2 * (i - 96)), 0, 0};
    for (int i = 128; i < 256; ++i) {
        const auto grey = static_cast<unsigned char>((i - 128) / 2);
        palette[i] = {grey, grey, grey, 0};
    }
}

namespace {

void build_colour_tables()
{
    PALETTE palette;
    build_startup_palette(palette);

    std::printf("Generating rgb_map table:\n");
    print_progress_bar();
    create_rgb_table(&rgb_table, palette, report_table_progress);
    rgb_map = &rgb_table;
    std::printf("\n\n");

    std::printf("Generating lighting table:\n");
    print_progress_bar();
    create_light_table(&light_table, palette, 0, 0, 0, report_table_progress);
    color_map = &light_table;
    std::printf("\n");
    std::fflush(stdout);
}

void choose_display_settings()
{
    allegro_gl_clear_settings();
    allegro_gl_set(AGL_COLOR_DEPTH, 32);
    allegro_gl_set(AGL_Z_DEPTH, PICTURE_DEPTH_BITS);
    allegro_gl_set(AGL_DOUBLEBUFFER, 1);
    allegro_gl_set(AGL_STENCIL_DEPTH, 0);
    allegro_gl_set(AGL_RENDERMETHOD, 1);
    allegro_gl_set(AGL_WINDOWED, 0);
    allegro_gl_set(AGL_SUGGEST, AGL_COLOR_DEPTH | AGL_Z_DEPTH | AGL_DOUBLEBUFFER | AGL_STENCIL_DEPTH |
                                    AGL_RENDERMETHOD | AGL_WINDOWED);
}

// The state that holds for the whole run unless a drawing step changes it.
void set_fixed_gl_state()
{
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_DEPTH_TEST);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glDisable(GL_POLYGON_SMOOTH);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glLineWidth(8.0f);
    glHint(GL_FOG_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glShadeModel(GL_SMOOTH);
}

// The font's glyphs become alpha textures; every later texture is mipmapped RGB.
void make_font()
{
    allegro_gl_use_mipmapping(TRUE);
    allegro_gl_set_texture_format(GL_ALPHA8);
    hud_font = allegro_gl_convert_allegro_font(font, AGL_FONT_TYPE_TEXTURED, 16.0f);
    glBindTexture(GL_TEXTURE_2D, 0);
    allegro_gl_set_texture_format(GL_RGB8);
}

void make_textures()
{
    minimap_texture = allegro_gl_make_texture(game_bitmap(BUILDING_MAP_BITMAP));
    banner_texture = allegro_gl_make_texture(game_bitmap(BANNER_BITMAP));
    glBindTexture(GL_TEXTURE_2D, 0);
}

// Linear fog from 400 to 1400 units from the eye.
void set_fog()
{
    const GLfloat fog_colour[4] = {0.75f, 0.7f, 0.65f, 1.0f};
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, fog_colour);
    glFogf(GL_FOG_DENSITY, 0.0015f);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glFogf(GL_FOG_START, 400.0f);
    glFogf(GL_FOG_END, 1400.0f);
}

void install_timers()
{
    install_int(clock_callback, 1);
    install_int_ex(tick_callback, BPS_TO_TIMER(60));
}

} // namespace

DisplayChoice display_choice()
{
    std::string complaint;
    DisplayChoice choice =
        read_display_choice(std::getenv("IRONSTEP_WINDOW"), std::getenv("IRONSTEP_SCALING"), complaint);
    if (!complaint.empty())
        std::fprintf(stderr, "ironstep: %s\n", complaint.c_str());
    if (!settings.fullscreen || settings.scale != 0) {
        choice.window_scale = settings.scale;
        choice.window_size = {0, 0};
    }
    if (!settings.fullscreen || run_options.display_mode_given)
        choice.windowed = !settings.fullscreen;
    // IRONSTEP_SCALING, for this run, stands above the setting.
    const char* scaling = std::getenv("IRONSTEP_SCALING");
    if (scaling == nullptr || scaling[0] == '\0')
        choice.scaling = settings.smooth_scaling ? Scaling::smooth : Scaling::whole;
    return choice;
}

BITMAP* game_bitmap(GameDataObject index)
{
    return static_cast<BITMAP*>(game_data[index].dat);
}

void report_table_progress(int pos)
{
    // Position 4 k + 3 earns star k + 1, so positions 0..255 give 64 stars.
    const int due = std::min((pos + 1) / 4, PROGRESS_BAR_STARS);
    if (due <= progress_stars_printed)
        return;
    for (; progress_stars_printed < due; ++progress_stars_printed)
        std::printf("*");
    std::fflush(stdout);
}

int start_up(const char* executable)
{
    startup_split = {};
    StepClock clock;
    StartupSplit& split = startup_split;
    hold_stop_signals();
    if (allegro_init() != 0) {
        catch_stop_signals();
        // Under X11 the system driver needs a display. Without one, Allegro's
        // keyboard driver would crash, so end here; with no system driver the
        // message goes to the console.
        ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, NO_DISPLAY_ERROR);
        say_startup_failure(false, NO_DISPLAY_FORMAT, allegro_error);
        return EXIT_NO_GRAPHICS;
    }
    install_allegro_gl();
    install_keyboard();
    install_mouse();
    install_timer();
    catch_stop_signals();
    std::srand(unsigned(std::time(nullptr)));
    clock.lap(split.display_ms);

    build_colour_tables();
    clock.lap(split.tables_ms);

    choose_display_settings();
    if (!open_game_display(display_choice())) {
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
        say_startup_failure(true, GRAPHICS_ERROR, allegro_error, allegro_gl_error);
        return EXIT_NO_GRAPHICS;
    }
    use_vsync(settings.vsync);
    clock.lap(split.display_ms);

    // The data lies beside the program itself, wherever it was started from:
    // through a folder on PATH or a symbolic link, argv[0] would name neither.
    char own_executable[DATAFILE_PATH_SIZE];
    if (executable == nullptr) {
        get_executable_name(own_executable, sizeof own_executable);
        executable = own_executable;
    }
    char path[DATAFILE_PATH_SIZE];
    replace_filename(path, executable, "height.dat", sizeof path);
    game_data = load_game_data(path);
    if (game_data == nullptr) {
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
        say_startup_failure(true, DATAFILE_ERROR, path);
        return EXIT_NO_DATAFILE;
    }
    clock.lap(split.datafile_ms);

    set_fixed_gl_state();
    clock.lap(split.rest_ms);
    make_font();
    clock.lap(split.font_textures_ms);
    glClearColor(0.4f, 0.5f, 0.7f, 0.5f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    clock.lap(split.rest_ms);

    init_player_model();
    clock.lap(split.tables_ms);
    install_timers();
    clock.lap(split.rest_ms);
    make_textures();
    clock.lap(split.font_textures_ms);
    load_terrain();
    // A scenery file that cannot serve ends start-up like an unusable datafile;
    // no partial town is ever drawn.
    char scenery_path[DATAFILE_PATH_SIZE];
    replace_filename(scenery_path, executable, SCENERY_FILE_NAME, sizeof scenery_path);
    if (!load_scenery(scenery_path)) {
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
        say_startup_failure(true, "%s", scenery_error_message());
        return EXIT_NO_DATAFILE;
    }
    set_fog();
    clock.lap(split.rest_ms);

    init_carrier_waypoints();
    init_flyer_model();
    init_walker_model();
    init_carrier_model();
    reset_projectiles();
    init_box_faces();
    init_sphere_proxy_faces();
    init_cylinder_proxy_faces();
    init_input_indicator_rects();
    clock.lap(split.tables_ms);

    open_demo_file(executable);
    clock.lap(split.rest_ms);
    return EXIT_NORMAL;
}

void place_player_for_mode()
{
    player_position.x = game.demo_mode == 1 ? START_X_DEMO : START_X_PLAY;
    player_position.z = START_Z;
    game.pending_ticks.store(0);
    game.demo_index = 1;
    camera_eye.y = player_position.y;
    player_proposed_xz = {player_position.x, player_position.z};
}

void shut_down()
{
    stop_sound();
    if (demo_file != nullptr) {
        std::fclose(demo_file);
        demo_file = nullptr;
    }
    allegro_gl_destroy_font(hud_font);
    hud_font = nullptr;
    unload_datafile(game_data);
    game_data = nullptr;
    close_game_display();
}

int run_game()
{
    const int status = start_up(nullptr);
    if (status != EXIT_NORMAL)
        return status;
    apply_run_options();
    start_sound();

    // The title menu stands between start-up and the game: the player is
    // placed for the mode chosen there, unless the menu quit.
    run_title_menu();
    place_player_for_mode();
    if (title_menu.quit == 0)
        run_main_loop();
    shut_down();
    return stop_exit_status(EXIT_NORMAL);
}
