// Vendral: the game in a desktop window. It takes no command-line options.
#include <QApplication>
#include <QIcon>

#include "core/game.h"
#include "screens/screens.h"
#include "ui/qt_platform.h"
#include "ui/widgets.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vendral"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vendral"));
    QApplication::setOrganizationDomain(QStringLiteral("vendral.org"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vendral.Vendral"));
    // Message boxes of the first screen's load step come while no screen is
    // shown yet; closing them must not end the game. Screens end it instead.
    QApplication::setQuitOnLastWindowClosed(false);

    vendral::QtPlatform platform;
    QApplication::setWindowIcon(QIcon(vendral::picturePixmap(QStringLiteral("icon"), QSize(256, 256), 1.0)));
    vendral::Game game(platform, vendral::allScreens());
    platform.attach(game);
    game.start();
    if (game.ended()) return 0;
    return QApplication::exec();
}
