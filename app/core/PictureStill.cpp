#include "PictureStill.h"

#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

PictureStill::PictureStill(std::function<QWidget *()> picture, QObject *parent)
    : QObject(parent), m_picture(std::move(picture))
{
}

PictureStill::~PictureStill()
{
    unfreeze();
}

QImage PictureStill::currentPicture() const
{
    QWidget *view = m_picture ? m_picture() : nullptr;
    if (!view || !view->isVisible())
        return {};
    QImage image = view->grab().toImage();
    // A picture drawn straight to the X server (shared memory) is not in
    // the widget's own rendering: take it from the screen instead.
    if (QGuiApplication::platformName() == QLatin1String("xcb") && !image.isNull()) {
        const QImage probe = image.scaled(16, 16);
        bool blank = true;
        for (int y = 0; y < probe.height() && blank; ++y)
            for (int x = 0; x < probe.width() && blank; ++x)
                blank = qGray(probe.pixel(x, y)) < 4;
        if (blank) {
            if (QScreen *screen = view->screen()) {
                const QPoint origin = view->mapToGlobal(QPoint(0, 0));
                image = screen->grabWindow(0, origin.x(), origin.y(), view->width(), view->height())
                            .toImage();
            }
        }
    }
    return image;
}

bool PictureStill::toggleFreeze()
{
    if (isFrozen()) {
        unfreeze();
        return true;
    }
    QWidget *view = m_picture ? m_picture() : nullptr;
    const QImage image = currentPicture();
    if (!view || image.isNull() || !view->parentWidget())
        return false;
    m_stillImage = image;
    m_frozenView = view;
    auto *still = new QLabel(view->parentWidget());
    still->setObjectName(QStringLiteral("frozenPicture"));
    still->setAccessibleName(QStringLiteral("Frozen picture"));
    still->setScaledContents(true);
    still->setPixmap(QPixmap::fromImage(image));
    // Clicks, drags and the wheel still reach the live picture below.
    still->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    m_still = still;
    view->installEventFilter(this);
    follow();
    still->show();
    return true;
}

void PictureStill::unfreeze()
{
    if (m_frozenView)
        m_frozenView->removeEventFilter(this);
    delete m_still;
    m_frozenView = nullptr;
    m_stillImage = QImage();
}

void PictureStill::follow()
{
    if (!m_still || !m_frozenView)
        return;
    m_still->setGeometry(m_frozenView->geometry());
    m_still->raise();
}

bool PictureStill::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_frozenView) {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
            follow();
        else if (event->type() == QEvent::Destroy || event->type() == QEvent::ParentChange)
            QMetaObject::invokeMethod(this, &PictureStill::unfreeze, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

QString PictureStill::folder() const
{
    if (!m_folder.isEmpty())
        return m_folder;
    QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (pictures.isEmpty())
        pictures = QDir::homePath();
    return pictures;
}

QString PictureStill::saveSnapshot(QString *error)
{
    const QImage image = isFrozen() ? m_stillImage : currentPicture();
    if (image.isNull()) {
        *error = QStringLiteral("there is no picture to save");
        return {};
    }
    const QDir dir(folder());
    if (!dir.mkpath(QStringLiteral("."))) {
        *error = QStringLiteral("the folder %1 cannot be made").arg(dir.path());
        return {};
    }
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
    QString path = dir.filePath(QStringLiteral("Vizo %1.png").arg(stamp));
    for (int n = 2; QFile::exists(path); ++n)
        path = dir.filePath(QStringLiteral("Vizo %1 (%2).png").arg(stamp).arg(n));
    if (!image.save(path, "PNG")) {
        *error = QStringLiteral("%1 cannot be written").arg(path);
        return {};
    }
    return path;
}
