#pragma once
// XML property lists: the format of the bundle's resources (region and
// language tables, text tables, hot key files).
//
// Reading maps the elements onto Qt variants:
//   dict    -> QVariantMap          array   -> QVariantList
//   string  -> QString              integer -> qint64
//   real    -> double               true/false -> bool
//   data    -> QByteArray (base64)  date    -> QDateTime (ISO 8601, UTC)
// Malformed input yields an error text naming the line and column; the
// reader never throws and never recurses deeper than kMaxDepth containers.
// Writing accepts the same types (plus QStringList and the other integer
// types) and produces a document the reader reads back unchanged.
//
// Pure functions without shared state: safe on any thread.
#include <QByteArray>
#include <QString>
#include <QVariant>

class BrPropertyList
{
public:
    // Containers nested deeper than this are refused as malformed.
    static constexpr int kMaxDepth = 64;

    // Parses a whole document. On failure returns an invalid QVariant and, if
    // `error` is given, stores a message such as
    // "line 3, column 7: unexpected element <foo>".
    static QVariant parse(const QByteArray &xml, QString *error = nullptr);

    // Reads the file (a Qt resource path such as ":/resources/Regions.plist"
    // works too) and parses it; an unreadable file is an error as well.
    static QVariant parseFile(const QString &path, QString *error = nullptr);

    // Serialises `root` as an XML property list (UTF-8, with the usual
    // prolog). Returns an empty array and sets `error` when a value has a type
    // that a property list cannot hold.
    static QByteArray serialize(const QVariant &root, QString *error = nullptr);

    // serialize() and write the result to `path`, replacing the file.
    static bool writeFile(const QString &path, const QVariant &root, QString *error = nullptr);
};
