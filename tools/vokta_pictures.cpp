// vokta-pictures: draws the game's pictures with the game's own renderer and
// writes them as PNG files: the start picture (the assembled cube with the
// title), the About pictures in English and Russian, each also at twice the
// size (NAME@2x.png) for screens of two device pixels to a logical one, and
// the icon in the sizes desktops use. Run with a display (or under xvfb-run):
//   vokta-pictures resources

#include <cstdio>

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "play/headless.h"
#include "puzzle/controller/game.h"
#include "puzzle/rules/solver.h"
#include "render/gl/picture_renderer.h"

namespace {

using namespace vokta;

constexpr QSize kStartSize{440, 282};
constexpr QSize kAboutSize{276, 312};
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 192, 256, 512};
// Device pixels to a logical one: the pictures as drawn, and twice as large.
constexpr int kScales[] = {1, 2};

// The game with the cube assembled in the middle of the floor, no figure,
// seen from camera; size is logical, the picture scale times as large, so
// that painting on it keeps to logical pixels.
QImage drawCube(PictureRenderer& renderer, const std::string& models, QSize size, int scale, Vec3 camera, Vec3 lookAt)
{
    const QSize pixels = size * scale;
    play::HeadlessGame headless(models, 1, pixels.width(), pixels.height());
    Game& game = headless.game();
    for (int i = 0; i < kPieceTotal; ++i) {
        const PiecePlace& place = kBuiltInSolution[static_cast<std::size_t>(i)];
        game.place(i, place.position, place.offsets, false);
    }
    game.setBuiltInTask(false);
    game.poseCamera(camera, lookAt - camera, {0, 0, 1});
    QImage picture = renderer.render(game.scene(), pixels);
    picture.setDevicePixelRatio(scale);
    return picture;
}

// Text with a dark outline, so it reads on any part of the picture.
void drawOutlined(QPainter& painter, QPointF at, const QString& text, const QFont& font, QColor fill)
{
    QPainterPath path;
    path.addText(at, font, text);
    painter.setPen(QPen(QColor(0, 40, 0), font.pixelSize() / 8.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(path);
}

QFont font(int pixels, int weight)
{
    QFont chosen(QStringLiteral("DejaVu Sans"));
    chosen.setPixelSize(pixels);
    chosen.setWeight(static_cast<QFont::Weight>(weight));
    return chosen;
}

QImage startPicture(PictureRenderer& renderer, const std::string& models, int scale)
{
    QImage picture = drawCube(renderer, models, kStartSize, scale, {60, 70, 80}, {-16, 2, 22});
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    drawOutlined(painter, {20, 62}, QStringLiteral("VOKTA"), font(54, QFont::Black), QColor(255, 236, 64));
    drawOutlined(painter, {22, 90}, QStringLiteral("seven pieces, one cube"), font(17, QFont::Bold), Qt::white);
    return picture;
}

QImage aboutPicture(PictureRenderer& renderer, const std::string& models, bool russian, int scale)
{
    QImage picture(kAboutSize * scale, QImage::Format_RGB32);
    picture.setDevicePixelRatio(scale);
    picture.fill(QColor(0, 127, 0));
    const QImage cube = drawCube(renderer, models, {kAboutSize.width(), 180}, scale, {72, 60, 66}, {0, 0, 6});
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawImage(0, 0, cube);
    painter.setPen(Qt::white);
    const QRect text(12, 182, kAboutSize.width() - 24, kAboutSize.height() - 190);
    const QStringList lines = russian
        ? QStringList{QStringLiteral("Вокта"), QStringLiteral("Версия " VOKTA_VERSION),
                      QStringLiteral("Объёмная головоломка из семи фигур"), QStringLiteral("© 2026 Разработчики Вокты")}
        : QStringList{QStringLiteral("Vokta"), QStringLiteral("Version " VOKTA_VERSION),
                      QStringLiteral("A 3D puzzle of seven pieces"), QStringLiteral("© 2026 The Vokta developers")};
    painter.setFont(font(30, QFont::Black));
    painter.setPen(QColor(255, 236, 64));
    painter.drawText(text.adjusted(0, 0, 0, -80), Qt::AlignHCenter | Qt::AlignTop, lines[0]);
    painter.setPen(Qt::white);
    painter.setFont(font(13, QFont::Bold));
    painter.drawText(text.adjusted(0, 40, 0, 0), Qt::AlignHCenter | Qt::AlignTop, lines[1]);
    painter.setFont(font(12, QFont::Normal));
    painter.drawText(text.adjusted(0, 62, 0, 0), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, lines[2]);
    painter.setFont(font(11, QFont::Normal));
    painter.drawText(text.adjusted(0, 100, 0, 0), Qt::AlignHCenter | Qt::AlignTop, lines[3]);
    return picture;
}

bool save(const QImage& image, const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (image.isNull() || !image.save(path)) {
        std::fprintf(stderr, "vokta-pictures: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr,
                     "usage: vokta-pictures RESOURCES\n"
                     "Draws the start and About pictures and the icons into RESOURCES/pictures and\n"
                     "RESOURCES/icons, with the model file and the scalable icon found in RESOURCES.\n");
        return 2;
    }
    const QDir resources(QString::fromLocal8Bit(argv[1]));
    const std::string models = resources.absolutePath().toStdString();
    PictureRenderer renderer;
    if (!renderer.create()) {
        std::fprintf(stderr, "vokta-pictures: %s\n", renderer.error().c_str());
        return 1;
    }
    bool written = true;
    for (const int scale : kScales) {
        const QString suffix = scale == 1 ? QStringLiteral(".png") : QStringLiteral("@%1x.png").arg(scale);
        const auto path = [&](const char* name) {
            return resources.filePath(QStringLiteral("pictures/") + QLatin1String(name) + suffix);
        };
        written = save(startPicture(renderer, models, scale), path("start")) && written;
        written = save(aboutPicture(renderer, models, false, scale), path("about-en")) && written;
        written = save(aboutPicture(renderer, models, true, scale), path("about-ru")) && written;
    }
    const QIcon scalable(resources.filePath(QStringLiteral("vokta.svg")));
    for (const int size : kIconSizes) {
        const QImage icon = scalable.pixmap(QSize(size, size)).toImage();
        written = save(icon, resources.filePath(QStringLiteral("icons/%1/vokta.png").arg(size))) && written;
    }
    return written ? 0 : 1;
}
