// A stand-in joystick for the tests, never installed: preloaded into the
// game, it answers the Linux joystick ioctls that Allegro's driver asks of
// its device, which the test's Allegro configuration names as a named pipe
// carrying struct js_event records. Every other ioctl goes to the C library.
#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstring>

#include <dlfcn.h>
#include <linux/joystick.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

namespace {

constexpr std::uint32_t DRIVER_VERSION = 0x020100;
constexpr std::uint8_t AXES = 2;    // one stick: x and y
constexpr std::uint8_t BUTTONS = 6;

using IoctlFunction = int (*)(int, unsigned long, void*);

bool is_pipe(int fd)
{
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISFIFO(st.st_mode);
}

} // namespace

extern "C" int ioctl(int fd, unsigned long request, ...)
{
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    if (_IOC_TYPE(request) == 'j' && is_pipe(fd)) {
        switch (_IOC_NR(request)) {
        case _IOC_NR(JSIOCGVERSION):
            std::memcpy(arg, &DRIVER_VERSION, sizeof DRIVER_VERSION);
            return 0;
        case _IOC_NR(JSIOCGAXES):
            *static_cast<std::uint8_t*>(arg) = AXES;
            return 0;
        case _IOC_NR(JSIOCGBUTTONS):
            *static_cast<std::uint8_t*>(arg) = BUTTONS;
            return 0;
        case _IOC_NR(JSIOCGNAME(0)):
            std::strncpy(static_cast<char*>(arg), "stand-in pad", _IOC_SIZE(request));
            return 0;
        default:
            errno = EINVAL;
            return -1;
        }
    }
    static const auto real = reinterpret_cast<IoctlFunction>(dlsym(RTLD_NEXT, "ioctl"));
    return real(fd, request, arg);
}
