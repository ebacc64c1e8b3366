#include "HelpOverlay.h"

#include "input/VizoHotKeyWords.h"

#include <QAccessible>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>

HelpOverlay::HelpOverlay(QWidget *window) : QWidget(window)
{
    setObjectName(QStringLiteral("helpOverlay"));
    setAccessibleName(QStringLiteral("Hot keys"));
    setAccessibleDescription(QStringLiteral("F1 or Esc closes this list"));
    m_columns = new QHBoxLayout(this);
    m_columns->setContentsMargins(24, 24, 24, 24);
    m_columns->setSpacing(32);
    hide();
}

QStringList HelpOverlay::viewerKeyLines()
{
    return {
        QStringLiteral("F1: show or close this list"),
        QStringLiteral("F9 or a middle click on the picture: freeze or unfreeze the picture"),
        QStringLiteral("F12: save the picture as a PNG file"),
        QStringLiteral("Ctrl+I: show or hide the status line"),
        QStringLiteral("F11: full screen on or off"),
        QStringLiteral("Ctrl+Q: quit"),
    };
}

void HelpOverlay::showKeys(const QList<QPair<QString, QString>> &armed)
{
    qDeleteAll(m_labels);
    m_labels.clear();
    // Groups as blocks of lines, the viewer's own keys first.
    QList<QStringList> blocks;
    blocks << (QStringList{QStringLiteral("Vizo Viewer")} + viewerKeyLines());
    const QList<VizoHotKeyWords::Group> groups = VizoHotKeyWords::grouped(armed);
    if (groups.isEmpty())
        blocks << QStringList{QStringLiteral("No camera hot keys are active now.")};
    for (const VizoHotKeyWords::Group &group : groups)
        blocks << (QStringList{group.name} + group.lines);

    qsizetype total = 0;
    for (const QStringList &block : blocks)
        total += block.size() + 1;
    const int columns = total > 48 ? 3 : total > 20 ? 2 : 1;
    const qsizetype perColumn = (total + columns - 1) / columns;
    const int pixels = std::clamp(int(parentWidget()->height() / (perColumn + 3) / 1.3), 14, 44);

    QStringList html;
    qsizetype used = 0;
    auto flush = [&] {
        if (html.isEmpty())
            return;
        auto *label = new QLabel(html.join(QString()), this);
        label->setTextFormat(Qt::RichText);
        label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        label->setWordWrap(true);
        QFont f = label->font();
        f.setPixelSize(pixels);
        label->setFont(f);
        label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
        m_columns->addWidget(label, 1);
        m_labels << label;
        html.clear();
        used = 0;
    };
    for (const QStringList &block : blocks) {
        if (used > 0 && used + block.size() > perColumn)
            flush();
        html << QStringLiteral("<p style='margin-top:0.4em'><b style='color:#ffff00'>%1</b><br>")
                    .arg(block.first().toHtmlEscaped());
        QStringList lines;
        for (qsizetype i = 1; i < block.size(); ++i)
            lines << block.at(i).toHtmlEscaped();
        html << lines.join(QStringLiteral("<br>")) + QStringLiteral("</p>");
        used += block.size() + 1;
    }
    flush();
    setGeometry(parentWidget()->rect());
    show();
    raise();
    setFocus();
    QAccessibleEvent event(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&event);
}

QString HelpOverlay::text() const
{
    QStringList lines;
    for (QLabel *label : m_labels) {
        QString t = label->text();
        t.replace(QStringLiteral("<br>"), QStringLiteral("\n"))
            .replace(QStringLiteral("</p>"), QStringLiteral("\n"));
        t.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
        lines << t;
    }
    QString all = lines.join(QLatin1Char('\n'));
    all.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return all;
}

void HelpOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, 235));
}
