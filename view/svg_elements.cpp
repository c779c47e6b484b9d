#include "view/svg_elements.h"

#include <QDebug>
#include <QQmlEngine>
#include <QSvgRenderer>
#include <QTransform>

QString svgFilePath(const QUrl &url)
{
    if (url.scheme() == QLatin1String("qrc"))
        return QLatin1Char(':') + url.path();
    return url.isLocalFile() ? url.toLocalFile() : url.toString();
}

SvgElements::SvgElements(QObject *parent) : QObject(parent), renderer(new QSvgRenderer(this)) {}

SvgElements::~SvgElements() = default;

void SvgElements::registerQmlType()
{
    qmlRegisterType<SvgElements>("TK700.Artwork", 1, 0, "SvgElements");
}

void SvgElements::setSource(const QUrl &source)
{
    if (source == source_)
        return;
    source_ = source;
    if (!renderer->load(svgFilePath(source)))
        qWarning().noquote() << "SvgElements: cannot read" << source.toString();
    emit sourceChanged();
}

QRectF SvgElements::viewBox() const
{
    return renderer->isValid() ? renderer->viewBoxF() : QRectF();
}

bool SvgElements::valid() const
{
    return renderer->isValid();
}

QRectF SvgElements::bounds(const QString &id) const
{
    if (!contains(id))
        return {};
    // boundsOnElement leaves out the transforms above the element.
    return renderer->transformForElement(id).mapRect(renderer->boundsOnElement(id));
}

bool SvgElements::contains(const QString &id) const
{
    return renderer->isValid() && renderer->elementExists(id);
}
