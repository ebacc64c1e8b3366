#pragma once
// The device's file list: UTF-8 text, one file name per line, lines split at
// every line feed alone (a carriage return stays part of the name, a final
// line feed yields an empty last piece). Stateless; safe on any thread; the
// handler runs synchronously on the calling thread.
#include <QByteArray>
#include <QStringList>

#include <functional>
#include <optional>

class VizoFileListParser
{
public:
    // Receives the pieces, or nothing when the data are not valid UTF-8 (the
    // receiver treats that as an empty list).
    using CompletedHandler = std::function<void(const std::optional<QStringList> &)>;

    // Decodes and splits `data`, calls `handler` when given; returns true.
    static bool parseData(const QByteArray &data, const CompletedHandler &handler);
};
