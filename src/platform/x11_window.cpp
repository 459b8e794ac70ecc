// Xlib calls on the window AllegroGL made, under Allegro's lock of the display
// connection, which its input thread shares: the names, icons and size hints
// the desktop reads, and full screen. The full-screen state goes
// through the window manager (the desktop's standard _NET_WM_STATE_FULLSCREEN
// request), so the monitor keeps its mode and the other windows stay put.
#include "platform/x11_window.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include <allegro.h>
#include <xalleg.h>
#include <X11/Xatom.h>

#include "platform/game_icons.h"
#include "platform/png_file.h"
#include "platform/signals.h"

// The library's window icon, an XPM picture of its mascot unless set to null
// before the window is made; its headers do not declare it.
extern "C" void* allegro_icon;

namespace {

// The names the desktop knows the game's windows by (WM_CLASS).
constexpr char WINDOW_INSTANCE[] = "ironstep";
constexpr char WINDOW_CLASS[] = "Ironstep";

// A connection of our own that hears the window's size changes as they
// come, so no frame waits on a round trip to the server for it.
Display* watcher = nullptr;
int known_w = 0, known_h = 0;

constexpr long NET_WM_STATE_REMOVE = 0;
constexpr long NET_WM_STATE_ADD = 1;
constexpr long SOURCE_APPLICATION = 1;

// Reads up to `most` 32-bit items of a property of the given type, and hands
// them to `use` (with their count) when the property is there and of that
// type. Xlib's copy is freed after.
template <typename Use>
void read_property(Display* d, Window of, Atom property, Atom wanted_type, long most, Use use)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, of, property, 0, most, False, wanted_type, &type, &format, &count, &left, &data) ==
            Success &&
        type == wanted_type && format == 32)
        use(data, count);
    if (data != nullptr)
        XFree(data);
}

// The window named by a window property of another, or None.
Window window_property(Display* d, Window of, Atom property)
{
    Window found = None;
    read_property(d, of, property, XA_WINDOW, 1, [&](unsigned char* data, unsigned long count) {
        if (count == 1)
            found = *reinterpret_cast<Window*>(data);
    });
    return found;
}

bool supports(Display* d, Window root, Atom wanted)
{
    bool found = false;
    read_property(d, root, XInternAtom(d, "_NET_SUPPORTED", False), XA_ATOM, 4096,
                  [&](unsigned char* data, unsigned long count) {
                      const Atom* atoms = reinterpret_cast<Atom*>(data);
                      for (unsigned long i = 0; i < count && !found; ++i)
                          found = atoms[i] == wanted;
                  });
    return found;
}

