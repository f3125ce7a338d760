#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

// The program's settings from "fconn583.ini" in the current directory.
// A missing file or key gives the default, and an integer key holding
// anything but an integer falls back to its default, so a hand-edited file
// can never stop the program from starting. Reading never creates the file.
struct Configuration
{
    QPoint mainWindowPos;
    QPoint controlWindowPos;
    bool russian = false;

    QString passwordsFile;
    int numOfAttempts = 5;
    int numOfSeconds = 1800;

    bool supervisInfoFile = true;
    QString pathLocal;
    QString port = QStringLiteral("COM21");
    int analyseAtStart = 1;
    int monitorInterval = 10;
    int controlAvailable = 1;
    int debugLevel = 0;
    int writeParamPeriod = 1;  // minutes

    QStringList channelNames;

    bool notifications = true;  // desktop notifications from the tray icon
    // The metrics endpoint: port 0 keeps it off. Read only, never written.
    int metricsPort = 0;
    QString metricsAddress = QStringLiteral("127.0.0.1");

    static QString fileName() { return QStringLiteral("fconn583.ini"); }
    static Configuration read(const QString &file = fileName());

    // Only a position inside the screen's positive quadrant is restored.
    bool hasMainWindowPos() const { return mainWindowPos.x() > 0 && mainWindowPos.y() > 0; }
    // The parameter log period in ms; a period below one minute would make
    // the timer fire without pause, so it is raised to one minute; a period
    // longer than a timer can wait (about 24.8 days) is cut to that.
    int parameterLogIntervalMs() const;
};

// What the program stores when it exits.
struct ExitSettings
{
    QString port;
    int analyseAtStart = 1;
    QStringList channelNames;
    QPoint mainWindowPos;
    QPoint controlWindowPos;
    QString language;  // "RU", "EN", or empty: not written
    bool supervisInfoFile = true;

    void write(const QString &file = Configuration::fileName()) const;
};
