#include "view/svg_picture.h"

#include "view/svg_elements.h"

#include <QDebug>
#include <QPainter>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QImage>
#include <QSGImageNode>
#include <QSGRenderNode>
#include <QSGRendererInterface>
#include <QSvgRenderer>

namespace
{

// Paints with the software renderer's painter, which it clips to the node's rectangle; the
// item's transform, opacity and clip are the node's to apply.
class SvgNode : public QSGRenderNode
{
public:
    explicit SvgNode(QQuickWindow *window) : window(window) {}

    void render(const RenderState *state) override
    {
        QSGRendererInterface *ri = window->rendererInterface();
        auto *painter = static_cast<QPainter *>(
            ri->getResource(window, QSGRendererInterface::PainterResource));
        if (!painter || !renderer)
            return;
        if (state->clipRegion())
            painter->setClipRegion(*state->clipRegion(), Qt::IntersectClip);
        painter->setTransform(matrix()->toTransform());
        painter->setOpacity(inheritedOpacity());
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        renderer->render(painter, bounds);
    }

    StateFlags changedStates() const override { return {}; }
    RenderingFlags flags() const override { return BoundedRectRendering; }
    QRectF rect() const override { return bounds; }

    QQuickWindow *window;
    std::shared_ptr<QSvgRenderer> renderer;
    QRectF bounds;
};

} // namespace

SvgPicture::SvgPicture(QQuickItem *parent) : QQuickItem(parent)
{
    setFlag(ItemHasContents);
}

SvgPicture::~SvgPicture() = default;

void SvgPicture::registerQmlType()
{
    qmlRegisterType<SvgPicture>("TK700.Artwork", 1, 0, "SvgPicture");
}

void SvgPicture::setSource(const QUrl &source)
{
    if (source == source_)
        return;
    source_ = source;
    renderer.reset();
    if (!source.isEmpty()) {
        auto loaded = std::make_shared<QSvgRenderer>();
        if (loaded->load(svgFilePath(source)))
            renderer = std::move(loaded);
        else
            qWarning().noquote() << "SvgPicture: cannot read" << source.toString();
    }
    update();
    emit sourceChanged();
}

bool SvgPicture::valid() const
{
    return renderer != nullptr;
}

QSGNode *SvgPicture::updatePaintNode(QSGNode *old, UpdatePaintNodeData *)
{
    if (!renderer || width() <= 0 || height() <= 0) {
        delete old;
        return nullptr;
    }
    const QRectF bounds(0, 0, width(), height());
    if (window()->rendererInterface()->graphicsApi() != QSGRendererInterface::Software) {
        // Other scene graphs (the tests' default one) get the drawing as a texture, as an Image.
        const qreal dpr = window()->effectiveDevicePixelRatio();
        QImage image((bounds.size() * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer->render(&painter);
        painter.end();
        delete old;
        QSGImageNode *node = window()->createImageNode();
        node->setTexture(window()->createTextureFromImage(image));
        node->setOwnsTexture(true);
        node->setRect(bounds);
        return node;
    }
    auto *node = static_cast<SvgNode *>(old);
    if (!node)
        node = new SvgNode(window());
    node->renderer = renderer;
    node->bounds = bounds;
    node->markDirty(QSGNode::DirtyMaterial);
    return node;
}

void SvgPicture::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        update();
}
