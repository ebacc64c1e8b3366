#include <bramble/BrHotKey.h>
#include <bramble/BrKeyMap.h>

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

struct Row
{
    quint16 keyCode;
    quint32 keysym;  // 0: the code must map to nothing
    int qtKey;
    bool keypad;
};

// Key codes of the hot key files against X keysyms and Qt keys.
const Row kRows[] = {
    {0x00, 0x0061, Qt::Key_A, false},         // A
    {0x06, 0x007a, Qt::Key_Z, false},         // Z
    {0x0B, 0x0062, Qt::Key_B, false},         // B (0x0A is skipped)
    {0x1D, 0x0030, Qt::Key_0, false},         // 0 of the main block
    {0x16, 0x0036, Qt::Key_6, false},         // 6 comes before 5
    {0x17, 0x0035, Qt::Key_5, false},
    {0x24, 0xff0d, Qt::Key_Return, false},    // Return
    {0x30, 0xff09, Qt::Key_Tab, false},       // Tab
    {0x31, 0x0020, Qt::Key_Space, false},     // Space
    {0x33, 0xff08, Qt::Key_Backspace, false}, // "Delete" is Backspace
    {0x75, 0xffff, Qt::Key_Delete, false},    // "Forward Delete" is Delete
    {0x35, 0xff1b, Qt::Key_Escape, false},    // Esc
    {0x73, 0xff50, Qt::Key_Home, false},
    {0x77, 0xff57, Qt::Key_End, false},
    {0x74, 0xff55, Qt::Key_PageUp, false},
    {0x79, 0xff56, Qt::Key_PageDown, false},
    {0x7B, 0xff51, Qt::Key_Left, false},
    {0x7C, 0xff53, Qt::Key_Right, false},
    {0x7D, 0xff54, Qt::Key_Down, false},
    {0x7E, 0xff52, Qt::Key_Up, false},
    {0x7A, 0xffbe, Qt::Key_F1, false},
    {0x78, 0xffbf, Qt::Key_F2, false},
    {0x63, 0xffc0, Qt::Key_F3, false},
    {0x60, 0xffc2, Qt::Key_F5, false},
    {0x6F, 0xffc9, Qt::Key_F12, false},
    {0x5A, 0xffd1, Qt::Key_F20, false},
    {0x18, 0x003d, Qt::Key_Equal, false},
    {0x1B, 0x002d, Qt::Key_Minus, false},
    {0x2C, 0x002f, Qt::Key_Slash, false},
    {0x32, 0x0060, Qt::Key_QuoteLeft, false},
    {0x52, 0xffb0, Qt::Key_0, true},          // keypad 0
    {0x5C, 0xffb9, Qt::Key_9, true},          // keypad 9
    {0x4C, 0xff8d, Qt::Key_Enter, true},      // keypad Enter
    {0x4E, 0xffad, Qt::Key_Minus, true},      // keypad minus
    {0x41, 0xffae, Qt::Key_Period, true},     // keypad decimal
    // No key here: ISO section, modifier keys alone, Fn, keypad Clear,
    // volume keys, codes beyond the keyboard.
    {0x0A, 0, 0, false},
    {0x34, 0, 0, false},
    {0x37, 0, 0, false},
    {0x38, 0, 0, false},
    {0x3B, 0, 0, false},
    {0x3F, 0, 0, false},
    {0x47, 0, 0, false},
    {0x48, 0, 0, false},
    {0x7F, 0, 0, false},
    {0xFFFF, 0, 0, false},
};

} // namespace

TEST(BrKeyMap, MapsKeyCodesToKeysymsAndQtKeys)
{
    for (const Row &row : kRows) {
        SCOPED_TRACE(testing::Message() << "key code 0x" << std::hex << row.keyCode);
        const auto mapping = brKeyMappingForKeyCode(row.keyCode);
        if (!row.keysym) {
            EXPECT_FALSE(mapping.has_value());
            continue;
        }
        ASSERT_TRUE(mapping.has_value());
        EXPECT_EQ(mapping->keysym, row.keysym);
        EXPECT_EQ(mapping->qtKey, row.qtKey);
        EXPECT_EQ(mapping->keypad, row.keypad);
        // And back.
        EXPECT_EQ(brKeyCodeForQtKey(row.qtKey, row.keypad), row.keyCode);
        EXPECT_EQ(brKeyCodeForKeysym(row.keysym), row.keyCode);
    }
}

TEST(BrKeyMap, TableIsOneToOne)
{
    std::set<quint32> keysyms;
    std::set<std::pair<int, bool>> qtKeys;
    int mapped = 0;
    for (int code = 0; code <= 0xFF; ++code) {
        const auto mapping = brKeyMappingForKeyCode(quint16(code));
        if (!mapping)
            continue;
        ++mapped;
        EXPECT_TRUE(keysyms.insert(mapping->keysym).second) << "keysym twice, code " << code;
        EXPECT_TRUE(qtKeys.insert({mapping->qtKey, mapping->keypad}).second) << "Qt key twice, code " << code;
        EXPECT_NE(mapping->name, nullptr);
    }
    // 26 letters, 10 digits, 20 function keys, 4 arrows, 6 navigation keys,
    // Return, Tab, Space, Backspace, Esc, 11 punctuation keys, 17 keypad keys.
    EXPECT_EQ(mapped, 26 + 10 + 20 + 4 + 6 + 5 + 11 + 17);
}

TEST(BrKeyMap, ReverseLookupsTellShiftedAndKeypadKeys)
{
    EXPECT_EQ(brKeyCodeForQtKey(Qt::Key_Exclam), 0x12);     // Shift+1
    EXPECT_EQ(brKeyCodeForQtKey(Qt::Key_Backtab), 0x30);    // Shift+Tab
    EXPECT_EQ(brKeyCodeForQtKey(Qt::Key_1, true), 0x53);    // keypad 1
    EXPECT_EQ(brKeyCodeForQtKey(Qt::Key_1, false), 0x12);   // main-block 1
    EXPECT_EQ(brKeyCodeForQtKey(Qt::Key_Enter, false), std::nullopt);
    EXPECT_EQ(brKeyCodeForQtKey(Qt::Key_Shift), std::nullopt);
    EXPECT_EQ(brKeyCodeForKeysym(0x0041), 0x00);            // XK_A
    EXPECT_EQ(brKeyCodeForKeysym(0xffe1), std::nullopt);    // XK_Shift_L
}

TEST(BrKeyMap, DescribesCombinationsInWords)
{
    EXPECT_EQ(brDescribeKeyCombination(0x7E, true, false, false, false), QStringLiteral("Ctrl+Up"));
    EXPECT_EQ(brDescribeKeyCombination(0x60, true, true, true, true), QStringLiteral("Ctrl+Alt+Shift+Meta+F5"));
    EXPECT_EQ(brDescribeKeyCombination(0x59, false, false, false, false), QStringLiteral("Num+7"));
    EXPECT_EQ(brDescribeKeyCombination(0x00, false, false, true, false), QStringLiteral("Meta+A"));
    EXPECT_EQ(brDescribeKeyCombination(0x47, false, false, false, true), QStringLiteral("Shift+KeyCode 0x47"));

    BrHotKey hotKey;
    hotKey.setOptionKey(true);
    hotKey.setKeyCode(0x7B);
    EXPECT_EQ(hotKey.description(), QStringLiteral("Alt+Left"));
}
