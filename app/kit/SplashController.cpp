#include "SplashController.h"

#include "kit/AppContext.h"
#include "BoxLayout.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include <cmath>

SplashController::SplashController(AppContext &app, QWidget *parent) : ModalWindowController(app, parent)
{
    setObjectName(QStringLiteral("SplashController"));
    setWindowFlag(Qt::FramelessWindowHint, true);
    setWindowTitle(QStringLiteral("Vizo Viewer"));
    setAccessibleName(QStringLiteral("Vizo Viewer is connecting to the camera"));

    m_note = new QLabel(connectingText(), this);
    m_note->setObjectName(QStringLiteral("labelNote"));
    m_note->setAlignment(Qt::AlignCenter);
    m_note->setWordWrap(true);
    m_note->setStyleSheet(QStringLiteral("color: white;"));
    m_detail = new QLabel(this);
    m_detail->setObjectName(QStringLiteral("labelDetail"));
    m_detail->setAlignment(Qt::AlignCenter);
    m_detail->setWordWrap(true);
    m_detail->setStyleSheet(QStringLiteral("color: white;"));
    m_detail->hide();
    m_quit = new QPushButton(QStringLiteral("Quit"), this);
    m_quit->setObjectName(QStringLiteral("buttonQuit"));
    m_quit->setAccessibleName(QStringLiteral("Quit"));
    m_quit->setAccessibleDescription(QStringLiteral("Stop waiting and end Vizo Viewer"));
    // Return and Enter press it too, not only Space: outside a dialog a
    // button takes them only as a default button.
    m_quit->setAutoDefault(true);
    m_quit->hide();
    connect(m_quit, &QPushButton::clicked, this, [this] {
        if (eventQuit)
            eventQuit();
    });
}

QString SplashController::waitingText()
{
    return QStringLiteral("Waiting for the camera: plug it in and switch it on");
}

QString SplashController::connectingText()
{
    return QStringLiteral("Connecting to the camera...");
}

QString SplashController::noteText() const
{
    return m_note->text();
}

void SplashController::setWaiting(bool waiting, const QString &detail)
{
    m_waiting = waiting;
    m_note->setText(waiting ? waitingText() : connectingText());
    m_detail->setText(detail);
    m_detail->setVisible(waiting && !detail.isEmpty());
    m_quit->setVisible(waiting);
    setAccessibleName(waiting ? waitingText()
                              : QStringLiteral("Vizo Viewer is connecting to the camera"));
    layoutParts();
    // The button takes the focus so that the screen reader reads the window
    // and Return or Space quits; as the window's focus proxy it keeps it when
    // the modal run focuses the window, and gets it at every activation.
    setFocusProxy(waiting ? m_quit : nullptr);
    if (waiting)
        m_quit->setFocus();
    QAccessibleEvent nameChanged(m_note, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    update();
}

void SplashController::windowDidLoad()
{
    ModalWindowController::windowDidLoad();
    double scale = context().scaleFactor();
    if (scale <= 0)
        scale = 1.0;
    const QSize size(int(std::lround(kDesignWidth * scale)),
                     int(std::lround(kDesignHeight * scale)));
    QRect area(0, 0, 1280, 800);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    setGeometry(
        QRect(area.topLeft() + BoxLayout::centredBox(area.size(), size, 1.0).topLeft(), size));
    layoutParts();
}

void SplashController::resizeEvent(QResizeEvent *event)
{
    ModalWindowController::resizeEvent(event);
    layoutParts();
}

void SplashController::layoutParts()
{
    const double s = width() / double(kDesignWidth);
    QFont note = font();
    note.setPixelSize(std::max(1, int((m_waiting ? 17 : 14) * s)));
    note.setBold(m_waiting);
    m_note->setFont(note);
    m_note->setGeometry(int(10 * s), int(150 * s), int(340 * s), int(46 * s));
    QFont small = font();
    small.setPixelSize(std::max(1, int(10 * s)));
    m_detail->setFont(small);
    m_detail->setGeometry(int(10 * s), int(194 * s), int(200 * s), int(36 * s));
    QFont button = font();
    button.setPixelSize(std::max(1, int(14 * s)));
    m_quit->setFont(button);
    m_quit->setGeometry(int(260 * s), int(200 * s), int(88 * s), int(30 * s));
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
    painter.drawText(QRectF(0, 114 * s, r.width(), 36 * s), Qt::AlignCenter,
                     QStringLiteral("Vizo Viewer"));
}
