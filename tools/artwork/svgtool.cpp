// The artwork helper: renders the project's SVG drawings with Qt's own renderer, the one the
// program uses, so that what is reviewed is what users see.
//   tk700-svgtool png <in.svg> <out.png> <width> [height]   one picture
//   tk700-svgtool ico <in.svg> <out.ico>                    the tray icon, 16 ... 256 pixels
//   tk700-svgtool sheet <out.png> <in.svg>...               a contact sheet at 1x and 2x

#include <QBuffer>
#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace
{

QImage render(const QString &path, QSize size)
{
    QSvgRenderer svg(path);
    if (!svg.isValid())
        return {};
    if (size.height() <= 0) {
        const QSizeF natural = svg.defaultSize();
        size.setHeight(qRound(size.width() * natural.height() / natural.width()));
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    return image;
}

// One icon entry as a 32-bit DIB: BITMAPINFOHEADER with double height, bottom-up BGRA rows,
// then the 1-bit AND mask (all zero: the alpha channel decides).
QByteArray dibEntry(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s << quint32(40) << qint32(w) << qint32(2 * h) << quint16(1) << quint16(32) << quint32(0)
      << quint32(0) << qint32(0) << qint32(0) << quint32(0) << quint32(0);
    for (int y = h - 1; y >= 0; --y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            s << quint8(qBlue(row[x])) << quint8(qGreen(row[x])) << quint8(qRed(row[x]))
              << quint8(qAlpha(row[x]));
    }
    const int maskStride = ((w + 31) / 32) * 4;
    for (int y = 0; y < h; ++y)
        for (int i = 0; i < maskStride; ++i)
            s << quint8(0);
    return out;
}

QByteArray pngEntry(const QImage &image)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return out;
}

bool writeIco(const QString &svgPath, const QString &out)
{
    const QList<int> sizes{16, 20, 24, 32, 40, 48, 64, 128, 256};
    QList<QByteArray> entries;
    for (int size : sizes) {
        const QImage image = render(svgPath, QSize(size, size));
        if (image.isNull())
            return false;
        // Large sizes as PNG, the way icon files keep them small.
        entries << (size >= 128 ? pngEntry(image) : dibEntry(image));
    }
    QByteArray ico;
    QDataStream s(&ico, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s << quint16(0) << quint16(1) << quint16(sizes.size());
    quint32 offset = 6 + 16 * sizes.size();
    for (int i = 0; i < sizes.size(); ++i) {
        const int size = sizes[i];
        s << quint8(size >= 256 ? 0 : size) << quint8(size >= 256 ? 0 : size) << quint8(0)
          << quint8(0) << quint16(1) << quint16(32) << quint32(entries[i].size()) << offset;
        offset += entries[i].size();
    }
    for (const QByteArray &entry : entries)
        ico += entry;
    QFile file(out + ".tmp");
    if (!file.open(QIODevice::WriteOnly) || file.write(ico) != ico.size())
        return false;
    file.close();
    QFile::remove(out);
    return file.rename(out);
}

bool writeSheet(const QString &out, const QStringList &inputs)
{
    const QSize cell(460, 320);
    const int columns = 3;
    const int rows = (int(inputs.size()) + columns - 1) / columns;
    QImage sheet(columns * cell.width(), rows * cell.height(), QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor("#0e1013"));
    QPainter painter(&sheet);
    for (int i = 0; i < inputs.size(); ++i) {
        const QPoint at((i % columns) * cell.width() + 6, (i / columns) * cell.height() + 6);
        const QSizeF natural = QSvgRenderer(inputs[i]).defaultSize();
        // 1x (smaller when the drawing is large) and 2x beside it.
        const qreal k = qMin(1.0, 140.0 / qMax(natural.width(), natural.height()));
        const QImage one = render(inputs[i], (natural * k).toSize());
        const QImage two = render(inputs[i], (natural * 2 * k).toSize());
        painter.drawImage(at, one);
        painter.drawImage(at + QPoint(one.width() + 10, 0), two);
        painter.setPen(QColor("#969696"));
        painter.drawText(QRect(at.x(), at.y(), cell.width() - 12, cell.height() - 10),
                         Qt::AlignBottom | Qt::AlignLeft, QFileInfo(inputs[i]).fileName());
    }
    painter.end();
    return sheet.save(out);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    bool ok = false;
    if (args.size() >= 4 && args[0] == "png") {
        const QImage image =
            render(args[1], QSize(args[3].toInt(), args.size() > 4 ? args[4].toInt() : 0));
        ok = !image.isNull() && image.save(args[2]);
    } else if (args.size() == 3 && args[0] == "ico") {
        ok = writeIco(args[1], args[2]);
    } else if (args.size() >= 3 && args[0] == "sheet") {
        ok = writeSheet(args[1], args.mid(2));
    } else {
        std::fputs("usage: tk700-svgtool png <in.svg> <out.png> <width> [height]\n"
                   "       tk700-svgtool ico <in.svg> <out.ico>\n"
                   "       tk700-svgtool sheet <out.png> <in.svg>...\n",
                   stderr);
        return 2;
    }
    if (!ok)
        std::fputs("tk700-svgtool: failed\n", stderr);
    return ok ? 0 : 1;
}
