#include "bramble/BrPropertyList.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <limits>

namespace {

class Reader
{
public:
    explicit Reader(const QByteArray &xml) : m_xml(xml) {}

    QVariant document()
    {
        if (!nextStart())
            return fail(QStringLiteral("the document holds no property list"));
        QVariant root;
        if (m_xml.name() == u"plist") {
            if (!nextStart())
                return fail(QStringLiteral("<plist> holds no value"));
            root = value(1);
            if (!root.isValid())
                return {};
            if (!expectEnd(u"plist"))
                return {};
        } else {
            // A bare value without the <plist> wrapper is read as well.
            root = value(1);
            if (!root.isValid())
                return {};
        }
        // Only white space, comments and the end of the document may follow.
        while (!m_xml.atEnd()) {
            const auto token = m_xml.readNext();
            if (token == QXmlStreamReader::Invalid)
                return fail(QString());
            if (token == QXmlStreamReader::StartElement ||
                (token == QXmlStreamReader::Characters && !m_xml.isWhitespace()))
                return fail(QStringLiteral("unexpected content after the root value"));
        }
        if (m_xml.hasError())
            return fail(QString());
        return root;
    }

    QString error() const { return m_error; }

private:
    // Moves to the next start element, skipping white space, comments and
    // processing instructions. Returns false at an end element (left as the
    // current token), at the end of the document or on an error.
    bool nextStart()
    {
        while (!m_xml.atEnd()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::StartElement:
                return true;
            case QXmlStreamReader::EndElement:
                return false;
            case QXmlStreamReader::Characters:
                if (!m_xml.isWhitespace()) {
                    fail(QStringLiteral("unexpected text \"%1\"")
                             .arg(m_xml.text().toString().left(20)));
                    return false;
                }
                break;
            case QXmlStreamReader::Invalid:
                fail(QString());
                return false;
            default:
                break;
            }
        }
        return false;
    }

    bool expectEnd(QStringView name)
    {
        if (nextStart()) {
            fail(QStringLiteral("unexpected element <%1>").arg(m_xml.name().toString()));
            return false;
        }
        if (!m_failed && m_xml.isEndElement() && m_xml.name() == name)
            return true;
        if (!m_failed)
            fail(QStringLiteral("missing </%1>").arg(name.toString()));
        return false;
    }

    // Reads the value whose start element is the current token.
    QVariant value(int depth)
    {
        const QString name = m_xml.name().toString();
        if (name == u"dict" || name == u"array") {
            if (depth > BrPropertyList::kMaxDepth)
                return fail(QStringLiteral("containers nested deeper than %1")
                                .arg(BrPropertyList::kMaxDepth));
            return name == u"dict" ? dict(depth) : array(depth);
        }
        if (name == u"string" || name == u"key")
            return name == u"key" ? fail(QStringLiteral("<key> outside a <dict>")) : text();
        if (name == u"integer") {
            const QString t = text().trimmed();
            if (m_failed)
                return {};
            bool ok = false;
            const qint64 v = t.toLongLong(&ok, 10);
            if (!ok)
                return fail(QStringLiteral("bad integer \"%1\"").arg(t.left(30)));
            return QVariant::fromValue<qint64>(v);
        }
        if (name == u"real") {
            const QString t = text().trimmed();
            if (m_failed)
                return {};
            bool ok = false;
            const double v = t.toDouble(&ok);
            if (!ok)
                return fail(QStringLiteral("bad real \"%1\"").arg(t.left(30)));
            return v;
        }
        if (name == u"true" || name == u"false") {
            const QString t = text();
            if (m_failed)
                return {};
            if (!t.trimmed().isEmpty())
                return fail(QStringLiteral("<%1> must be empty").arg(name));
            return name == u"true";
        }
        if (name == u"data") {
            QString t = text();
            if (m_failed)
                return {};
            t.remove(QRegularExpression(QStringLiteral("\\s")));
            auto decoded = QByteArray::fromBase64Encoding(t.toLatin1(),
                                                          QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded)
                return fail(QStringLiteral("bad base64 in <data>"));
            return *decoded;
        }
        if (name == u"date") {
            const QString t = text().trimmed();
            if (m_failed)
                return {};
            QDateTime d = QDateTime::fromString(t, Qt::ISODate);
            if (!d.isValid())
                return fail(QStringLiteral("bad date \"%1\"").arg(t.left(30)));
            return d.toUTC();
        }
        return fail(QStringLiteral("unknown element <%1>").arg(name));
    }

    QVariant dict(int depth)
    {
        QVariantMap map;
        while (nextStart()) {
            if (m_xml.name() != u"key")
                return fail(
                    QStringLiteral("expected <key>, found <%1>").arg(m_xml.name().toString()));
            const QString key = text();
            if (m_failed)
                return {};
            if (!nextStart())
                return m_failed ? QVariant()
                                : fail(QStringLiteral("key \"%1\" has no value").arg(key));
            QVariant v = value(depth + 1);
            if (!v.isValid())
                return {};
            map.insert(key, v); // a repeated key keeps its last value
        }
        if (m_failed)
            return {};
        if (!m_xml.isEndElement() || m_xml.name() != u"dict")
            return fail(QStringLiteral("missing </dict>"));
        return map;
    }

    QVariant array(int depth)
    {
        QVariantList list;
        while (nextStart()) {
            QVariant v = value(depth + 1);
            if (!v.isValid())
                return {};
            list.append(v);
        }
        if (m_failed)
            return {};
        if (!m_xml.isEndElement() || m_xml.name() != u"array")
            return fail(QStringLiteral("missing </array>"));
        return list;
    }

