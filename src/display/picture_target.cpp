// The fast path of the scaling pass: the frame is composed in a framebuffer
// object of the picture's size, whose colour is a texture the pass draws as
// it is; the window then has no depth buffer, which keeps a software
// renderer's textured quad on its fast path. The entry points come from
// AllegroGL's extension table.
#include "display/picture_target.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <allegro.h>
#include <alleggl.h>

#include "display/picture.h"

namespace {

// The lookup, never projective, that lets a software renderer copy texels straight.
constexpr char SCALING_PROGRAM[] = "!!ARBfp1.0\nTEX result.color, fragment.texcoord[0], texture[0], 2D;\nEND\n";

// -1 until the first window opens; then 1 while the fast pass is wanted.
int fast_asked = -1;
bool offscreen = false;
GLuint framebuffer = 0;
GLuint colour_texture = 0;
GLuint depth_buffer = 0;
GLuint scaling_program = 0;
// Stored top row first, as Mesa keeps a window: see flip_like_the_window.
bool upside_down = false;

void say(const char* text)
{
    std::fprintf(stderr, "ironstep: %s\n", text);
}

// IRONSTEP_SCALING_PASS: fast (the default) or fallback.
bool fast_pass_asked()
{
    const char* pass = std::getenv("IRONSTEP_SCALING_PASS");
    if (pass == nullptr || *pass == '\0' || std::strcmp(pass, "fast") == 0)
        return true;
    if (std::strcmp(pass, "fallback") == 0)
        return false;
    say("IRONSTEP_SCALING_PASS is neither fast nor fallback: the fast pass where the driver offers it");
    return true;
}

bool fast_pass_offered()
{
    return allegro_gl_extensions_GL.EXT_framebuffer_object && allegro_gl_extensions_GL.ARB_fragment_program &&
           allegro_gl_extensions_GL.ARB_texture_non_power_of_two;
}

bool set_window_mode(int w, int h, int depth_bits, int how)
{
    allegro_gl_set(AGL_Z_DEPTH, depth_bits);
    allegro_gl_set(how, AGL_Z_DEPTH);
    return set_gfx_mode(GFX_OPENGL_WINDOWED, w, h, 0, 0) == 0;
}

std::string program_fault()
{
    glGenProgramsARB(1, &scaling_program);
    glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, scaling_program);
    glProgramStringARB(GL_FRAGMENT_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB, GLsizei(std::strlen(SCALING_PROGRAM)),
                       SCALING_PROGRAM);
    GLint error_at = -1;
    glGetIntegerv(GL_PROGRAM_ERROR_POSITION_ARB, &error_at);
    if (error_at == -1)
        return "";
    return std::string("the scaling pass's fragment program is refused: ") +
           reinterpret_cast<const char*>(glGetString(GL_PROGRAM_ERROR_STRING_ARB));
}

// Mesa draws a window's buffer top row first, so that its rasteriser's
// rounding (which pixel an edge through a pixel's centre lands on, where a
// magnified texel begins) is that of a picture upside down. A framebuffer
// object asked to be stored the same way draws the very same pixels as the
// window did; its texture then holds the picture upside down.
void flip_like_the_window()
{
    constexpr GLenum FRAMEBUFFER_FLIP_Y_MESA = 0x8BBB;
    using SetParameter = void (*)(GLenum target, GLenum name, GLint value);
    const auto set = reinterpret_cast<SetParameter>(allegro_gl_get_proc_address("glFramebufferParameteri"));
    upside_down = allegro_gl_is_extension_supported("GL_MESA_framebuffer_flip_y") && set != nullptr;
    if (upside_down)
        set(GL_FRAMEBUFFER_EXT, FRAMEBUFFER_FLIP_Y_MESA, GL_TRUE);
}

} // namespace

bool open_gl_window(int w, int h)
{
    if (fast_asked < 0)
        fast_asked = fast_pass_asked();
    offscreen = false;
    if (fast_asked == 1 && set_window_mode(w, h, 0, AGL_REQUIRE) && fast_pass_offered()) {
        offscreen = true;
        return true;
    }
    if (!set_window_mode(w, h, PICTURE_DEPTH_BITS, AGL_SUGGEST))
        return false;
    offscreen = fast_asked == 1 && fast_pass_offered();
    if (fast_asked == 1 && !offscreen) {
        say("the driver offers no framebuffer objects and fragment programs: the picture is scaled by the plain "
            "OpenGL pass");
        fast_asked = 0;
    }
    return true;
}

std::string start_picture_target()
{
    if (!offscreen)
        return "";
    glGenTextures(1, &colour_texture);
    glBindTexture(GL_TEXTURE_2D, colour_texture);
    // Unsized RGBA from BGRA: the driver keeps the window's own BGRA order,
    // and a software renderer's fast path wants that (a sized RGBA8 misses it).
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, PICTURE_WIDTH, PICTURE_HEIGHT, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenRenderbuffersEXT(1, &depth_buffer);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depth_buffer);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT16, PICTURE_WIDTH, PICTURE_HEIGHT);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    glGenFramebuffersEXT(1, &framebuffer);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, colour_texture, 0);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depth_buffer);
    flip_like_the_window();
    const GLenum status = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    if (status != GL_FRAMEBUFFER_COMPLETE_EXT) {
        char fault[160];
        std::snprintf(fault, sizeof fault,
                      "the picture's framebuffer object is incomplete (status 0x%04X); "
                      "IRONSTEP_SCALING_PASS=fallback scales without one",
                      unsigned(status));
        return fault;
    }
    const std::string fault = program_fault();
    glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, 0);
    return fault;
}

void stop_picture_target()
{
    if (!offscreen)
        return;
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glDeleteFramebuffersEXT(1, &framebuffer);
    glDeleteRenderbuffersEXT(1, &depth_buffer);
    glDeleteTextures(1, &colour_texture);
    glDeleteProgramsARB(1, &scaling_program);
    framebuffer = depth_buffer = colour_texture = scaling_program = 0;
    offscreen = false;
}

bool picture_offscreen()
{
    return offscreen;
}

void draw_to_picture()
{
    if (offscreen)
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
}

void draw_to_window()
{
    if (offscreen)
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}

bool picture_upside_down()
{
    return upside_down;
}

unsigned picture_texture_name()
{
    return colour_texture;
}

unsigned scaling_program_name()
{
    return scaling_program;
}

void read_picture_pixels(int x, int y, int w, int h, unsigned char* rgb)
{
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(offscreen ? GL_COLOR_ATTACHMENT0_EXT : GL_BACK);
    glReadPixels(x, y, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb);
}

void read_window_pixels(int w, int h, unsigned char* rgb)
{
    draw_to_window();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    draw_to_picture();
}
