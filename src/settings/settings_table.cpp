// The defaults and the values of the rows of SETTINGS_TABLE.
#include "settings/settings_table.h"

#include "settings/key_names.h"

Settings::Settings()
{
    for (const SettingRow& row : SETTINGS_TABLE)
        switch (row.kind) {
        case SettingKind::number:
            this->*row.number = row.default_value;
            break;
        case SettingKind::choice:
            this->*row.choice = row.default_value != 0;
            break;
        case SettingKind::keys:
            keys[std::size_t(row.index)] = CONTROLS[std::size_t(row.index)].default_keys;
            break;
        case SettingKind::button:
            gamepad_buttons[std::size_t(row.index)] = row.default_value;
            break;
        }
}

const SettingRow* setting_row(std::string_view section, std::string_view name)
{
    for (const SettingRow& row : SETTINGS_TABLE)
        if (row.section == section && row.name == name)
            return &row;
    return nullptr;
}

const SettingsSection* settings_section(std::string_view name)
{
    for (const SettingsSection& section : SETTINGS_SECTIONS)
        if (section.name == name)
            return &section;
    return nullptr;
}

std::string setting_value_text(const SettingRow& row, const Settings& s)
{
    switch (row.kind) {
    case SettingKind::number:
        return std::to_string(s.*row.number);
    case SettingKind::choice:
        return row.words[s.*row.choice ? 0 : 1];
    case SettingKind::keys: {
        std::string text;
        for (const int k : s.keys[std::size_t(row.index)])
            if (k != 0)
                text += (text.empty() ? "" : " ") + std::string(key_name(k));
        return text.empty() ? "none" : text;
    }
    case SettingKind::button:
        return std::to_string(s.gamepad_buttons[std::size_t(row.index)]);
    }
    return "";
}

std::string setting_range_text(const SettingRow& row)
{
    switch (row.kind) {
    case SettingKind::number:
        return std::to_string(row.min) + " to " + std::to_string(row.max);
    case SettingKind::choice:
        return std::string(row.words[0]) + " or " + row.words[1];
    case SettingKind::keys:
    case SettingKind::button:
        return "";
    }
    return "";
}
