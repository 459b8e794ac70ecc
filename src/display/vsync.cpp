// The swap interval through GLX: the entry points are looked up by name, as
// AllegroGL's own table knows only SGI's.
#include "display/vsync.h"

#include <cstring>

#include <allegro.h>
#include <alleggl.h>
#include <GL/glx.h>

namespace {

// True when the GLX extensions of the current display name this one, whole.
bool glx_offers(const char* name)
{
    Display* display = glXGetCurrentDisplay();
    if (display == nullptr)
        return false;
    const char* list = glXQueryExtensionsString(display, DefaultScreen(display));
    const std::size_t length = std::strlen(name);
    for (const char* at = list; at != nullptr && (at = std::strstr(at, name)) != nullptr; at += length)
        if ((at == list || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0'))
            return true;
    return false;
}

template <typename Call>
Call entry_point(const char* name)
{
    return reinterpret_cast<Call>(allegro_gl_get_proc_address(name));
}

} // namespace

bool use_vsync(bool on)
{
    const int interval = on ? 1 : 0;
    using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
    using SwapIntervalMesa = int (*)(unsigned);
    using SwapIntervalSgi = int (*)(int);
    if (glx_offers("GLX_EXT_swap_control")) {
        if (const auto set = entry_point<SwapIntervalExt>("glXSwapIntervalEXT")) {
            set(glXGetCurrentDisplay(), glXGetCurrentDrawable(), interval);
            return true;
        }
    }
    if (glx_offers("GLX_MESA_swap_control")) {
        if (const auto set = entry_point<SwapIntervalMesa>("glXSwapIntervalMESA"))
            return set(unsigned(interval)) == 0;
    }
    if (on && glx_offers("GLX_SGI_swap_control")) {
        if (const auto set = entry_point<SwapIntervalSgi>("glXSwapIntervalSGI"))
            return set(interval) == 0;
    }
    return false;
}
