#include "settings/VizoFileListParser.h"

#include "settings/VizoSettingsLog.h"

#include <QStringDecoder>

bool VizoFileListParser::parseData(const QByteArray &data, const CompletedHandler &handler)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(data);
    std::optional<QStringList> pieces;
    if (decoder.hasError())
        qCWarning(lcVizoSettings) << "file list is not valid UTF-8:" << data.size()
                                  << "bytes dropped";
    else
        pieces = text.split(QLatin1Char('\n'), Qt::KeepEmptyParts);
    if (handler)
        handler(pieces);
    return true;
}
