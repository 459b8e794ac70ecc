// The options screen's pages show every row of the settings table, each on
// the page of its section; Left and Right keep a number within its range;
// a change copied for the file takes that setting alone.
#include <cctype>
#include <string>

#include <gtest/gtest.h>

#include "app/options_rows.h"
#include "settings/settings_table.h"

namespace {

TEST(OptionsRowsTest, EveryTableRowIsOnItsPageAndTurnsWithinItsRange)
{
    int shown = 0;
    for (int p = 0; p < OPTIONS_PAGE_COUNT; ++p) {
        const OptionsPage page = OptionsPage(p);
        for (int r = 0; r < page_row_count(page); ++r, ++shown) {
            const SettingRow& row = SETTINGS_TABLE[std::size_t(shown)];
            Settings s;
            const PageRow on_screen = page_row(page, r, s);
            std::string section = row.section;
            for (char& c : section)
                c = char(std::toupper(static_cast<unsigned char>(c)));
            EXPECT_EQ(page_name(page), section) << row.name;
            EXPECT_EQ(on_screen.help, row.comment) << row.name;
            if (row.kind != SettingKind::number && row.kind != SettingKind::button)
                continue;
            int& value = row.kind == SettingKind::button ? action_button(s, row.index) : s.*row.number;
            for (int press = 0; press < 200 && turn_page_row(page, r, 1, s); ++press) {
            }
            EXPECT_EQ(value, row.max) << row.name;
            EXPECT_FALSE(turn_page_row(page, r, 1, s)) << row.name << " stays at its end";
            Settings for_file;
            copy_page_row(page, r, s, for_file);
            Settings expected;
            (row.kind == SettingKind::button ? action_button(expected, row.index) : expected.*row.number) = row.max;
            EXPECT_TRUE(for_file == expected) << row.name << " alone is copied";
        }
    }
    EXPECT_EQ(shown, SETTING_COUNT) << "every row is shown, in the table's order";
    EXPECT_EQ(page_row_count(OptionsPage::defaults), 0);
}

} // namespace
