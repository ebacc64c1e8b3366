#include "TextViewForHotKey.h"

#include "UsKeymap.h"

#include <QKeyEvent>

TextViewForHotKey::TextViewForHotKey(QWidget *parent) : TextView(parent)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(16);
    setFont(f);
    setAlignment(Qt::AlignCenter);
    setReadOnly(true);
    setColors(Qt::white, Qt::gray);
}

void TextViewForHotKey::setDisabled(bool disabled)
{
    TextView::setDisabled(disabled);
    setReadOnly(true);
}

void TextViewForHotKey::setColors(const QColor &background, const QColor &text)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, background);
    p.setColor(QPalette::Text, text);
    setPalette(p);
}

void TextViewForHotKey::setValueOfHotKey(const QString &text)
{
    m_hotKey = text;
    m_oldHotKey = text;
    setText(text);
    m_valueOfHotKey = text;
    setColors(palette().color(QPalette::Base), Qt::gray);
}

QString TextViewForHotKey::hotKeyText(const QKeyEvent &event)
{
    const UsKeymap::Key key = UsKeymap::read(event);
    QString character;
    switch (key.arrow) {
    case UsKeymap::Arrow::Up:
        character = QStringLiteral("↑");
        break;
    case UsKeymap::Arrow::Down:
        character = QStringLiteral("↓");
        break;
    case UsKeymap::Arrow::Left:
        character = QStringLiteral("←");
        break;
    case UsKeymap::Arrow::Right:
        character = QStringLiteral("→");
        break;
    case UsKeymap::Arrow::None:
        character = key.text.toLower();
        break;
    }
    // One character only: dead keys, function keys and lone modifiers give
    // nothing to show.
    if (character.isEmpty() || character.toUcs4().size() != 1)
        return {};
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (mods & Qt::AltModifier)
        return QStringLiteral("alt + %1").arg(character);
    if (mods & Qt::ControlModifier)
        return QStringLiteral("ctrl + %1").arg(character);
    if (mods & Qt::ShiftModifier)
        return QStringLiteral("shift + %1").arg(character);
    return character;
}

bool TextViewForHotKey::event(QEvent *event)
{
    // Tab is a key like any other while capturing; it must not move focus.
    if (event->type() == QEvent::KeyPress && !disabled()) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return TextView::event(event);
}

void TextViewForHotKey::keyPressEvent(QKeyEvent *event)
{
    if (disabled()) {
        event->ignore();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        onCancel();
        if (eventEditingDone)
            eventEditingDone();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        onOK();
        if (eventEditingDone)
            eventEditingDone();
        return;
    default:
        break;
    }
    const QString text = hotKeyText(*event);
    if (text.isEmpty())
        return;
    m_hotKey = text;
    setText(text);
    setColors(palette().color(QPalette::Base), Qt::blue);
}

void TextViewForHotKey::onOK()
{
    const QString confirmed = m_hotKey;
    setValueOfHotKey(confirmed);
    if (eventValueChanged)
        eventValueChanged(confirmed);
}

void TextViewForHotKey::onCancel()
{
    m_hotKey = m_oldHotKey;
    setColors(palette().color(QPalette::Base), Qt::gray);
    setText(m_oldHotKey);
}

void TextViewForHotKey::focusInEvent(QFocusEvent *event)
{
    TextView::focusInEvent(event);
    if (!disabled())
        setColors(Qt::cyan, palette().color(QPalette::Text));
}

void TextViewForHotKey::focusOutEvent(QFocusEvent *event)
{
    TextView::focusOutEvent(event);
    if (!disabled()) {
        setColors(Qt::white, palette().color(QPalette::Text));
        onCancel();
    }
}
