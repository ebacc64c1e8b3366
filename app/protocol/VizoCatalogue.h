#pragma once
// The command catalogue as data: every payload the viewer sends and every
// report the device sends, with its leading fixed bytes and parameter layout.
// vizo-proto, the virtual device and the trace printer encode and decode
// through this one table; the records of VizoCommands.h build the same bytes
// for the application (a test holds the two together).
#include "protocol/VizoResult.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QAnyStringView>
#include <QStringList>

#include <array>
#include <cstdint>
#include <span>

enum class VizoDirection { HostToDevice, DeviceToHost };

// What follows the fixed-width parameters, up to the end of the payload.
enum class VizoTail : std::uint8_t {
    None,
    Speech,   // UTF-16LE text, cut at 126 bytes
    Path,     // UTF-16LE path, at most 64 code units
    Password, // password bytes, at most 12
    PathList, // UTF-16LE paths joined by "::" (after a 16-bit total)
    Utf8Text, // UTF-8 text (battery)
    Data,     // raw data of a multi-frame transfer
};

struct VizoCatalogueEntry
{
    const char *name;
    VizoDirection direction;
    // Fixed leading bytes: group, usually the command byte, sometimes a
    // sub-command. SetColorSlot, SetContrast and SetMarkerType have only the
    // group fixed: their second byte is a parameter.
    std::array<std::uint8_t, 3> prefix;
    std::uint8_t prefixSize;
    std::array<std::uint8_t, 3> widths; // bytes of each parameter: 1, 2 or 4
    std::uint8_t paramCount;
    VizoTail tail;

    std::uint8_t group() const { return prefix[0]; }
    int fixedSize() const;
    bool hasTail() const { return tail != VizoTail::None; }
};

std::span<const VizoCatalogueEntry> vizoCatalogue();

// Entry of that name, case-insensitively; nullptr when there is none.
const VizoCatalogueEntry *vizoCatalogueEntry(QAnyStringView name);

// A payload taken apart by the table.
struct VizoDecodedPayload
{
    const VizoCatalogueEntry *entry = nullptr; // nullptr: unknown code
    bool wellFormed = false;                   // size fits the entry's layout
    QList<std::uint32_t> values;               // fixed-width parameters in order
    QString text;                              // decoded tail, if the entry has one
    QByteArray tailBytes;                      // the tail as sent
};

VizoDecodedPayload vizoDecodePayload(VizoDirection direction, const QByteArray &payload);

// Builds the payload of `entry` from its parameter values and, for entries
// with a text tail, the text. Fails on a wrong value count, a value out of
// range for its width, or text the tail refuses.
VizoResult<QByteArray> vizoEncodePayload(const VizoCatalogueEntry &entry,
                                         const QList<std::uint32_t> &values,
                                         const QString &text = {});

// Command-line form: decimal parameters in payload order, or one text for
// the text commands, or the paths for DeleteFiles (one payload per frame).
VizoResult<QList<QByteArray>> vizoEncodeArguments(const VizoCatalogueEntry &entry,
                                                  const QStringList &arguments);
