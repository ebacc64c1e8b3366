#include "StandInMenuController.h"

#include "AppDelegate.h"
#include "settings/VizoSettings.h"

#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

StandInMenuController::StandInMenuController(QWidget *parent)
    : AbstractMenuController(parent)
{
    setObjectName(QStringLiteral("VizoMenuController"));
    setAccessibleName(QStringLiteral("Menu"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(75, 93, 138));
    p.setColor(QPalette::WindowText, Qt::white);
    setPalette(p);
    const double scale = AppDelegate::scaleFactor() > 0 ? AppDelegate::scaleFactor() : 1.0;
    resize(int(std::lround(kDesignWidth * scale)), height());
    auto *layout = new QVBoxLayout(this);
    m_label = new QLabel(this);
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    QFont f = m_label->font();
    f.setPixelSize(std::max(1, int(std::lround(12 * scale))));
    m_label->setFont(f);
    layout->addWidget(m_label);
}

void StandInMenuController::buildVizoMenu()
{
}

void StandInMenuController::reloadSettings()
{
    reloadMenuLabel();
}

void StandInMenuController::reloadMenuLabel()
{
    QString battery;
    if (VizoSettings *s = AppDelegate::settings())
        battery = s->options()->info_battery();
    m_label->setText(QStringLiteral("Menu\n\nBattery: %1\n\nRight click or the menu key closes the menu.").arg(battery));
}

void StandInMenuController::showMenu()
{
    show();
    raise();
}

void StandInMenuController::setDefaultTab()
{
}

void StandInMenuController::hideMenu()
{
    hide();
}

bool StandInMenuController::isOpened() const
{
    return !isHidden();
}

void StandInMenuController::closeUI()
{
    if (AppDelegate *app = AppDelegate::instance())
        app->closeMenu();
}

void StandInMenuController::becomeFirstResponder()
{
    setFocus(Qt::OtherFocusReason);
}

void StandInMenuController::updateBatteryInfo()
{
    reloadMenuLabel();
}
