#include "view/resource_font.h"

#include <QDebug>
#include <QFontDatabase>
#include <QHash>
#include <QResource>
#include <QtQml/qqml.h>

namespace {

// Registers the font once per program and gives its family; empty when it cannot be read.
QString familyOf(const QString &resourcePath)
{
    static QHash<QString, QString> registered;
    if (const auto found = registered.constFind(resourcePath); found != registered.cend())
        return *found;
    const QResource resource(resourcePath);
    QByteArray data;
    if (resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression)
        data = QByteArray::fromRawData(reinterpret_cast<const char *>(resource.data()),
                                       resource.size());
    else if (resource.isValid())
        data = resource.uncompressedData();
    const int id = data.isEmpty() ? -1 : QFontDatabase::addApplicationFontFromData(data);
    const QString family = QFontDatabase::applicationFontFamilies(id).value(0);
    if (family.isEmpty())
        qWarning() << "the font" << resourcePath << "could not be registered";
    registered.insert(resourcePath, family);
    return family;
}

} // namespace

ResourceFont::ResourceFont(QObject *parent) : QObject(parent) {}

void ResourceFont::registerQmlType()
{
    qmlRegisterType<ResourceFont>("TK700.Artwork", 1, 0, "ResourceFont");
}

void ResourceFont::setSource(const QString &source)
{
    if (source == source_)
        return;
    source_ = source;
    emit sourceChanged();
    const QString family = source.isEmpty() ? QString() : familyOf(source);
    if (family != name_) {
        name_ = family;
        emit nameChanged();
    }
}
