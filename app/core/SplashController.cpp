#include "SplashController.h"

#include "AppDelegate.h"
#include "BoxLayout.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <cmath>

SplashController::SplashController(QWidget *parent)
    : ModalWindowController(parent)
{
    setObjectName(QStringLiteral("SplashController"));
    setWindowFlag(Qt::FramelessWindowHint, true);
    setWindowTitle(QStringLiteral("Vizo Viewer"));
    setAccessibleName(QStringLiteral("Vizo Viewer is connecting to the camera"));
}

void SplashController::windowDidLoad()
{
    ModalWindowController::windowDidLoad();
    double scale = AppDelegate::scaleFactor();
    if (scale <= 0)
        scale = 1.0;
    const QSize size(int(std::lround(kDesignWidth * scale)), int(std::lround(kDesignHeight * scale)));
    QRect area(0, 0, 1280, 800);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    setGeometry(QRect(area.topLeft() + BoxLayout::centredBox(area.size(), size, 1.0).topLeft(), size));
}

void SplashController::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    const double s = r.width() / kDesignWidth;
    painter.fillRect(r, QColor(75, 93, 138));
    painter.setPen(QPen(QColor(184, 181, 196), 2 * s));
    painter.drawRect(r.adjusted(s, s, -s, -s));

    // A lens: the product's mark.
    const QPointF centre(r.width() / 2, 70 * s);
    painter.setPen(QPen(Qt::white, 5 * s));
    painter.setBrush(QColor(255, 255, 255, 40));
    painter.drawEllipse(centre, 34 * s, 34 * s);
    painter.drawLine(centre + QPointF(24 * s, 24 * s), centre + QPointF(46 * s, 46 * s));

    QFont title = font();
    title.setPixelSize(std::max(1, int(26 * s)));
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 118 * s, r.width(), 36 * s), Qt::AlignCenter, QStringLiteral("Vizo Viewer"));
    QFont note = font();
    note.setPixelSize(std::max(1, int(14 * s)));
    painter.setFont(note);
    painter.drawText(QRectF(0, 156 * s, r.width(), 24 * s), Qt::AlignCenter,
                     QStringLiteral("Connecting to the camera..."));
}
