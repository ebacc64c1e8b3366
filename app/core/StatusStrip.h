#pragma once
// The viewer's own status line along the bottom of the main window (not the
// device's picture): connection, view, zoom level, colour mode and contrast
// from the settings model, large, yellow on black, read by screen readers.
// It also says for a while what a key just did ("Picture saved to ...").
#include <QLabel>
#include <QPointer>
#include <QTimer>

#include <functional>

class VizoSettings;

class StatusStrip : public QLabel
{
    Q_OBJECT

public:
    // Along the bottom of `area` (the picture area, which the menu column
    // narrows), inside `window`.
    StatusStrip(QWidget *window, QWidget *area);

    // Follows this model's changes (the model is replaced at each new
    // connection).
    void setSettings(VizoSettings *settings);
    // "Connected", "Waiting for the camera" ...
    std::function<QString()> connectionState;
    // Whether the model holds the device's settings; until then (waiting,
    // connecting) its values are defaults that describe no camera.
    std::function<bool()> settingsKnown;

    // The status in words, from the model.
    QString statusText() const;
    // Shows `message` for `ms`, then the status again; screen readers read it.
    void flash(const QString &message, int ms = 6000);
    // Recomputes the text and places the strip along the window's bottom.
    void refresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    QPointer<QWidget> m_area;
    QPointer<VizoSettings> m_settings;
    QMetaObject::Connection m_changed;
    QString m_flash;
    QTimer m_flashTimer;
};
