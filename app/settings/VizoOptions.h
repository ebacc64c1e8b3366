#pragma once
// The device's "Option" group: colour slots, contrast, markers, focus lock,
// auto-scroll, voice guide, joystick, Wi-Fi and the information texts.
// Defaults are the values after the Option reset. Main thread only.
#include "settings/VizoColorMode.h"

#include <QObject>
#include <QString>

class VizoSettings;

class VizoOptions : public QObject
{
    Q_OBJECT
public:
    // Marker modes.
    enum MarkerMode : qint32 {
        HorizontalLine = 0,
        VerticalLine = 1,
        HorizontalWindow = 2,
        VerticalWindow = 3,
        NoMarker = 4
    };
    static constexpr const char *kDefaultPassword = "47185296";

    explicit VizoOptions(const VizoSettings *settings = nullptr, QObject *parent = nullptr);

    VizoColorMode *colorModeForDistance() const { return m_colorModeForDistance; }
    VizoColorMode *colorModeForNear() const { return m_colorModeForNear; }
    // The colour slots of camera view `cameraMode` (0 distance, other near).
    VizoColorMode *colorModeForCameraMode(int cameraMode) const
    {
        return cameraMode == 0 ? m_colorModeForDistance : m_colorModeForNear;
    }

    qint32 contrastForDistance() const { return m_contrastForDistance; }
    void setContrastForDistance(qint32 value) { assign(m_contrastForDistance, value); }
    qint32 contrastForNear() const { return m_contrastForNear; }
    void setContrastForNear(qint32 value) { assign(m_contrastForNear, value); }
    qint32 markerModeForDistance() const { return m_markerModeForDistance; }
    void setMarkerModeForDistance(qint32 value) { assign(m_markerModeForDistance, value); }
    qint32 markerModeForNear() const { return m_markerModeForNear; }
    void setMarkerModeForNear(qint32 value) { assign(m_markerModeForNear, value); }
    bool focusLock() const { return m_focusLock; }
    void setFocusLock(bool value) { assign(m_focusLock, value); }
    qint32 autoscrollRange() const { return m_autoscrollRange; }
    void setAutoscrollRange(qint32 value) { assign(m_autoscrollRange, value); }
    qint32 autoscrollDirection() const { return m_autoscrollDirection; }
    void setAutoscrollDirection(qint32 value) { assign(m_autoscrollDirection, value); }
    qint32 autoscrollSpeed() const { return m_autoscrollSpeed; }
    void setAutoscrollSpeed(qint32 value) { assign(m_autoscrollSpeed, value); }
    bool voiceGuide() const { return m_voiceGuide; }
    void setVoiceGuide(bool value) { assign(m_voiceGuide, value); }
    qint32 joystickSensitivity() const { return m_joystickSensitivity; }
    void setJoystickSensitivity(qint32 value) { assign(m_joystickSensitivity, value); }
    QString passwords() const { return m_passwords; }
    void setPasswords(const QString &value) { assign(m_passwords, value); }
    qint32 wifiResolution() const { return m_wifiResolution; }
    void setWifiResolution(qint32 value) { assign(m_wifiResolution, value); }
    QString info_sw() const { return m_info_sw; }
    void setInfo_sw(const QString &value) { assign(m_info_sw, value); }
    QString info_sn() const { return m_info_sn; }
    void setInfo_sn(const QString &value) { assign(m_info_sn, value); }
    QString info_battery() const { return m_info_battery; }
    void setInfo_battery(const QString &value) { assign(m_info_battery, value); }
    QString info_ap() const { return m_info_ap; }
    void setInfo_ap(const QString &value) { assign(m_info_ap, value); }

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
    VizoColorMode *m_colorModeForDistance;
    VizoColorMode *m_colorModeForNear;
    qint32 m_contrastForDistance = 19;
    qint32 m_contrastForNear = 19;
    qint32 m_markerModeForDistance = 4;
    qint32 m_markerModeForNear = 4;
    bool m_focusLock = false;
    qint32 m_autoscrollRange = 1;
    qint32 m_autoscrollDirection = 0;
    qint32 m_autoscrollSpeed = 3;
    bool m_voiceGuide = true;
    qint32 m_joystickSensitivity = 0;
    QString m_passwords = QStringLiteral("47185296");
    qint32 m_wifiResolution = 1;
    QString m_info_sw = QStringLiteral("0.0");
    QString m_info_sn = QStringLiteral("20240001");
    QString m_info_battery = QStringLiteral("100%");
    QString m_info_ap = QStringLiteral("Vizo_0000");
};
