#pragma once
// A delegate without a device (AppTestSupport.h) plus what page tests look
// at: the commands sent apart from speech, the texts spoken, key presses.
#include "AppTestSupport.h"

#include <QKeyEvent>
#include <QStringList>

inline bool isSpeech(const QByteArray &payload)
{
    return payload.size() >= 2 && quint8(payload[0]) == 0x25 && quint8(payload[1]) == 0x06;
}

inline void key(QWidget *w, int k, QEvent::Type type = QEvent::KeyPress, bool autoRepeat = false)
{
    QKeyEvent event(type, k, Qt::NoModifier, QString(), autoRepeat);
    QCoreApplication::sendEvent(w, &event);
}

struct PageFixture : AppFixture
{
    // Every payload but SpeakText, in order.
    QList<QByteArray> commands() const
    {
        QList<QByteArray> out;
        for (const QByteArray &p : sent)
            if (!isSpeech(p))
                out << p;
        return out;
    }
    QStringList spoken() const
    {
        QStringList out;
        for (const QByteArray &p : sent)
            if (isSpeech(p))
                out << QString::fromUtf16(reinterpret_cast<const char16_t *>(p.constData() + 2),
                                          (p.size() - 2) / 2);
        return out;
    }
    static QString message(const char *key, const char *fallback)
    {
        return AppDelegate::instance()->languageString(QStringLiteral("Messages"), QLatin1String(key),
                                           QLatin1String(fallback));
    }
};
