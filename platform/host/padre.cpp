#include "platform/host/padre.h"

#include "platform/core/error.h"

#include <QMetaProperty>

namespace qmx44::host {

Padre::Padre(QObject *parent) : QObject(parent) {}

bool Padre::hasMember(const QString &nombre) const
{
    const QByteArray name = nombre.toUtf8();
    return dynamicPropertyNames().contains(name) || metaObject()->indexOfProperty(name.constData()) >= 0;
}

QVariant Padre::member(const QString &nombre) const
{
    if (!hasMember(nombre))
        throw RuntimeError(QStringLiteral("El objeto no admite esta propiedad o método: %1").arg(nombre));
    return property(nombre.toUtf8().constData());
}

void Padre::setMember(const QString &nombre, const QVariant &valor)
{
    setProperty(nombre.toUtf8().constData(), valor);
}

void Padre::close()
{
    if (m_closed)
        return;
    m_closed = true;
    emit closed();
}

} // namespace qmx44::host
