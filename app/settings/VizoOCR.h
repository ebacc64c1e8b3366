#pragma once
// The device's "OCR" group: recognition, presentation and speech settings
// and the OCR language mask. Main thread only.
#include <QObject>
#include <QString>

class VizoOCR : public QObject
{
    Q_OBJECT
public:
    explicit VizoOCR(QObject *parent = nullptr) : QObject(parent) {}

    qint32 fieldMode() const { return m_fieldMode; }
    void setFieldMode(qint32 value) { assign(m_fieldMode, value); }
    qint32 viewMode() const { return m_viewMode; }
    void setViewMode(qint32 value) { assign(m_viewMode, value); }
    qint32 volumeOfTTS() const { return m_volumeOfTTS; }
    void setVolumeOfTTS(qint32 value) { assign(m_volumeOfTTS, value); }
    qint32 speedOfTTS() const { return m_speedOfTTS; }
    void setSpeedOfTTS(qint32 value) { assign(m_speedOfTTS, value); }
    qint32 pitchOfTTS() const { return m_pitchOfTTS; }
    void setPitchOfTTS(qint32 value) { assign(m_pitchOfTTS, value); }
    qint32 typeOfTTS() const { return m_typeOfTTS; }
    void setTypeOfTTS(qint32 value) { assign(m_typeOfTTS, value); }
    qint32 deskew() const { return m_deskew; }
    void setDeskew(qint32 value) { assign(m_deskew, value); }
    qint32 perspective() const { return m_perspective; }
    void setPerspective(qint32 value) { assign(m_perspective, value); }
    quint32 language() const { return m_language; }
    void setLanguage(quint32 value) { assign(m_language, value); }

signals:
    // Any field of this group changed (emitted once per changed field).
    void changed();

private:
    template <typename T> void assign(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        emit changed();
    }
    qint32 m_fieldMode = 0;
    qint32 m_viewMode = 0;
    qint32 m_volumeOfTTS = 7;
    qint32 m_speedOfTTS = 2;
    qint32 m_pitchOfTTS = 5;
    qint32 m_typeOfTTS = 0;
    qint32 m_deskew = 0;
    qint32 m_perspective = 0;
    quint32 m_language = 2;
};
