// Capturing a hot key as text, and reaching the field by keyboard.
#include "MenuFixture.h"

#include "TextViewForHotKey.h"
#include "TextView.h"
#include "TrellisHotKeyCellView.h"

namespace {

QString textFor(int key, Qt::KeyboardModifiers mods, quint32 scanCode = 0)
{
    QKeyEvent event(QEvent::KeyPress, key, mods, scanCode, 0, 0);
    return TextViewForHotKey::hotKeyText(event);
}

} // namespace

TEST(HotKeyText, Formats)
{
    EXPECT_EQ(textFor(Qt::Key_A, Qt::ShiftModifier), "shift + a");
    EXPECT_EQ(textFor(Qt::Key_A, Qt::AltModifier | Qt::ShiftModifier), "alt + a");
    EXPECT_EQ(textFor(Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier), "ctrl + k");
    EXPECT_EQ(textFor(Qt::Key_Z, Qt::NoModifier), "z");
    EXPECT_EQ(textFor(Qt::Key_5, Qt::NoModifier), "5");
    EXPECT_EQ(textFor(Qt::Key_Left, Qt::NoModifier), "←");
    EXPECT_EQ(textFor(Qt::Key_Right, Qt::NoModifier), "→");
    EXPECT_EQ(textFor(Qt::Key_Up, Qt::NoModifier), "↑");
    EXPECT_EQ(textFor(Qt::Key_Down, Qt::ControlModifier), "ctrl + ↓");
    // Keys with no character of their own give nothing.
    EXPECT_EQ(textFor(Qt::Key_Shift, Qt::ShiftModifier), "");
    EXPECT_EQ(textFor(Qt::Key_F5, Qt::NoModifier), "");
}

TEST(HotKeyText, ReadThroughTheUsKeymap)
{
    // X key code 38 is the key that reads "a" on a US keyboard, whatever the
    // user's layout calls it (here a layout that calls it "q").
    EXPECT_EQ(textFor(Qt::Key_Q, Qt::ShiftModifier, 38), "shift + a")
        << "is the US keymap of xkb-data installed?";
    EXPECT_EQ(textFor(Qt::Key_unknown, Qt::NoModifier, 113), "←"); // the Left key
    EXPECT_EQ(textFor(Qt::Key_Exclam, Qt::ShiftModifier, 10), "shift + 1");
}

using HotKeyRow = MenuFixture;

TEST_F(HotKeyRow, CaptureConfirmAndCancelByKeyboard)
{
    auto first = makeItem(QStringLiteral("first"));
    auto zoom = makeItem<TrellisItemHotKey>(QStringLiteral("zoom"));
    zoom->setValueOfHotKey(QStringLiteral("ctrl + ="));
    QStringList reported;
    QString storedWhenReported;
    zoom->eventValueChanged = [&](TrellisItem *i, const QVariant &v) {
        reported << v.toString();
        storedWhenReported = static_cast<TrellisItemHotKey *>(i)->valueOfHotKey();
    };
    show(trellisMenu({first, zoom}));
    TextViewForHotKey *field = static_cast<TrellisHotKeyCellView *>(cell(root, 1))->hotKeyView();
    EXPECT_EQ(field->text(), "ctrl + =");

    key(Qt::Key_Down);
    key(Qt::Key_Return);
    ASSERT_EQ(focus(), field) << "activating the row puts the keyboard in its field";
    EXPECT_EQ(field->palette().color(QPalette::Base), QColor(Qt::cyan));
    key(Qt::Key_A, Qt::ShiftModifier);
    EXPECT_EQ(field->text(), "shift + a");
    EXPECT_EQ(field->palette().color(QPalette::Text), QColor(Qt::blue));
    key(Qt::Key_Escape);
    EXPECT_EQ(field->text(), "ctrl + =");
    EXPECT_EQ(focus(), root->tableView()) << "Escape gives the keyboard back to the menu";
    EXPECT_TRUE(reported.isEmpty());
    EXPECT_EQ(field->palette().color(QPalette::Base), QColor(Qt::white));

    key(Qt::Key_Return);
    ASSERT_EQ(focus(), field);
    key(Qt::Key_Return);
    EXPECT_EQ(reported, QStringList({"ctrl + ="})) << "a cancelled key is never confirmed later";

    key(Qt::Key_Return);
    key(Qt::Key_Left, Qt::AltModifier);
    key(Qt::Key_Return);
    EXPECT_EQ(reported.last(), "alt + ←");
    EXPECT_EQ(storedWhenReported, "ctrl + =") << "reported first, stored after";
    EXPECT_EQ(zoom->valueOfHotKey(), "alt + ←");
    EXPECT_EQ(focus(), root->tableView());
    key(Qt::Key_Up);
    EXPECT_EQ(currentRow(root), 0) << "arrows move the menu again";
}

TEST_F(HotKeyRow, LeavingTheFieldCancels)
{
    auto zoom = makeItem<TrellisItemHotKey>(QStringLiteral("zoom"));
    zoom->setValueOfHotKey(QStringLiteral("x"));
    show(trellisMenu({zoom, makeItem(QStringLiteral("other"))}));
    TextViewForHotKey *field = static_cast<TrellisHotKeyCellView *>(cell(root, 0))->hotKeyView();
    key(Qt::Key_Return);
    key(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(field->text(), "ctrl + b");
    root->tableView()->setFocus();
    settle();
    EXPECT_EQ(field->text(), "x");
    EXPECT_EQ(zoom->valueOfHotKey(), "x");
}

TEST_F(HotKeyRow, DisabledFieldIgnoresKeys)
{
    auto zoom = makeItem<TrellisItemHotKey>(QStringLiteral("zoom"));
    zoom->setValueOfHotKey(QStringLiteral("x"));
    show(trellisMenu({zoom}));
    TextViewForHotKey *field = static_cast<TrellisHotKeyCellView *>(cell(root, 0))->hotKeyView();
    zoom->setDisabled(true);
    QTest::mouseClick(field, Qt::LeftButton);
    settle();
    EXPECT_EQ(focus(), root->tableView()) << "a disabled field does not take the keys";
    field->setFocus();
    settle();
    key(Qt::Key_Q);
    EXPECT_EQ(field->text(), "x");
    zoom->setDisabled(false);
    EXPECT_TRUE(field->isReadOnly()) << "a hot key field is never typed into";
}

TEST_F(HotKeyRow, TextEditRowReportsOnReturnAndRestoresOnEscape)
{
    auto name = makeItem<TrellisItemTextEdit>(QStringLiteral("name"));
    name->setValueOfTextEdit(QStringLiteral("Vizo"));
    QStringList reported;
    name->eventValueChanged = [&](TrellisItem *, const QVariant &v) { reported << v.toString(); };
    show(trellisMenu({name}));
    auto *field = static_cast<TrellisTexEditCellView *>(cell(root, 0))->textView();
    EXPECT_EQ(field->text(), "Vizo");
    key(Qt::Key_Return);
    ASSERT_EQ(focus(), field);
    QTest::keyClicks(field, "X");
    key(Qt::Key_Escape);
    EXPECT_EQ(field->text(), "Vizo");
    EXPECT_EQ(focus(), root->tableView());
    key(Qt::Key_Return);
    QTest::keyClicks(field, "2");
    key(Qt::Key_Return);
    EXPECT_EQ(reported, QStringList({"Vizo2"}));
    EXPECT_EQ(name->valueOfTextEdit(), "Vizo") << "storing the text is the application's choice";
    name->setValueOfTextEdit(QStringLiteral("Other"));
    EXPECT_EQ(field->text(), "Other");
}
