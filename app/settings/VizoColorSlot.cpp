#include "settings/VizoColorSlot.h"

#include "settings/VizoColorMode.h"

namespace {
const char *const kNameKeys[] = {
    "ColorMode.DisableColor", "ColorMode.NaturalColor",   "ColorMode.BlackColor",
    "ColorMode.WhiteColor",   "ColorMode.RedColor",       "ColorMode.GreenColor",
    "ColorMode.BlueColor",    "ColorMode.CyanColor",      "ColorMode.MagentaColor",
    "ColorMode.YellowColor",  "ColorMode.GrayScaleColor",
};
} // namespace

void VizoColorSlot::setTextColor(qint32 code)
{
    if (m_textColor == code)
        return;
    m_textColor = code;
    if (m_owner)
        m_owner->notifyChanged();
}

void VizoColorSlot::setBgColor(qint32 code)
{
    if (m_bgColor == code)
        return;
    m_bgColor = code;
    if (m_owner)
        m_owner->notifyChanged();
}

const char *VizoColorSlot::colorNameKey(qint32 code)
{
    return code >= 0 && code <= GrayScale ? kNameKeys[code] : nullptr;
}

std::optional<QColor> VizoColorSlot::colorFromVizoColor(qint32 code, bool isTextColor)
{
    switch (code) {
    case Disable:
        return isTextColor ? QColor(128, 128, 128) : QColor(Qt::white);
    case Natural:
        return isTextColor ? QColor(Qt::black) : QColor(Qt::white);
    case Black:
        return QColor(Qt::black);
    case White:
        return QColor(Qt::white);
    case Red:
        return QColor(Qt::red);
    case Green:
        return QColor(Qt::green);
    case Blue:
        return QColor(Qt::blue);
    case Cyan:
        return QColor(Qt::cyan);
    case Magenta:
        return QColor(Qt::magenta);
    case Yellow:
        return QColor(Qt::yellow);
    case GrayScale:
        return isTextColor ? QColor(128, 128, 128) : QColor(Qt::white);
    default:
        return std::nullopt;
    }
}

std::optional<QString> VizoColorSlot::colorNameFromVizoColor(qint32 code,
                                                             const QVariantMap &languageStrings)
{
    const char *key = colorNameKey(code);
    if (!key)
        return std::nullopt;
    const QVariant text =
        languageStrings.value(QStringLiteral("OptionUI")).toMap().value(QLatin1String(key));
    if (!text.isValid())
        return std::nullopt;
    return text.toString();
}

std::optional<QColor> VizoColorSlot::colorFromVizoTextColor() const
{
    return colorFromVizoColor(m_textColor, true);
}

std::optional<QColor> VizoColorSlot::colorFromVizoBackgroundColor() const
{
    return colorFromVizoColor(m_bgColor, false);
}

QString VizoColorSlot::toString() const
{
    return toString(m_owner ? m_owner->languageStrings() : QVariantMap());
}

QString VizoColorSlot::toString(const QVariantMap &languageStrings) const
{
    const QString text = colorNameFromVizoColor(m_textColor, languageStrings).value_or(QString());
    if (m_textColor == Disable || m_textColor == Natural || m_textColor == GrayScale)
        return text;
    const QString background =
        colorNameFromVizoColor(m_bgColor, languageStrings).value_or(QString());
    const QString format =
        languageStrings.value(QStringLiteral("OptionUI"))
            .toMap()
            .value(QStringLiteral("ColorMode.ColorListItem.ColorLabelFormatString"))
            .toString();
    if (format.isEmpty())
        return text + QLatin1Char(' ') + background;
    return format.arg(text, background);
}
