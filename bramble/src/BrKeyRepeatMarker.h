#pragma once
// Marks as automatic repeats the repeats that the X server sends as bare
// presses.
//
// The hot key back end asks XKB for detectable auto-repeat, so that a held
// key gives one press, repeated presses and one release, and never the
// release+press pairs that a held key otherwise sends. That flag belongs to
// the whole X connection, which is Qt's, and Qt tells repeats only by those
// pairs: without them every repeat reaches the windows as a new press
// (QKeyEvent::isAutoRepeat() false), and a page that moves the camera at a
// press and stops it at the release would send a move per repeat. Telling
// repeats by the pairs is no cure either: the two halves may reach Qt in two
// batches, and then a held key looks released and pressed again.
//
// So the back end reports every key press and release it sees in Qt's
// native event filter; a press of a key the server has not released since
// its last press is a repeat. When Qt then delivers that press (same key
// code, same server time) to a window, this filter hands the window a copy
// marked as a repeat instead, and everything downstream sees Qt's usual
// flag.
//
// Install it before BrKeyEventOrder, which must count the original event.
// Main thread only.
#include <QObject>

#include <cstdint>
#include <deque>
#include <set>
#include <utility>

class BrKeyRepeatMarker : public QObject
{
public:
    BrKeyRepeatMarker();
    ~BrKeyRepeatMarker() override;

    // Every press and release the server sends the application.
    void keyPressed(uint8_t keycode, uint32_t time);
    void keyReleased(uint8_t keycode);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::set<uint8_t> m_down;
    // Repeats seen natively, not yet delivered by Qt: key code, server time.
    std::deque<std::pair<uint8_t, uint32_t>> m_repeats;
};
