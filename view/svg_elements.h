#pragma once

// The shapes of a drawing, for QML: where an element of an SVG lies, so that a page places its
// markers on the parts of a picture (the mouse's buttons) instead of at pixels typed by hand.

#include <QObject>
#include <QRectF>
#include <QUrl>

class QSvgRenderer;

// The file a QML source names, as QSvgRenderer opens it (":/x" for "qrc:/x").
QString svgFilePath(const QUrl &url);

class SvgElements : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QUrl source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(QRectF viewBox READ viewBox NOTIFY sourceChanged)
    Q_PROPERTY(bool valid READ valid NOTIFY sourceChanged)

public:
    explicit SvgElements(QObject *parent = nullptr);
    ~SvgElements() override;

    // Makes the type available to QML as `SvgElements` in "TK700.Artwork" 1.0.
    static void registerQmlType();

    QUrl source() const { return source_; }
    void setSource(const QUrl &source);
    QRectF viewBox() const;
    bool valid() const;

    // The bounds of the element with `id`, in the drawing's view-box units, with the transforms
    // of the element and its groups applied; an empty rectangle when there is no such element.
    Q_INVOKABLE QRectF bounds(const QString &id) const;
    Q_INVOKABLE bool contains(const QString &id) const;

signals:
    void sourceChanged();

private:
    QUrl source_;
    QSvgRenderer *renderer;
};
