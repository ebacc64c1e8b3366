#pragma once
// The device's option file: a key/value text of pairs
//   <key>Distance_Contrast</key><value>19</value>
// with anything outside the markers ignored. Keys and values are UTF-8 and
// taken exactly as they stand (no trimming, no unescaping). The text ends at
// the first zero byte or at the end of the buffer.
//
// Stateless; safe on any thread. The handler runs synchronously on the
// calling thread.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

// Key text -> value text; a repeated key keeps its last value.
using VizoOptionFileData = QMap<QString, QString>;

class VizoConfigParser
{
public:
    using CompletedHandler = std::function<void(const VizoOptionFileData &)>;

    // Parses `data` and calls `handler` (when given) once with the pairs.
    // A pair whose key or value is not valid UTF-8 is skipped with a
    // diagnostic line; the others are delivered. Truncated text ends the
    // parse there and delivers the pairs before it. Always returns true.
    static bool parseData(const QByteArray &data, const CompletedHandler &handler);

    // Reads the whole file and parses it. Returns false without calling the
    // handler when the file does not exist or cannot be read.
    static bool parseFile(const QString &path, const CompletedHandler &handler);

    // Value forms. An integer is read from the start of the value: optional
    // white space, an optional sign, then digits up to the first other
    // character; no digits read as 0; the low 32 bits are kept.
    static qint32 readInteger(QStringView value);
    // A boolean is the low eight bits of the integer, non-zero meaning true.
    static bool readBoolean(QStringView value);
    // A colour pair: the first two characters are the text colour, the rest
    // the background colour. Shorter than two characters: nothing.
    struct ColorPair
    {
        qint32 textColor;
        qint32 bgColor;
    };
    static std::optional<ColorPair> readColorPair(QStringView value);
};
