#pragma once
// The host's command line.

#include <QString>
#include <QStringList>

namespace tesmo {

struct HostOptions {
    QString dataPath;
    QString identifier;
    QString modulePath; // empty: the module next to the program
    int startScreen = 0; // 0: where the return was left
    int left = 40;
    int top = 40;
    int width = 800;
    int height = 600;
    bool maximised = false;
    bool minimised = false;
    bool help = false;
};

// Reads arguments 1 to the last. The module's own words TECHMODE and /V may stand anywhere and
// are skipped. False with a one-line reason on bad input.
bool ParseHostOptions(const QStringList& arguments, HostOptions& options, QString& error);

QString HostUsage();

} // namespace tesmo
