#include "gifencoder.h"
#include "pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace {

// Problems with `gif` as the encoding of `expected`: it must decode (with Qt's
// own GIF reader) into exactly the colours of every pixel we drew.
QStringList roundTripProblems(const QString &name, const QImage &expected, const QByteArray &gif)
{
    const QImage decoded = QImage::fromData(gif, "GIF");
    if (decoded.isNull())
        return {name + QStringLiteral(": does not read back as a GIF")};
    if (decoded.size() != expected.size())
        return {name + QStringLiteral(": reads back with another size")};
    const QImage got = decoded.convertToFormat(QImage::Format_RGB32);
    const QList<QRgb> table = expected.colorTable();
    int wrong = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if ((got.pixel(x, y) | 0xff000000) != (table[expected.pixelIndex(x, y)] | 0xff000000))
                ++wrong;
    if (wrong)
        return {name + QStringLiteral(": %1 pixels read back in another colour").arg(wrong)};
    return {};
}

// The encoder on pictures unlike ours: noise in 2, 16 and 256 colours (every
// code width, many dictionary resets) and odd sizes.
QStringList encoderProblems()
{
    QStringList problems;
    quint32 seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 16;
    };
    const struct
    {
        int width;
        int height;
        int colours;
    } cases[] = {{256, 256, 2}, {256, 256, 16}, {256, 256, 256},
                 {1, 1, 1},     {301, 7, 5},    {3, 200, 3}};
    for (const auto &c : cases) {
        QImage image(c.width, c.height, QImage::Format_Indexed8);
        QList<QRgb> table;
        for (int i = 0; i < c.colours; ++i)
            table.append(qRgb(i, 255 - i, (i * 37) & 0xff));
        image.setColorTable(table);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                image.scanLine(y)[x] = static_cast<uchar>(
                    // runs as well as noise, so long strings enter the dictionary
                    (x / 7 + y) % 3 == 0 ? 0 : next() % c.colours);
        const QString name = QStringLiteral("encoder test %1 x %2, %3 colours")
                                 .arg(c.width)
                                 .arg(c.height)
                                 .arg(c.colours);
        problems << roundTripProblems(name, image, GifEncoder::encode(image));
    }
    return problems;
}

struct Built
{
    FontPictureSpec picture;
    QByteArray gif;
};

// Every picture, encoded, with the problems found in building it.
QList<Built> buildAndVerify(QStringList &problems)
{
    problems << encoderProblems();
    QList<Built> out;
    for (FontPictureSpec &picture : Pictures::buildAll()) {
        QByteArray gif = GifEncoder::encode(picture.image);
        if (gif.isEmpty())
            problems << picture.path + QStringLiteral(": cannot be encoded");
        problems << Pictures::layoutProblems(picture);
        problems << roundTripProblems(picture.path, picture.image, gif);
        if (GifEncoder::encode(picture.image) != gif)
            problems << picture.path + QStringLiteral(": encodes differently twice");
        out.append({std::move(picture), std::move(gif)});
    }
    return out;
}

int write(const QDir &data, QTextStream &out, QTextStream &err)
{
    QStringList problems;
    const QList<Built> built = buildAndVerify(problems);
    if (!problems.isEmpty()) {
        for (const QString &p : problems)
            err << "fontgen: " << p << "\n";
        return 1;
    }
    for (const Built &b : built) {
        const QString path = data.filePath(b.picture.path);
        if (!QDir().mkpath(QFileInfo(path).path())) {
            err << "fontgen: cannot create the folder of " << path << "\n";
            return 1;
        }
        QSaveFile file(path);
        // Flushed and checked before the commit: a full disk must not pass for a write.
        if (!file.open(QIODevice::WriteOnly) || file.write(b.gif) != b.gif.size() ||
            !file.flush() || !file.commit()) {
            err << "fontgen: cannot write " << path << ": " << file.errorString() << "\n";
            return 1;
        }
    }
    out << "fontgen: wrote " << built.size() << " pictures below " << data.path() << "\n";
    return 0;
}

int check(const QDir &data, QTextStream &out, QTextStream &err)
{
    QStringList problems;
    const QList<Built> built = buildAndVerify(problems);
    for (const Built &b : built) {
        const QString path = data.filePath(b.picture.path);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            problems << path + QStringLiteral(": cannot be read");
            continue;
        }
        const QByteArray onDisk = file.readAll();
        if (onDisk != b.gif)
            problems << path + QStringLiteral(": differs from a fresh build (run fontgen)");
        problems << roundTripProblems(path, b.picture.image, onDisk);
    }
    for (const QString &p : problems)
        err << "fontgen: " << p << "\n";
    if (!problems.isEmpty())
        return 1;
    out << "fontgen: " << built.size() << " pictures below " << data.path()
        << " match a fresh build\n";
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const bool checkOnly = !args.isEmpty() && args.first() == QLatin1String("--check");
    if (checkOnly)
        args.removeFirst();
    if (args.size() != 1 || args.first().startsWith(QLatin1Char('-'))) {
        err << "usage: fontgen [--check] DATA_FOLDER\n"
               "  writes the thirteen font pictures below DATA_FOLDER; with --check,\n"
               "  compares the files there with a fresh build and exits 1 on a difference\n";
        return 2;
    }
    const QDir data(args.first());
    return checkOnly ? check(data, out, err) : write(data, out, err);
}
