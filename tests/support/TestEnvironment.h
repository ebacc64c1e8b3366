#pragma once
// What a test needs from the machine. A missing precondition fails the
// test: a skip would let a broken feature pass unseen. scripts/bootstrap
// installs every program named here.
#include <QGuiApplication>
#include <QStandardPaths>
#include <QString>

#include <gtest/gtest.h>

// True on the X server the test runner starts (xvfb-run).
inline bool onX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// The program's path; the test fails when it is not installed.
inline QString requiredProgram(const char *name)
{
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (path.isEmpty())
        ADD_FAILURE() << name << " is not installed (scripts/bootstrap installs it)";
    return path;
}
