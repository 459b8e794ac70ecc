// The rules of a key pressed for a control, apart from the screen.
#include "app/key_binding.h"

#include <cctype>

#include "settings/key_names.h"

namespace {

ControlKeys& keys_of(Settings& s, int control)
{
    return s.keys[std::size_t(control)];
}

// Filled places first: a cleared first key lets the second move up.
void pack(ControlKeys& keys)
{
    if (keys[0] == 0) {
        keys[0] = keys[1];
        keys[1] = 0;
    }
}

int key_count(const ControlKeys& keys)
{
    return (keys[0] != 0) + (keys[1] != 0);
}

// The control other than self holding the key, or -1.
int holder_of(const Settings& s, int self, int allegro_key)
{
    for (int c = 0; c < CONTROL_COUNT; ++c)
        if (c != self)
            for (const int k : s.keys[std::size_t(c)])
                if (k == allegro_key)
                    return c;
    return -1;
}

KeyBinding refused(std::string why)
{
    KeyBinding b;
    b.refusal = std::move(why);
    return b;
}

constexpr int PAUSE = int(Control::pause);

} // namespace

std::string control_label(int control)
{
    std::string label = CONTROLS[std::size_t(control)].name;
    for (char& c : label)
        c = c == '_' ? ' ' : char(std::toupper(static_cast<unsigned char>(c)));
    return label;
}

KeyBinding bind_key(Settings& s, int control, int slot, int allegro_key)
{
    const std::string name = key_name(allegro_key);
    if (allegro_key == KEY_F11)
        return refused("F11 is kept for full screen");
    if (allegro_key == KEY_ESC || name == "?")
        return refused("that key cannot be bound");
    if (control == PAUSE && (allegro_key == KEY_ENTER || allegro_key == KEY_ENTER_PAD))
        return refused(name + " opens the options in the pause");
    const int holder = holder_of(s, control, allegro_key);
    if (holder == PAUSE && key_count(keys_of(s, PAUSE)) == 1)
        return refused(name + " is the only key that ends the pause");

    ControlKeys& keys = keys_of(s, control);
    const int other_place = 1 - slot;
    if (keys[std::size_t(other_place)] == allegro_key) {
        // Already this control's in the other place: it stays there alone.
        keys[std::size_t(slot)] = 0;
    } else {
        if (slot == 1 && keys[0] == 0)
            slot = 0;
        keys[std::size_t(slot)] = allegro_key;
    }
    pack(keys);
    KeyBinding b;
    b.bound = true;
    if (holder >= 0) {
        ControlKeys& from = keys_of(s, holder);
        for (int& k : from)
            if (k == allegro_key)
                k = 0;
        pack(from);
        b.moved_from = holder;
    }
    return b;
}

KeyBinding clear_key(Settings& s, int control, int slot)
{
    ControlKeys& keys = keys_of(s, control);
    if (control == PAUSE && key_count(keys) == 1 && keys[std::size_t(slot)] != 0)
        return refused("the pause needs a key to end it");
    keys[std::size_t(slot)] = 0;
    pack(keys);
    KeyBinding b;
    b.bound = true;
    return b;
}
