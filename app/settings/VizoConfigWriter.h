#pragma once
// Writes the device's option file from a settings model: the text form that
// VizoConfigParser reads, one pair per line, every known key. The virtual
// device serves it; the viewer itself never writes an option file.
#include "settings/VizoConfigParser.h"

#include <QByteArray>

class VizoSettings;

class VizoConfigWriter
{
public:
    // Every known key with the model's value: integers in decimal, booleans
    // as 0 or 1, colour pairs as four digits ("0302"), "Language" as the
    // current interface language's code (left out without one).
    static VizoOptionFileData optionFileData(const VizoSettings &settings);

    // The pairs as option-file text in key order, without a terminating zero
    // byte. A pair that the format cannot carry (a key holding "</key>", a
    // value holding "</value>") is left out with a diagnostic line.
    static QByteArray write(const VizoOptionFileData &pairs);
    static QByteArray write(const VizoSettings &settings);

    // The colour pair text of two codes: two digits of text colour, then the
    // background colour with at least two digits.
    static QString colorPair(qint32 textColor, qint32 bgColor);
};
