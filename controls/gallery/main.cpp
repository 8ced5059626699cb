// control_gallery [--screenshot FILE]: shows the interview controls; with --screenshot it
// renders the window to a PNG file and exits.

#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

#include "controls/font_map.h"
#include "controls/gallery/control_gallery.h"
#include "controls/qt_dialogs.h"
#include "store/dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("control_gallery");
    cgt::InstallFontSubstitutions();
    QApplication::setFont(cgt::DefaultControlFont());
    cgt::SetDialogService(&cgt::QtDialogs());

    QCommandLineParser parser;
    parser.setApplicationDescription("The interview controls in the settings the screens use.");
    parser.addHelpOption();
    QCommandLineOption screenshot("screenshot", "Render the window to FILE (PNG) and exit.",
                                  "FILE");
    parser.addOption(screenshot);
    parser.process(app);

    ControlGallery gallery;
    gallery.show();
    if (!parser.isSet(screenshot)) return app.exec();

    // Let the window lay out and paint once before it is grabbed.
    int status = 0;
    QTimer::singleShot(100, [&] {
        const QString file = parser.value(screenshot);
        if (!gallery.grab().save(file, "PNG")) {
            std::fprintf(stderr, "control_gallery: cannot write %s\n", qPrintable(file));
            status = 2;
        }
        app.quit();
    });
    app.exec();
    cgt::SetDialogService(nullptr);
    return status;
}
