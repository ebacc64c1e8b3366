#pragma once
// Freezing and saving the picture. Freeze holds the picture on screen as it
// is now, so a user can read a still frame while moving the document; the
// live picture goes on underneath and the mouse keeps driving the device.
// A snapshot saves the shown picture (the still one while frozen) as PNG in
// the user's pictures folder under a time-stamped name.
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QLabel;
class QWidget;

class PictureStill : public QObject
{
    Q_OBJECT

public:
    // `picture` gives the picture view of the moment (or nullptr).
    explicit PictureStill(std::function<QWidget *()> picture, QObject *parent = nullptr);
    ~PictureStill() override;

    // Freezes, or unfreezes when frozen; false when there is no picture.
    bool toggleFreeze();
    bool isFrozen() const { return m_still != nullptr; }
    void unfreeze();

    // Saves the picture; returns the file's path, or an empty string with
    // `error` set.
    QString saveSnapshot(QString *error);
    // The folder snapshots go to (the XDG pictures folder by default).
    void setFolder(const QString &folder) { m_folder = folder; }
    QString folder() const;

    // The picture as it is on screen now; null without one.
    QImage currentPicture() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void follow();

    std::function<QWidget *()> m_picture;
    QPointer<QLabel> m_still;
    QPointer<QWidget> m_frozenView;
    QImage m_stillImage;
    QString m_folder;
};
