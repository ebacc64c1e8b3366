#include "settings/VizoConfigParser.h"

#include "settings/VizoSettingsLog.h"

#include <QFile>
#include <QStringDecoder>

namespace {

constexpr QByteArrayView kKeyStart("<key>");
constexpr QByteArrayView kKeyEnd("</key>");
constexpr QByteArrayView kValueStart("<value>");
constexpr QByteArrayView kValueEnd("</value>");

std::optional<QString> decodeUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

bool VizoConfigParser::parseData(const QByteArray &data, const CompletedHandler &handler)
{
    QByteArrayView text(data);
    const qsizetype zero = text.indexOf('\0');
    if (zero >= 0)
        text = text.first(zero);

    VizoOptionFileData pairs;
    qsizetype cursor = 0;
    for (;;) {
        const qsizetype keyStart = text.indexOf(kKeyStart, cursor);
        if (keyStart < 0)
            break;
        const qsizetype keyFrom = keyStart + kKeyStart.size();
        const qsizetype keyEnd = text.indexOf(kKeyEnd, keyFrom);
        if (keyEnd < 0)
            break;
        // The value marker is searched from the key end marker on, even past
        // a following key: that is how the device's reader pairs them too.
        const qsizetype valueStart = text.indexOf(kValueStart, keyEnd + kKeyEnd.size());
        if (valueStart < 0)
            break;
        const qsizetype valueFrom = valueStart + kValueStart.size();
        const qsizetype valueEnd = text.indexOf(kValueEnd, valueFrom);
        if (valueEnd < 0)
            break;
        cursor = valueEnd;

        const auto key = decodeUtf8(text.sliced(keyFrom, keyEnd - keyFrom));
        const auto value = decodeUtf8(text.sliced(valueFrom, valueEnd - valueFrom));
        if (!key || !value) {
            // One damaged pair must not cost the whole file: without the
            // option file the start-up would never finish.
            qCWarning(lcVizoSettings).noquote()
                << "*** option file: skipped a pair that is not valid UTF-8 at byte" << keyStart
                << (key ? QStringLiteral("(key %1)").arg(*key) : QString());
            continue;
        }
        pairs.insert(*key, *value);
    }
    if (handler)
        handler(pairs);
    return true;
}

bool VizoConfigParser::parseFile(const QString &path, const CompletedHandler &handler)
{
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    return parseData(file.readAll(), handler);
}

qint32 VizoConfigParser::readInteger(QStringView value)
{
    qsizetype i = 0;
    while (i < value.size() && value[i].isSpace())
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == u'+' || value[i] == u'-')) {
        negative = value[i] == u'-';
        ++i;
    }
    // Modulo 2^64 arithmetic keeps the low bits exact however long the number.
    quint64 n = 0;
    for (; i < value.size() && value[i] >= u'0' && value[i] <= u'9'; ++i)
        n = n * 10 + quint64(value[i].unicode() - u'0');
    if (negative)
        n = ~n + 1;
    return qint32(quint32(n & 0xffffffffu));
}

bool VizoConfigParser::readBoolean(QStringView value)
{
    return (quint32(readInteger(value)) & 0xffu) != 0;
}

std::optional<VizoConfigParser::ColorPair> VizoConfigParser::readColorPair(QStringView value)
{
    if (value.size() < 2)
        return std::nullopt;
    return ColorPair{readInteger(value.first(2)), readInteger(value.sliced(2))};
}
