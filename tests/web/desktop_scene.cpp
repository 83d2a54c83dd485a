// The seeded start scene as the desktop draws it, written as a PNG file, so
// the browser test can compare the page's first frame with it: the game's
// scene drawer through the offscreen picture renderer, with one sample a
// pixel, as the game draws on a software renderer.
//
//   web_desktop_scene MODELS SEED WIDTH HEIGHT FILE

#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>

#include "play/headless.h"
#include "render/gl/picture_renderer.h"

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 6) {
        std::fprintf(stderr, "usage: web_desktop_scene MODELS SEED WIDTH HEIGHT FILE\n");
        return 2;
    }
    const int width = std::atoi(argv[3]);
    const int height = std::atoi(argv[4]);
    vokta::play::HeadlessGame headless(argv[1], static_cast<unsigned>(std::atol(argv[2])), width, height);
    vokta::PictureRenderer renderer;
    if (!renderer.create()) {
        std::fprintf(stderr, "web_desktop_scene: %s\n", renderer.error().c_str());
        return 1;
    }
    const QImage picture = renderer.render(headless.game().scene(), QSize(width, height), 0);
    return picture.save(QString::fromLocal8Bit(argv[5])) ? 0 : 1;
}
