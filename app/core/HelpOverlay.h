#pragma once
// The viewer's help: a large, readable overlay over the main window listing
// the hot keys armed right now in words ("Ctrl+Up: zoom in"), grouped by
// what they do, and the viewer's own keys. F1 (or Help) shows it; F1 or Esc
// closes it.
#include <QPair>
#include <QStringList>
#include <QWidget>

class QLabel;
class QHBoxLayout;

class HelpOverlay : public QWidget
{
    Q_OBJECT

public:
    explicit HelpOverlay(QWidget *window);

    // Fills the overlay from (action name, key words) pairs of the armed
    // hot keys, and shows it over the whole window.
    void showKeys(const QList<QPair<QString, QString>> &armed);
    // All the overlay's text, one line each.
    QString text() const;

    // The viewer's own keys, in words.
    static QStringList viewerKeyLines();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QHBoxLayout *m_columns = nullptr;
    QList<QLabel *> m_labels;
};
