#pragma once

// A font kept in the program's resources, registered with the font database from the
// resource's own memory. The resource is stored uncompressed, so the font is neither copied
// when it is registered nor read again when the first text is laid out in it: a font loaded
// from a resource path is held twice on the heap.

#include <QObject>
#include <QString>

class ResourceFont : public QObject
{
    Q_OBJECT
    // A resource path (":/..."); empty registers nothing.
    Q_PROPERTY(QString source READ source WRITE setSource NOTIFY sourceChanged)
    // The registered font's family; empty until registered, and when it could not be.
    Q_PROPERTY(QString name READ name NOTIFY nameChanged)

public:
    explicit ResourceFont(QObject *parent = nullptr);

    // Makes the type available to QML as `ResourceFont` in "TK700.Artwork" 1.0.
    static void registerQmlType();

    QString source() const { return source_; }
    void setSource(const QString &source);
    QString name() const { return name_; }

signals:
    void sourceChanged();
    void nameChanged();

private:
    QString source_;
    QString name_;
};
