#pragma once
// The arrow keys of the pages that steer the camera (auto-scroll range,
// distance view direction): a press moves the camera until the release.
// These pages send Left 3, Right 2, Down 0, Up 1 (the reverse of the camera
// hot keys for the same names) and the stop (0x0A) when any arrow is let go.
// Automatic repeats send nothing.
#include <QSet>

class AppContext;
class QKeyEvent;

class CameraMoveKeys
{
public:
    explicit CameraMoveKeys(AppContext &context) : m_context(context) {}

    // True when the event was one of the four arrows (and was handled).
    bool keyPressed(const QKeyEvent *event);
    bool keyReleased(const QKeyEvent *event);

    // A page that closes while an arrow is still held stops the camera
    // first: the release would reach no page.
    void stopIfMoving();

private:
    void stop();

    AppContext &m_context;
    QSet<int> m_held;
};