    // Text content of a leaf element; child elements are an error.
    QString text()
    {
        const QString name = m_xml.name().toString();
        QString t = m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (m_xml.hasError()) {
            fail(QStringLiteral("in <%1>: %2").arg(name, m_xml.errorString()));
            return {};
        }
        return t;
    }

    QVariant fail(const QString &why)
    {
        if (m_failed)
            return {};
        m_failed = true;
        const QString what = why.isEmpty() ? m_xml.errorString() : why;
        m_error = QStringLiteral("line %1, column %2: %3")
                      .arg(m_xml.lineNumber())
                      .arg(m_xml.columnNumber())
                      .arg(what.isEmpty() ? QStringLiteral("malformed XML") : what);
        return {};
    }

    QXmlStreamReader m_xml;
    QString m_error;
    bool m_failed = false;
};

class Writer
{
public:
    explicit Writer(QByteArray *out) : m_xml(out) { m_xml.setAutoFormatting(true); }

    bool document(const QVariant &root)
    {
        m_xml.setAutoFormattingIndent(1);
        m_xml.writeStartDocument();
        m_xml.writeStartElement(QStringLiteral("plist"));
        m_xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
        if (!value(root, 1))
            return false;
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
        return true;
    }

    QString error() const { return m_error; }

private:
    bool value(const QVariant &v, int depth)
    {
        switch (v.typeId()) {
        case QMetaType::QVariantMap:
        case QMetaType::QVariantHash: {
            if (!checkDepth(depth))
                return false;
            // A hash has no order: write it sorted, like a map.
            QVariantMap map;
            if (v.typeId() == QMetaType::QVariantMap) {
                map = v.toMap();
            } else {
                const QVariantHash hash = v.toHash();
                for (auto it = hash.cbegin(); it != hash.cend(); ++it)
                    map.insert(it.key(), it.value());
            }
            m_xml.writeStartElement(QStringLiteral("dict"));
            for (auto it = map.cbegin(); it != map.cend(); ++it) {
                m_xml.writeTextElement(QStringLiteral("key"), it.key());
                if (!value(it.value(), depth + 1))
                    return false;
            }
            m_xml.writeEndElement();
            return true;
        }
        case QMetaType::QVariantList:
        case QMetaType::QStringList: {
            if (!checkDepth(depth))
                return false;
            m_xml.writeStartElement(QStringLiteral("array"));
            for (const QVariant &item : v.toList())
                if (!value(item, depth + 1))
                    return false;
            m_xml.writeEndElement();
            return true;
        }
        case QMetaType::QString:
            m_xml.writeTextElement(QStringLiteral("string"), v.toString());
            return true;
        case QMetaType::Bool:
            m_xml.writeEmptyElement(v.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
            return true;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
            m_xml.writeTextElement(QStringLiteral("integer"), QString::number(v.toLongLong()));
            return true;
        case QMetaType::ULong:
        case QMetaType::ULongLong: {
            const qulonglong u = v.toULongLong();
            if (u > qulonglong(std::numeric_limits<qint64>::max()))
                return fail(QStringLiteral("integer %1 is too large").arg(u));
            m_xml.writeTextElement(QStringLiteral("integer"), QString::number(u));
            return true;
        }
        case QMetaType::Double:
        case QMetaType::Float:
            m_xml.writeTextElement(QStringLiteral("real"), QString::number(v.toDouble(), 'g', 17));
            return true;
        case QMetaType::QByteArray:
            m_xml.writeTextElement(QStringLiteral("data"),
                                   QString::fromLatin1(v.toByteArray().toBase64()));
            return true;
        case QMetaType::QDateTime: {
            const QDateTime d = v.toDateTime();
            if (!d.isValid())
                return fail(QStringLiteral("invalid date"));
            m_xml.writeTextElement(QStringLiteral("date"), d.toUTC().toString(Qt::ISODate));
            return true;
        }
        default:
            return fail(QStringLiteral("a property list cannot hold a value of type %1")
                            .arg(QString::fromLatin1(v.typeName() ? v.typeName() : "invalid")));
        }
    }

    bool checkDepth(int depth)
    {
        if (depth <= BrPropertyList::kMaxDepth)
            return true;
        return fail(
            QStringLiteral("containers nested deeper than %1").arg(BrPropertyList::kMaxDepth));
    }

    bool fail(const QString &why)
    {
        if (m_error.isEmpty())
            m_error = why;
        return false;
    }

    QXmlStreamWriter m_xml;
    QString m_error;
};

} // namespace

QVariant BrPropertyList::parse(const QByteArray &xml, QString *error)
{
    Reader reader(xml);
    QVariant root = reader.document();
    if (error)
        *error = root.isValid() ? QString() : reader.error();
    return root;
}

QVariant BrPropertyList::parseFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return {};
    }
    QString why;
    QVariant root = parse(file.readAll(), &why);
    if (error)
        *error = root.isValid() ? QString() : QStringLiteral("%1: %2").arg(path, why);
    return root;
}

QByteArray BrPropertyList::serialize(const QVariant &root, QString *error)
{
    QByteArray out;
    Writer writer(&out);
    if (!writer.document(root)) {
        if (error)
            *error = writer.error();
        return {};
    }
    if (error)
        error->clear();
    return out;
}

bool BrPropertyList::writeFile(const QString &path, const QVariant &root, QString *error)
{
    const QByteArray bytes = serialize(root, error);
    if (bytes.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
