#pragma once
// One colour slot of a camera view: a text colour code and a background
// colour code (0 Disable, 1 Natural, 2 Black, 3 White, 4 Red, 5 Green,
// 6 Blue, 7 Cyan, 8 Magenta, 9 Yellow, 10 GrayScale). A slot whose text
// colour is 0 is disabled: it is skipped when the user steps through colours.
#include <QColor>
#include <QString>
#include <QVariantMap>

#include <optional>

class VizoColorMode;

class VizoColorSlot
{
public:
    enum Code : int {
        Disable = 0,
        Natural = 1,
        Black = 2,
        White = 3,
        Red = 4,
        Green = 5,
        Blue = 6,
        Cyan = 7,
        Magenta = 8,
        Yellow = 9,
        GrayScale = 10,
    };

    explicit VizoColorSlot(VizoColorMode *owner = nullptr) : m_owner(owner) {}
    VizoColorSlot(const VizoColorSlot &) = delete;
    VizoColorSlot &operator=(const VizoColorSlot &) = delete;

    qint32 textColor() const { return m_textColor; }
    void setTextColor(qint32 code);
    qint32 bgColor() const { return m_bgColor; }
    void setBgColor(qint32 code);
    bool isDisabled() const { return m_textColor == Disable; }

    // The label shown in menus, in the language of the settings this slot
    // belongs to: the text colour's name alone for codes 0, 1 and 10,
    // otherwise "<text> on <background>" by the language's format string.
    QString toString() const;
    QString toString(const QVariantMap &languageStrings) const;

    std::optional<QColor> colorFromVizoTextColor() const;
    std::optional<QColor> colorFromVizoBackgroundColor() const;

    // Display colour of a code in the text or background role; nothing for a
    // code outside 0 to 10.
    static std::optional<QColor> colorFromVizoColor(qint32 code, bool isTextColor);
    // The localised name of a code ("OptionUI" section); nothing for a code
    // outside 0 to 10 (or a table without the key).
    static std::optional<QString> colorNameFromVizoColor(qint32 code,
                                                         const QVariantMap &languageStrings);
    // The "OptionUI" key of a code's name, or null outside 0 to 10.
    static const char *colorNameKey(qint32 code);

private:
    VizoColorMode *m_owner;
    qint32 m_textColor = 0;
    qint32 m_bgColor = 0;
};