void send_full_screen_state(Display* d, long action)
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = _xwin.window;
    event.xclient.message_type = XInternAtom(d, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = action;
    event.xclient.data.l[1] = long(XInternAtom(d, "_NET_WM_STATE_FULLSCREEN", False));
    event.xclient.data.l[3] = SOURCE_APPLICATION;
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

// AllegroGL fixes the window's size through its size hints (its minimum is
// its maximum); the game's keep only a minimum.
void allow_resizing(Display* d, int min_w, int min_h)
{
    XSizeHints* hints = XAllocSizeHints();
    if (hints == nullptr)
        return;
    hints->flags = PMinSize;
    hints->min_width = min_w;
    hints->min_height = min_h;
    XSetWMNormalHints(d, _xwin.window, hints);
    XFree(hints);
}

// _NET_WM_ICON: for each icon its width, its height, then its pixels as
// 0xAARRGGBB, row by row, each in a long as Xlib takes 32-bit items.
void set_icons(Display* d)
{
    using Item = unsigned long;
    std::vector<Item> property;
    std::vector<std::uint8_t> rgba;
    for (const PngBytes& icon : GAME_ICONS) {
        int w = 0, h = 0;
        if (!decode_png(icon.bytes, icon.size, GAME_ICON_MOST_SIDE, w, h, rgba).empty())
            continue;
        property.push_back(Item(w));
        property.push_back(Item(h));
        for (std::size_t i = 0; i + 3 < rgba.size(); i += 4)
            property.push_back(Item(rgba[i + 3]) << 24 | Item(rgba[i]) << 16 | Item(rgba[i + 1]) << 8 | rgba[i + 2]);
    }
    XChangeProperty(d, _xwin.window, XInternAtom(d, "_NET_WM_ICON", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(property.data()), int(property.size()));
}

} // namespace

void name_window_class()
{
    xwin_set_window_name(WINDOW_INSTANCE, WINDOW_CLASS);
    allegro_icon = nullptr;
}

void dress_window(int min_w, int min_h)
{
    XLOCK();
    Display* d = _xwin.display;
    // The library's title is plain ASCII, so it is UTF-8 as it stands.
    const char* title = _xwin.window_title;
    XChangeProperty(d, _xwin.window, XInternAtom(d, "_NET_WM_NAME", False), XInternAtom(d, "UTF8_STRING", False), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(title), int(std::strlen(title)));
    set_icons(d);
    allow_resizing(d, min_w, min_h);
    // The library's first window, never shown, leads the window group: it
    // is named as the game's too.
    if (_xwin.wm_window != None && _xwin.wm_window != _xwin.window) {
        XClassHint names = {const_cast<char*>(WINDOW_INSTANCE), const_cast<char*>(WINDOW_CLASS)};
        XSetClassHint(d, _xwin.wm_window, &names);
    }
    XFlush(d);
    XUNLOCK();
}

WindowManager find_window_manager()
{
    XLOCK();
    Display* d = _xwin.display;
    const Window root = DefaultRootWindow(d);
    const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
    // A running manager names a window of its own that names itself back.
    const Window own = window_property(d, root, check);
    WindowManager found = WindowManager::none;
    if (own != None && window_property(d, own, check) == own)
        found = supports(d, root, XInternAtom(d, "_NET_WM_STATE_FULLSCREEN", False)) ? WindowManager::full_screen
                                                                                      : WindowManager::other;
    XUNLOCK();
    return found;
}

void request_full_screen(WindowManager manager, int desktop_w, int desktop_h)
{
    XLOCK();
    Display* d = _xwin.display;
    if (manager == WindowManager::full_screen)
        send_full_screen_state(d, NET_WM_STATE_ADD);
    else
        XMoveResizeWindow(d, _xwin.window, 0, 0, unsigned(desktop_w), unsigned(desktop_h));
    XSync(d, False);
    XUNLOCK();
}

void request_window(WindowManager manager, int w, int h, int desktop_w, int desktop_h)
{
    XLOCK();
    Display* d = _xwin.display;
    if (manager == WindowManager::full_screen)
        send_full_screen_state(d, NET_WM_STATE_REMOVE);
    if (manager == WindowManager::none)
        XMoveResizeWindow(d, _xwin.window, (desktop_w - w) / 2, (desktop_h - h) / 2, unsigned(w), unsigned(h));
    else
        XResizeWindow(d, _xwin.window, unsigned(w), unsigned(h));
    XSync(d, False);
    XUNLOCK();
}

void follow_window_size()
{
    XLOCK();
    Window root = None;
    int x = 0, y = 0;
    unsigned int width = 0, height = 0, border = 0, depth = 0;
    if (XGetGeometry(_xwin.display, _xwin.window, &root, &x, &y, &width, &height, &border, &depth) != 0) {
        known_w = int(width);
        known_h = int(height);
    }
    if (watcher == nullptr)
        watcher = XOpenDisplay(DisplayString(_xwin.display));
    if (watcher != nullptr)
        XSelectInput(watcher, _xwin.window, StructureNotifyMask);
    XUNLOCK();
}

void read_window_size(int& w, int& h)
{
    while (watcher != nullptr && XPending(watcher) > 0) {
        XEvent event;
        XNextEvent(watcher, &event);
        if (event.type == ConfigureNotify) {
            known_w = event.xconfigure.width;
            known_h = event.xconfigure.height;
        } else if (event.type == DestroyNotify) {
            // Another program destroyed it: the library cannot go on without it.
            end_for_lost_window();
        }
    }
    w = known_w;
    h = known_h;
}

void stop_following_window_size()
{
    if (watcher != nullptr)
        XCloseDisplay(watcher);
    watcher = nullptr;
}
