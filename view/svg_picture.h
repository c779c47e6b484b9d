#pragma once

// A drawing painted straight into the window's frame whenever its part of the window is
// repainted, never kept as a bitmap. The window uses the software scene graph, where an Image
// holds its picture rasterised at the size shown: for the few large drawings that is most of the
// window's image memory, while painting them again costs a fraction of a millisecond.

#include <QQuickItem>
#include <QUrl>

#include <memory>

class QSvgRenderer;

class SvgPicture : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(QUrl source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(bool valid READ valid NOTIFY sourceChanged)

public:
    explicit SvgPicture(QQuickItem *parent = nullptr);
    ~SvgPicture() override;

    // Makes the type available to QML as `SvgPicture` in "TK700.Artwork" 1.0.
    static void registerQmlType();

    QUrl source() const { return source_; }
    void setSource(const QUrl &source);
    bool valid() const;

signals:
    void sourceChanged();

protected:
    QSGNode *updatePaintNode(QSGNode *old, UpdatePaintNodeData *) override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    QUrl source_;
    // Shared with the node that paints it; null while there is no drawing.
    std::shared_ptr<QSvgRenderer> renderer;
};
