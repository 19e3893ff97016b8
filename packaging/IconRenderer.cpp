// Draws the program's icon into <folder>/<N>x<N>/apps/quorin.png for each size given,
// the layout of the icon theme's hicolor folder. Run by the build for the package.
#include "resources/Artwork.h"

#include <QDir>
#include <QImage>

#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: quorin_icons <folder> <size>...\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::stoi(argv[i]);
        const QString sub = QStringLiteral("%1x%1/apps").arg(size);
        const QString file = folder + QLatin1Char('/') + sub + QStringLiteral("/quorin.png");
        if (!QDir(folder).mkpath(sub) || !res::ApplicationIcon(size).save(file, "PNG")) {
            std::cerr << "quorin_icons: cannot write " << file.toStdString() << "\n";
            return 1;
        }
    }
    return 0;
}
